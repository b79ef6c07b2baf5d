// What must never quietly go wrong in the main window: a file that is not a project, an
// unsaved project whose save fails, names that would split their record, late sweep
// replies, a log read under any locale, and a project full of zone numbers.
#include "app_fixture.h"

#include <QLocale>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>
#include <fstream>
#include <sstream>

#include "TCommPort.h"
#include "device_protocol.h"
#include "port_names.h"
#include "project_file.h"
#include "pty_pair.h"

namespace {
using Kind = ScriptedDialogs::Kind;

std::string readAll(const std::filesystem::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class Hardening : public AppFixture {
protected:
    QString path(const std::string &name) { return QString::fromStdString((m_dir / name).string()); }
    void write(const std::string &name, const std::string &bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    QString lastLogLine() { return find<QPlainTextEdit>("mmInfo")->toPlainText().split('\n').last(); }
    // Types `text` into `edit` a character at a time, as the keyboard does.
    void type(QLineEdit *edit, const QString &text) {
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
};

TEST_F(Hardening, FileWithoutOneRecordIsReportedAndLeftClosed) {
    std::string firmware = "\x7f"
                           "ELF\x02\x01\x01";
    for (int i = 0; i < 3000; ++i)
        firmware += char((i * 37) & 0xFF);
    const struct {
        const char *name;
        std::string bytes;
    } rows[] = {
        {"a firmware image", firmware},
        {"another program's cfg", "[General]\r\nwindow=maximized\r\nrecent=a.cfg\r\n"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        newProject();
        m_dialogs.clearAsked();
        write("other.cfg", r.bytes);
        m_dialogs.openFile(path("other.cfg"));
        m_dialogs.no(); // drop the new project
        main().miLoadClick();
        ASSERT_EQ(m_dialogs.messages().size(), 1u);
        EXPECT_EQ(m_dialogs.asked().back().kind, Kind::Error);
        EXPECT_EQ(m_dialogs.messages()[0],
                  QString("Файл «%1» не является проектом: в нём нет ни одной записи настроек, БС, АЛ или "
                          "сценария. Проект не открыт.")
                      .arg(path("other.cfg")));
        EXPECT_FALSE(main().IsProjectOpen());
        EXPECT_TRUE(topTexts().isEmpty());
        EXPECT_FALSE(find<QAction>("miSave")->isEnabled()) << "nothing can be saved over it";
        EXPECT_EQ(readAll(m_dir / "other.cfg"), r.bytes);
    }
}

TEST_F(Hardening, EmptyFileOrOneRecordAmongStrangeLinesStillOpens) {
    const struct {
        const char *name;
        std::string bytes;
        int bcCount;
    } rows[] = {
        {"an empty file", "", 0},
        {"blank lines only", "\r\n  \r\n", 0},
        {"one record among other lines", "# written by hand\r\ndevice:{adr:238}\r\ngarbage\r\n", 1},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        write("p.cfg", r.bytes);
        m_dialogs.openFile(path("p.cfg"));
        main().miLoadClick();
        EXPECT_TRUE(main().IsProjectOpen());
        EXPECT_EQ(project().bcCount, r.bcCount);
        EXPECT_TRUE(m_dialogs.messages().empty());
    }
}

TEST_F(Hardening, FileErrorSaysItsReasonOnce) {
    m_dialogs.openFile(path("missing.cfg"));
    main().miLoadClick();
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    const QString text = m_dialogs.messages()[0];
    EXPECT_EQ(text.count("Не удалось прочитать файл"), 1) << text.toStdString();
    EXPECT_TRUE(text.contains(path("missing.cfg")));
}

// Yes to "Сохранить изменения ?" and then a save that fails: the action that asked is
// abandoned, the project and its flag stay as they were.
TEST_F(Hardening, FailedSaveAfterYesAbandonsTheAction) {
    const struct {
        const char *name;
        std::function<void()> ownAnswers; // the action's own dialog comes before the question
        std::function<void()> act;
    } rows[] = {
        {"new project", [this] { m_dialogs.input("Другой"); }, [this] { main().miNewClick(); }},
        {"open project", [this] { m_dialogs.openFile(path("other.cfg")); }, [this] { main().miLoadClick(); }},
        {"close project", [] {}, [this] { main().miCloseProjectClick(); }},
        {"close window", [] {}, [this] { EXPECT_FALSE(main().close()); }},
    };
    write("other.cfg", "device:{adr:245}\r\n");
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        m_dialogs.input("Мой");
        if (main().IsModified())
            m_dialogs.no(); // the previous row's project, still modified
        main().miNewClick();
        addBc(238);
        ASSERT_TRUE(main().IsModified());
        const std::string before = BuildProjectText(project());
        m_dialogs.clearAsked();
        r.ownAnswers();
        m_dialogs.yes();
        m_dialogs.saveFile(path("no-such-folder/p"));
        r.act();
        ASSERT_EQ(m_dialogs.messages().size(), 1u) << "the failed save is reported";
        EXPECT_TRUE(m_dialogs.messages()[0].contains("no-such-folder"));
        EXPECT_TRUE(m_dialogs.scriptDone());
        EXPECT_TRUE(main().IsProjectOpen());
        EXPECT_TRUE(main().IsModified());
        EXPECT_EQ(BuildProjectText(project()), before);
        EXPECT_FALSE(std::filesystem::exists(m_dir / "no-such-folder"));
    }
}

// Stored values no edit would take (loaded from a file) are shown, never written back:
// clicking through every page, with both extra-parameter windows open, changes nothing.
TEST_F(Hardening, FillingPagesWithOutOfRangeStoredValuesChangesNothing) {
    write("odd.cfg",
          "setting:{adr:300, mst:yes, rss:99, mic:500, spk:-4, arl:70000, ton:65535, etp:9, el1:40000, el2:-1, "
          "sps:1000, nam:Стенд}\r\n"
          "device:{adr:238, nam:Корпус, ube:99.99, ubw:-3.5, rss:12, pas:999999, pad:300}\r\n"
          "zone:{num:65535, adr:238, prt:1, nam:Лифт, uvp:999.9, ukn:-1, tuv:1e9, tuk:0.05, usp:77.777, spk:300, "
          "mic:-300, etp:7, el1:32768, el2:70000, sps:65535}\r\n");
    m_dialogs.openFile(path("odd.cfg"));
    main().miLoadClick();
    ASSERT_TRUE(main().IsProjectOpen());
    ASSERT_NE(m_windows.pdDop, nullptr);
    ASSERT_NE(m_windows.alDop, nullptr);
    const std::string before = BuildProjectText(project());
    main().btPdDopClick();
    for (int round = 0; round < 2; ++round) {
        click(tree()->topLevelItem(0)->text(0));
        click("БС:238");
        click(alNodeText(238, 1));
        main().btAlDopClick();
    }
    EXPECT_EQ(BuildProjectText(project()), before);
    EXPECT_FALSE(main().IsModified());
}

TEST_F(Hardening, NameEditsTakeNoCommaBraceOrControlByteAndStopAtCapacity) {
    newProject();
    addBc(238);
    addAl(238, 1);
    click("БС:238");
    QLineEdit *bc = find<QLineEdit>("edBcName");
    bc->clear();
    type(bc, "Лестница 1, этаж 2}");
    EXPECT_EQ(bc->text(), "Лестница 1 этаж 2") << "typed comma and brace refused";
    EXPECT_STREQ(project().bcUnits[0].nam, "Лестница 1 этаж 2");

    bc->clear();
    bc->insert("Корпус,\r\nподъезд}\t3"); // as a paste arrives
    EXPECT_EQ(bc->text(), "Корпус  подъезд 3");
    EXPECT_STREQ(project().bcUnits[0].nam, "Корпус  подъезд 3");

    // 33 bytes hold 32: sixteen Cyrillic letters, then no more, typed or pasted.
    click(alNodeText(238, 1));
    QLineEdit *al = find<QLineEdit>("edAlName");
    al->clear();
    type(al, QString(20, QChar(0x0416)));
    EXPECT_EQ(al->text(), QString(16, QChar(0x0416)));
    type(al, "x");
    EXPECT_EQ(al->text().size(), 16) << "not even a one-byte letter fits";
    al->clear();
    al->insert("ab" + QString(20, QChar(0x0416)));
    EXPECT_EQ(al->text(), "ab" + QString(15, QChar(0x0416))) << "a paste keeps what fits";
    EXPECT_EQ(QString::fromUtf8(project().alLines[0].nam), al->text()) << "what the edit shows is what is kept";

    // The saved file reads back to the same names.
    m_dialogs.saveFile(path("names"));
    ASSERT_TRUE(main().SaveProject());
    const std::string saved = BuildProjectText(project());
    m_dialogs.openFile(path("names.cfg"));
    main().miLoadClick();
    EXPECT_STREQ(project().bcUnits[0].nam, "Корпус  подъезд 3");
    EXPECT_EQ(BuildProjectText(project()), saved);
}

TEST_F(Hardening, ProjectNameTypedWithLineBreaksIsStoredWithBlanks) {
    newProject("Объект\r\nА, корпус}");
    EXPECT_STREQ(project().settings.nam, "Объект  А корпус");
    m_dialogs.input("Новый\tобъект");
    main().miChangeProjectNameClick();
    EXPECT_STREQ(project().settings.nam, "Новый объект");
}

TEST_F(Hardening, ClosingOrReplacingTheProjectStopsTheSweep) {
    const struct {
        const char *name;
        std::function<void()> act;
    } rows[] = {
        {"close",
         [this] {
             m_dialogs.no(); // do not save
             main().miCloseProjectClick();
         }},
        {"new",
         [this] {
             m_dialogs.input("Другой");
             m_dialogs.no();
             main().miNewClick();
         }},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        newProject();
        addBc(238);
        main().protocol().Sweep().Start(238);
        main().protocol().Dispatcher().SetReadKind(ReadAllAl);
        r.act();
        EXPECT_TRUE(m_dialogs.scriptDone());
        EXPECT_FALSE(main().protocol().Sweep().IsEnabled());
        EXPECT_EQ(main().protocol().readKind(), ReadNone);
    }
}

// One fixed form with seconds whatever the locale: under the C locale a locale format
// would read "10 Dec 2026".
TEST_F(Hardening, LogStampHasSecondsInOneFormUnderAnyLocale) {
    const QLocale saved;
    for (const QLocale &l :
         {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Russian, QLocale::Russia)}) {
        SCOPED_TRACE(l.name().toStdString());
        QLocale::setDefault(l);
        main().LogInfo("строка");
        const QRegularExpression form("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d строка$");
        EXPECT_TRUE(form.match(lastLogLine()).hasMatch()) << lastLogLine().toStdString();
    }
    QLocale::setDefault(saved);
}

TEST_F(Hardening, AddingALineWithEveryZoneNumberTakenIsRefusedWithALogLine) {
    newProject();
    addBc(238);
    // The numbers are held by lines of a unit that is not in the tree, so it stays small.
    AlLine l;
    InitZoneRecord(l);
    for (int n = 1; n <= 32767; ++n) {
        l.adr = uint8_t(1 + n / 256);
        l.prt = uint8_t(n % 256);
        l.num = uint16_t(n);
        ASSERT_TRUE(AppendAlLine(project(), l));
    }
    const int before = project().alCount;
    addAl(238, 1);
    EXPECT_EQ(project().alCount, before);
    EXPECT_TRUE(lastLogLine().endsWith(" Все номера зон 1..32767 заняты, АЛ не добавлена"))
        << lastLogLine().toStdString();
    EXPECT_EQ(node(QStringLiteral("АЛ:1:Зона:0")), nullptr);
}

} // namespace

// A port that does not open at start says which COM number and why.
TEST(PortOpenFailure, LogSaysWhichComNumberAndWhy) {
    TempDir dir;
    SetSettingsDirOverride(dir.path());
    PtyPair pty;
    ASSERT_EQ(RegisterComLink(PortsDir(), pty.slavePath(), 3), 3);
    TCommPort holder; // another program holds COM3
    holder.SetComNumber(3);
    holder.SetOpen(true);
    ASSERT_TRUE(holder.Open());
    const struct {
        int com;
        QString line;
    } rows[] = {
        {9, "Не удалось открыть порт COM9: устройство не найдено (/dev/ttyS8)"},
        {3, QString("Не удалось открыть порт COM3: порт занят другой программой (%1)")
                .arg(QString::fromStdString(pty.slavePath()))},
    };
    for (const auto &r : rows) {
        {
            QSettings ini(QString::fromStdString((dir / "talvikcfg.ini").string()), QSettings::IniFormat);
            ini.setValue("COM/Number", r.com);
        }
        AppWindows w = CreateAppWindows();
        const QString log = w.main->findChild<QPlainTextEdit *>("mmInfo")->toPlainText();
        EXPECT_TRUE(log.endsWith(" " + r.line)) << log.toStdString();
    }
    SetSettingsDirOverride({});
}
