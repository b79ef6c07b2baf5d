// Shows the main window with a small demo project and a selected node, then saves
// what the display server shows of it as a PNG. Run under a real X server (Xvfb):
//   xvfb-run -s "-screen 0 1024x1000x24" app_screenshot docs/main-window.png [node text]
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>

#include "TfrMain.h"
#include "app_paths.h"
#include "app_windows.h"
#include "temp_dir.h"
#include "project_file.h"
#include "text_utils.h"
#include <memory>

namespace {
// Opens a file through the window's own open command, as a user would.
class OpenOnly : public Dialogs {
public:
    explicit OpenOnly(QString path) : m_path(std::move(path)) {}
    bool askYesNo(const QString &, const QString &) override { return false; }
    void information(const QString &, const QString &) override {}
    void error(const QString &, const QString &) override {}
    QString inputValue(const QString &, const QString &) override { return QStringLiteral("INPUTVAL_CANCEL"); }
    QString openFileName(const QString &) override { return m_path; }
    QString saveFileName(const QString &) override { return QString(); }

private:
    QString m_path;
};

void demoProject(Project &p) {
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
} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    InstallRussianTranslations(app);
    TempDir settings; // the user's own settings file is never touched
    SetSettingsDirOverride(settings.path());
    AppWindows w = CreateAppWindows();
    TfrMain &main = *w.main;
    auto demo = std::make_unique<Project>();
    demoProject(*demo);
    const std::string file = (settings.path() / "sever.cfg").string();
    std::string error;
    if (!SaveProjectFile(*demo, file, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    OpenOnly opener(QString::fromStdString(file));
    main.SetDialogs(&opener);
    main.miLoadClick();
    main.LogInfo(QStringLiteral("Файл конфигурации записан"));
    // The node to select: "БС:238" unless another is named after the file.
    const QString nodeText = argc > 2 ? QString::fromUtf8(argv[2]) : QStringLiteral("БС:238");
    main.ExpandNodeByText(QStringLiteral("БС:238"));
    auto *tree = main.findChild<QTreeWidget *>("tvNetwork");
    const auto found = tree->findItems(nodeText, Qt::MatchExactly | Qt::MatchRecursive);
    if (!found.isEmpty())
        main.tvNetworkClick(found.first());
    main.move(0, 0);
    main.show();
    const QString out = QString::fromLocal8Bit(argv[1]);
    int rc = 1;
    QTimer::singleShot(1500, [&] {
        QPixmap shot = main.screen()->grabWindow(main.winId());
        rc = shot.save(out, "PNG") ? 0 : 1;
        main.FormDestroy();
        app.quit();
    });
    app.exec();
    return rc;
}
