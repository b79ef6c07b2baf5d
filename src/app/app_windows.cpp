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
#include "scanner/tfr_scan.h"
#include "network_write/network_write_tool.h"
#include "network_write/tfr_inpu_file.h"
#include "network_write/tfr_select.h"
#include "progress_window.h"
#include "network_check/tfr_network_check.h"
#include "notify/tfr_notifys.h"
#include "tfr_com_setting.h"
#include "tfr_read_params.h"
#include "tfr_read_params_bc.h"
#include "tfr_read_params_notify.h"
#include "tfr_read_params_zone.h"
#include "voltage/tfr_voltage.h"
#include "voltage/tfr_voltage_al.h"
#include "voltage/tfr_voltage_bc.h"

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
    w.scan = new TfrScan(*owner);
    w.voltage = new TfrVoltage(*owner);
    w.inpuFile = new TfrInpuFile(owner);
    w.pdDop = new TfrPdDop(*owner);
    w.alDop = new TfrAlDop(*owner);
    w.readParamsBc = new TfrReadParamsBc(owner);
    w.readParamsZone = new TfrReadParamsZone(owner);
    w.voltageBc = new TfrVoltageBc(*owner);
    w.voltageAl = new TfrVoltageAl(*owner);
    w.notifys = new TfrNotifys(*owner);
    w.main->AttachNotifyEditor(w.notifys);
    w.readParamsNotify = new TfrReadParamsNotify(owner);
    w.select = new TfrSelect(owner);
    // Writing the network into the devices: its progress window and the tool itself.
    w.saveProgress = new TfrProgress(owner);
    w.inpuFile->SetPickFile([owner](const QString &filter) { return owner->dialogs().openFileName(filter); });
    w.networkWrite = new NetworkWriteTool(*owner, w.inpuFile, w.select, w.saveProgress);
    w.main->AttachNetworkWrite(w.networkWrite);
    // Not a window of the original set: it comes after all of them.
    w.networkCheck = new TfrNetworkCheck(*owner);
    w.main->AttachNetworkCheck(w.networkCheck);
    w.main->AttachWindows(w.inputVal, w.pdDop, w.alDop);
    w.main->AttachReadBackWindows({w.readParams, w.readParamsBc, w.readParamsZone, w.readParamsNotify}, w.comSetting);
    w.main->AttachScanVoltageWindows({w.scan, w.voltage, w.voltageBc, w.voltageAl});
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
