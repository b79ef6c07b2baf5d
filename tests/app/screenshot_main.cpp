// Takes the documentation's screenshots: the main window with a project and a BC selected
// (main-window.png), and the PD of the demo network read back beside the project (read-pd.png).
// The demo network runs in-process on a pseudo-terminal, as the simulator does.
// Run by scripts/screenshots.sh under Xvfb and a window manager, so windows have their frames:
//   app_screenshot OUT_DIR [PROJECT_DIR]
// PROJECT_DIR holds the project files the windows show in their footer: give a neutral one.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <memory>

#include "Dialogs.h"
#include "TfrMain.h"
#include "app_identity.h"
#include "app_paths.h"
#include "app_windows.h"
#include "port_names.h"
#include "project_file.h"
#include "sim_demo.h"
#include "sim_line.h"
#include "sim_network.h"
#include "sim_port.h"
#include "temp_dir.h"
#include "text_utils.h"

namespace fs = std::filesystem;

namespace {
// No question is expected; a message means the scene is wrong.
class NoQuestions : public Dialogs {
public:
    bool askYesNo(const QString &, const QString &text) override { return complain(text), false; }
    void information(const QString &, const QString &text) override { complain(text); }
    void error(const QString &, const QString &text) override { complain(text); }
    QString inputValue(const QString &, const QString &) override { return QStringLiteral("INPUTVAL_CANCEL"); }
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }
    bool failed = false;

private:
    void complain(const QString &text) {
        std::fprintf(stderr, "app_screenshot: unexpected message: %s\n", text.toUtf8().constData());
        failed = true;
    }
};

void severProject(Project &p) {
    ResetProject(p);
    CopyTextUtf8(p.settings.nam, sizeof p.settings.nam, "Бизнес-центр «Север»");
    const int bcs[] = {238, 239, 241};
    int zone = 101;
    for (int adr : bcs) {
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = uint8_t(adr);
        CopyTextUtf8(bc.nam, sizeof bc.nam, adr == 238 ? "Этаж 1 (щитовая)" : "Этаж 2");
        AppendBcUnit(p, bc);
        for (int prt = 1; prt <= (adr == 238 ? 4 : 2); ++prt) {
            AlLine al;
            InitZoneRecord(al);
            al.adr = uint8_t(adr);
            al.prt = uint8_t(prt);
            al.num = uint16_t(zone++);
            CopyTextUtf8(al.nam, sizeof al.nam, "Вызывная панель");
            AppendAlLine(p, al);
        }
    }
}

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void select(TfrMain &main, const QString &nodeText) {
    auto *tree = main.findChild<QTreeWidget *>("tvNetwork");
    const auto found = tree->findItems(nodeText, Qt::MatchExactly | Qt::MatchRecursive);
    if (!found.isEmpty())
        main.tvNetworkClick(found.first());
}

// What the screen shows of these windows, frames included.
bool grab(const QList<QWidget *> &windows, const QString &out) {
    QRect area;
    for (QWidget *w : windows)
        area |= w->frameGeometry();
    QPixmap shot = windows.first()->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool ok = shot.save(out, "PNG");
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "cannot write", qPrintable(out), area.width(), area.height());
    return ok;
}

bool saveProject(const Project &p, const fs::path &file) {
    std::string error;
    if (SaveProjectFile(p, file.string(), error))
        return true;
    std::fprintf(stderr, "app_screenshot: %s: %s\n", file.c_str(), error.c_str());
    return false;
}
} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR [PROJECT_DIR]\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    SetUpAppIdentity(app);
    InstallRussianTranslations(app);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    TempDir scratch; // settings, COM link and device disks: the user's own are never touched
    const fs::path projectDir = argc > 2 ? fs::path(argv[2]) : scratch.path();
    SetSettingsDirOverride(scratch.path());

    // The demo network on a pseudo-terminal, registered as the COM number the program opens.
    std::string error;
    std::unique_ptr<SimPort> simPort = SimPort::OpenPty(error);
    if (!simPort) {
        std::fprintf(stderr, "app_screenshot: %s\n", error.c_str());
        return 1;
    }
    const int com = RegisterComLink(PortsDir(), simPort->path());
    {
        QSettings ini(QString::fromStdString((scratch / "talvikcfg.ini").string()), QSettings::IniFormat);
        ini.setValue("COM/Number", com);
        ini.setValue("COM/Speed", 115200);
    }
    SimConfig config;
    config.filesDir = scratch / "devices";
    SimNetwork net(MakeDemoProject(), config);
    LineSettings lineSettings;
    lineSettings.baud = 115200;
    SimLine line(net, *simPort, lineSettings, FaultSettings{});
    line.start();

    AppWindows w = CreateAppWindows();
    TfrMain &main = *w.main;
    NoQuestions dialogs;
    main.SetDialogs(&dialogs);
    int rc = 0;

    auto sever = std::make_unique<Project>();
    severProject(*sever);
    const fs::path severFile = projectDir / "sever.cfg";
    if (!saveProject(*sever, severFile) || !main.LoadProject(QString::fromStdString(severFile.string())))
        return 1;
    main.LogInfo(QStringLiteral("Файл конфигурации записан"));
    main.ExpandNodeByText(QStringLiteral("БС:238"));
    select(main, QStringLiteral("БС:238"));
    main.move(24, 24);
    main.show();
    main.activateWindow(); // its title bar as the user's window has it, not greyed out
    settle(1500);
    rc |= grab({&main}, outDir + "/main-window.png") ? 0 : 1;

    // The demo network's project, as the README's run command opens it, and its PD read back.
    const fs::path demoFile = projectDir / "demo-network.cfg";
    if (!saveProject(*MakeDemoProject(), demoFile) || !main.LoadProject(QString::fromStdString(demoFile.string())))
        return 1;
    select(main, QStringLiteral("ПД:250"));
    main.findChild<QPushButton *>("bdReadCom")->click();
    QWidget *readPd = main.findChild<QWidget *>("TfrReadParams");
    QElapsedTimer waited;
    waited.start();
    while (readPd && !readPd->isVisible() && waited.elapsed() < 15000)
        settle(50);
    if (!readPd || !readPd->isVisible()) {
        std::fprintf(stderr, "app_screenshot: the PD did not answer\n");
        rc = 1;
    } else {
        settle(1500);
        rc |= grab({&main, readPd}, outDir + "/read-pd.png") ? 0 : 1;
    }

    main.FormDestroy();
    line.stop();
    return rc | (dialogs.failed ? 1 : 0);
}
