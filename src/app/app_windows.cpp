#include "app_windows.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "TfrAlDop.h"
#include "TfrInputVal.h"
#include "TfrMain.h"
#include "TfrPdDop.h"
#include "filemanager/tfr_file_manager.h"
#include "main_window_view.h"
#include "network_check/tfr_network_check.h"
#include "notify/tfr_notifys.h"
#include "tfr_com_setting.h"
#include "tfr_read_params.h"
#include "tfr_read_params_bc.h"
#include "tfr_read_params_notify.h"
#include "tfr_read_params_zone.h"

// The tool windows that come later (file manager, scanner, voltages, scenario editor,
// file selection) take their places in this order between the ones made here.
AppWindows CreateAppWindows(const ProtocolTimings &timings) {
    AppWindows w;
    w.main = std::make_unique<TfrMain>(timings);
    TfrMain *owner = w.main.get();
    w.inputVal = new TfrInputVal(owner);
    w.comSetting = new TfrComSetting(owner);
    w.readParams = new TfrReadParams(owner);
    w.fileManager = new TfrFileManager(*owner, timings);
    owner->AttachFileManager(w.fileManager);
    w.pdDop = new TfrPdDop(*owner);
    w.alDop = new TfrAlDop(*owner);
    w.readParamsBc = new TfrReadParamsBc(owner);
    w.readParamsZone = new TfrReadParamsZone(owner);
    w.notifys = new TfrNotifys(*owner);
    w.main->AttachNotifyEditor(w.notifys);
    w.readParamsNotify = new TfrReadParamsNotify(owner);
    // Not a window of the original set: it comes after all of them.
    w.networkCheck = new TfrNetworkCheck(*owner);
    w.main->AttachNetworkCheck(w.networkCheck);
    w.main->AttachWindows(w.inputVal, w.pdDop, w.alDop);
    w.main->AttachReadBackWindows({w.readParams, w.readParamsBc, w.readParamsZone, w.readParamsNotify}, w.comSetting);
    return w;
}

bool InstallRussianTranslations(QCoreApplication &app) {
    auto *translator = new QTranslator(&app);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ru"), dir) &&
        !translator->load(QStringLiteral("qtbase_ru"), QStringLiteral("/usr/share/qt6/translations"))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}
