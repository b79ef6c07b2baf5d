// talvikcfg: the TALVIK network configurator.
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "TfrMain.h"
#include "app_texts.h"
#include "app_identity.h"
#include "app_windows.h"
#include "command_line.h"
#include "quit_on_signal.h"
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

int answerOnTerminal(CommandLine::Action action, const QString &error = {}) {
    if (action == CommandLine::Action::Error) {
        std::fprintf(stderr, "talvikcfg: %s\nСправка: talvikcfg --help\n", error.toLocal8Bit().constData());
        return 2;
    }
    const QString text = action == CommandLine::Action::Help ? CommandLineHelp() : CommandLineVersion();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}
} // namespace

int main(int argc, char **argv) {
    // Answered before the display is opened: these work on a terminal without one.
    if (const auto early = EarlyCommandLineAction(argc, argv); early != CommandLine::Action::Run)
        return answerOnTerminal(early);
    GuardedApplication app(argc, argv);
    const CommandLine cl = ParseCommandLine(app.arguments());
    if (cl.action != CommandLine::Action::Run)
        return answerOnTerminal(cl.action, cl.error);
    SetUpAppIdentity(app);
    InstallRussianTranslations(app);
    AppWindows windows = CreateAppWindows();
    TfrMain &main = *windows.main;
    if (QScreen *screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    main.show();
    CloseOnTerminationSignals(main);
    // A project named on the command line (a double-click in the file manager) opens once the
    // window is up, so an error about the file appears over it.
    if (!cl.projectFile.isEmpty())
        QTimer::singleShot(0, &main, [&main, file = cl.projectFile] { main.LoadProject(file); });
    const int rc = app.exec();
    main.FormDestroy();
    return rc;
}
