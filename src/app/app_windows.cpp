#include "app_windows.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "TfrAlDop.h"
#include "TfrInputVal.h"
#include "TfrMain.h"
#include "TfrPdDop.h"

AppWindows CreateAppWindows() {
    AppWindows w;
    w.main = std::make_unique<TfrMain>();
    w.inputVal = new TfrInputVal(w.main.get());
    w.pdDop = new TfrPdDop(*w.main);
    w.alDop = new TfrAlDop(*w.main);
    w.main->AttachWindows(w.inputVal, w.pdDop, w.alDop);
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
