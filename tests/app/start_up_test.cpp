// Start-up from the command line: a project named there opens as "Загрузить проект" opens it,
// and --help / --version answer on the terminal without a display.
#include "app_fixture.h"

#include <QDeadlineTimer>
#include <QLabel>
#include <QProcess>
#include <fstream>
#include <functional>
#include <tuple>

namespace {
namespace fs = std::filesystem;
using Kind = ScriptedDialogs::Kind;

// What the user saw and what became of the project after one open.
struct Outcome {
    std::vector<std::tuple<int, QString, QString>> asked;
    bool open = false;
    int bcCount = 0;
    QString footer;
};

class StartUpOpen : public AppFixture {
protected:
    QString write(const std::string &name, const std::string &bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return QString::fromStdString((m_dir / name).string());
    }
    // A fresh set of windows, with a modified project when asked, then `open` runs.
    Outcome run(bool modifiedProject, const std::function<void()> &open) {
        m_windows = {};
        m_windows = CreateAppWindows();
        main().SetDialogs(&m_dialogs);
        if (modifiedProject)
            newProject("Несохранённый");
        m_dialogs.clearAsked();
        open();
        EXPECT_TRUE(m_dialogs.scriptDone());
        Outcome o;
        for (const auto &a : m_dialogs.asked())
            if (a.kind != Kind::OpenFile)
                o.asked.emplace_back(int(a.kind), a.caption, a.text);
        o.open = main().IsProjectOpen();
        o.bcCount = project().bcCount;
        o.footer = find<QLabel>("pnFooter")->text();
        return o;
    }
};

TEST_F(StartUpOpen, SameQuestionsMessagesAndResultAsTheOpenCommand) {
    std::string big = "setting:{adr:250}\r\n";
    for (int i = 0; i < 258; ++i)
        big += "device:{adr:238}\r\n";
    struct Case {
        const char *what;
        QString path;
        bool modified;
        bool opens;
    } cases[] = {
        {"a project", write("net.cfg", "setting:{adr:250}\r\ndevice:{adr:238}\r\n"), false, true},
        {"a project over a modified one", write("net2.cfg", "setting:{adr:251}\r\n"), true, true},
        {"a missing file", QString::fromStdString((m_dir / "missing.cfg").string()), false, false},
        {"more records than a project holds", write("big.cfg", big), false, true},
    };
    for (const Case &c : cases) {
        const Outcome byMenu = run(c.modified, [&] {
            m_dialogs.openFile(c.path);
            if (c.modified)
                m_dialogs.no(); // "Сохранить изменения ?"
            main().miLoadClick();
        });
        const Outcome byCommandLine = run(c.modified, [&] {
            if (c.modified)
                m_dialogs.no();
            main().LoadProject(c.path);
        });
        EXPECT_EQ(byCommandLine.asked, byMenu.asked) << c.what;
        EXPECT_EQ(byCommandLine.open, c.opens) << c.what;
        EXPECT_EQ(byCommandLine.open, byMenu.open) << c.what;
        EXPECT_EQ(byCommandLine.bcCount, byMenu.bcCount) << c.what;
        EXPECT_EQ(byCommandLine.footer, byMenu.footer) << c.what;
        if (!c.opens) {
            EXPECT_FALSE(byCommandLine.asked.empty()) << c.what << ": a bad file is always a message";
        }
    }
}

// The program file itself, started as a user starts it.
class ProgramRun : public ::testing::Test {
protected:
    TempDir m_dir;
    QProcess m_proc;
    void SetUp() override {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", QString::fromStdString((m_dir / "home").string()));
        env.remove("XDG_CONFIG_HOME");
        m_env = env;
    }
    QProcessEnvironment m_env;
};

TEST_F(ProgramRun, HelpAndVersionAnswerWithoutADisplay) {
    // With the X11 platform and no display, opening a window would abort the program.
    m_env.remove("DISPLAY");
    m_env.remove("WAYLAND_DISPLAY");
    m_env.insert("QT_QPA_PLATFORM", "xcb");
    m_proc.setProcessEnvironment(m_env);
    struct Case {
        const char *arg;
        QString stdoutStart;
    } cases[] = {
        {"--help", "Использование: talvikcfg [ФАЙЛ]\n"},
        {"-h", "Использование: talvikcfg [ФАЙЛ]\n"},
        {"--version", QStringLiteral("talvikcfg %1.%2.").arg(TALVIK_EXPECTED_MAJOR).arg(TALVIK_EXPECTED_MINOR)},
    };
    for (const Case &c : cases) {
        m_proc.start(TALVIKCFG_PROGRAM, {c.arg});
        ASSERT_TRUE(m_proc.waitForFinished(30000)) << c.arg;
        EXPECT_EQ(m_proc.exitStatus(), QProcess::NormalExit) << c.arg;
        EXPECT_EQ(m_proc.exitCode(), 0) << c.arg;
        const QString out = QString::fromUtf8(m_proc.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(c.stdoutStart)) << c.arg << ": " << out.toStdString();
        EXPECT_EQ(m_proc.readAllStandardError(), QByteArray()) << c.arg;
    }
}

TEST_F(ProgramRun, UnknownOptionIsRefusedOnTheTerminal) {
    m_env.insert("QT_QPA_PLATFORM", "offscreen");
    m_proc.setProcessEnvironment(m_env);
    m_proc.start(TALVIKCFG_PROGRAM, {"--open", "net.cfg"});
    ASSERT_TRUE(m_proc.waitForFinished(30000));
    EXPECT_EQ(m_proc.exitCode(), 2);
    const QString err = QString::fromUtf8(m_proc.readAllStandardError());
    EXPECT_TRUE(err.contains("неизвестный параметр «--open»")) << err.toStdString();
    EXPECT_TRUE(err.contains("talvikcfg --help")) << err.toStdString();
}

// A copy of the program in a folder of its own, as an unpacked build: it opens the project it is
// given, closes on SIGTERM as by its close button, and writes its settings beside itself.
TEST_F(ProgramRun, OpensTheProjectGivenAndWritesItsSettingsBesideACopyOutsideAnInstallTree) {
    const fs::path folder = m_dir / "unpacked";
    fs::create_directories(folder);
    fs::copy_file(TALVIKCFG_PROGRAM, folder / "talvikcfg");
    std::ofstream(m_dir / "Сеть.cfg", std::ios::binary) << "setting:{adr:250}\r\ndevice:{adr:238}\r\n";
    m_env.insert("QT_QPA_PLATFORM", "offscreen");
    m_env.insert("QT_LOGGING_RULES", "talvik.app.info=true");
    m_proc.setProcessEnvironment(m_env);
    m_proc.setWorkingDirectory(QString::fromStdString(m_dir.path().string()));
    m_proc.start(QString::fromStdString((folder / "talvikcfg").string()), {"Сеть.cfg"});
    ASSERT_TRUE(m_proc.waitForStarted(30000));
    m_proc.setReadChannel(QProcess::StandardError); // the log line comes there
    QByteArray err;
    const QDeadlineTimer deadline(60000);
    while (!err.contains("project opened:") && !deadline.hasExpired() && m_proc.state() == QProcess::Running) {
        m_proc.waitForReadyRead(int(deadline.remainingTime()));
        err += m_proc.readAllStandardError();
    }
    EXPECT_TRUE(err.contains(("project opened: " + (m_dir / "Сеть.cfg").string() + " BC: 1").c_str()))
        << err.toStdString();
    m_proc.terminate();
    ASSERT_TRUE(m_proc.waitForFinished(30000));
    EXPECT_EQ(m_proc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_proc.exitCode(), 0);
    std::ifstream ini(folder / "talvikcfg.ini");
    std::string text((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[COM]"), std::string::npos) << "settings written at exit: " << text;
    EXPECT_FALSE(fs::exists(m_dir / "home" / ".config" / "talvik"));
}
} // namespace
