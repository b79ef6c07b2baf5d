// talvikcfg: the TALVIK network configurator.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "TfrMain.h"
#include "app_texts.h"
#include "app_windows.h"
#include "version_stamp.h"

TALVIK_EMBED_VERSION(TALVIK_VERSION_MAJOR, TALVIK_VERSION_MINOR, TALVIK_VERSION_PATCH, TALVIK_VERSION_TWEAK)

namespace {
// An error that escapes a handler is shown, and the program goes on.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle), QString::fromLocal8Bit(e.what()));
        }
        return false;
    }
};
} // namespace

int main(int argc, char **argv) {
    GuardedApplication app(argc, argv);
    InstallRussianTranslations(app);
    AppWindows windows = CreateAppWindows();
    TfrMain &main = *windows.main;
    if (QScreen *screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    main.show();
    const int rc = app.exec();
    main.FormDestroy();
    return rc;
}
