// Project files: new, open, save, save as, close, rename and the save question.
#include "app_fixture.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <fstream>
#include <functional>
#include <sstream>

namespace {
using Kind = ScriptedDialogs::Kind;
const QString kTitle = "TALVIK ПД БС Конфигуратор";

std::string readAll(const std::filesystem::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class Files : public AppFixture {
protected:
    QString path(const std::string &name) { return QString::fromStdString((m_dir / name).string()); }
    QString footer() { return find<QLabel>("pnFooter")->text(); }
    void write(const std::string &name, const std::string &bytes) {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
};

TEST_F(Files, SavingEmptyProjectWritesOneSettingLine) {
    newProject("");
    m_dialogs.saveFile(path("empty"));
    main().miSaveClick();
    const std::string bytes = readAll(m_dir / "empty.cfg");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.rfind("setting:", 0), 0u);
    EXPECT_EQ(bytes.find("\r\n"), bytes.size() - 2) << "exactly one line, ending in CR LF";
    EXPECT_FALSE(main().IsModified());
    EXPECT_EQ(footer(), path("empty.cfg"));
    EXPECT_TRUE(find<QPlainTextEdit>("mmInfo")->toPlainText().endsWith(" Файл конфигурации записан"));
}

TEST_F(Files, CfgRuleForTypedNames) {
    const struct {
        const char *typed, *written;
    } rows[] = {{"net", "net.cfg"}, {"net.CFG", "net.CFG.cfg"}, {"a.cfg.bak", "a.cfg.bak"}, {"b.cfg", "b.cfg"}};
    newProject();
    for (const auto &r : rows) {
        m_dialogs.saveFile(path(r.typed));
        main().miSaveKakClick();
        EXPECT_TRUE(std::filesystem::exists(m_dir / r.written)) << r.typed;
        EXPECT_EQ(main().ProjectFileName(), path(r.written));
    }
}

TEST_F(Files, SaveAsCancelledLeavesNoNameSoSaveAsksAgain) {
    newProject();
    m_dialogs.saveFile(path("first"));
    main().miSaveClick();
    m_dialogs.saveFile(""); // cancelled
    main().miSaveKakClick();
    EXPECT_TRUE(main().ProjectFileName().isEmpty());
    m_dialogs.saveFile(path("second"));
    main().miSaveClick();
    EXPECT_TRUE(m_dialogs.scriptDone());
    EXPECT_EQ(main().ProjectFileName(), path("second.cfg"));
    main().miSaveClick(); // has a name now: no dialog
    EXPECT_TRUE(m_dialogs.scriptDone());
}

TEST_F(Files, CyrillicNameRoundTripsAndDevicesComeBack) {
    newProject("Объект №5");
    addBc(238);
    addAl(238, 3);
    const int zone = project().alLines[0].num;
    m_dialogs.saveFile(path("obj"));
    main().miSaveClick();
    EXPECT_NE(readAll(m_dir / "obj.cfg").find("Объект №5"), std::string::npos) << "UTF-8 bytes in the file";

    main().miCloseProjectClick(); // saved: no question
    EXPECT_FALSE(main().IsProjectOpen());
    EXPECT_TRUE(topTexts().isEmpty());
    m_dialogs.openFile(path("obj.cfg"));
    main().miLoadClick();
    EXPECT_EQ(find<QLabel>("pnProjectName")->text(), "Объект №5");
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:238"}));
    EXPECT_EQ(node("БС:238")->child(0)->text(0), QString("АЛ:3:Зона:%1").arg(zone));
    EXPECT_FALSE(main().IsModified());
    EXPECT_EQ(footer(), path("obj.cfg"));
    EXPECT_TRUE(find<QAction>("miCloseProject")->isEnabled());
}

TEST_F(Files, NoToSaveQuestionDoesNotAskAgain) {
    newProject();
    m_dialogs.no();
    main().miCloseProjectClick();
    ASSERT_EQ(m_dialogs.asked().size(), 2u);
    EXPECT_EQ(m_dialogs.asked()[1].kind, Kind::YesNo);
    EXPECT_EQ(m_dialogs.asked()[1].caption, kTitle);
    EXPECT_EQ(m_dialogs.asked()[1].text, "Сохранить изменения ?");
    main().miCloseProjectClick();
    EXPECT_EQ(m_dialogs.asked().size(), 2u);
}

TEST_F(Files, YesThenCancelledSaveAbandonsTheAction) {
    // Each row: a command that would drop the modified project (its own dialog answered
    // first); the user says Yes to saving, then cancels the save dialog. The project must
    // stay, still modified.
    const struct {
        const char *name;
        std::function<void()> ownDialog, run;
    } rows[] = {
        {"close project", [] {}, [this] { main().miCloseProjectClick(); }},
        {"new project", [this] { m_dialogs.input("Другой"); }, [this] { main().miNewClick(); }},
        {"open project", [this] { m_dialogs.openFile(path("other.cfg")); }, [this] { main().miLoadClick(); }},
        {"closing the window", [] {}, [this] { EXPECT_FALSE(main().close()); }},
    };
    write("other.cfg", "setting:{adr:251}\r\n");
    newProject("Мой");
    addBc(238);
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        m_dialogs.clearAsked();
        r.ownDialog();
        m_dialogs.yes();
        m_dialogs.saveFile("");
        r.run();
        EXPECT_TRUE(m_dialogs.scriptDone());
        EXPECT_TRUE(main().IsModified());
        EXPECT_TRUE(main().IsProjectOpen());
        EXPECT_EQ(project().bcCount, 1);
        EXPECT_STREQ(project().settings.nam, "Мой");
    }
}

TEST_F(Files, NewAndOpenCancelledAskNothing) {
    newProject();
    m_dialogs.clearAsked();
    m_dialogs.cancelInput();
    main().miNewClick();
    m_dialogs.openFile("");
    main().miLoadClick();
    EXPECT_EQ(m_dialogs.asked().size(), 2u) << "no save question after a cancelled dialog";
    EXPECT_TRUE(main().IsModified());
}

TEST_F(Files, YesToSaveQuestionSavesThenGoesOn) {
    newProject("A");
    m_dialogs.input("B");
    m_dialogs.yes();
    m_dialogs.saveFile(path("a"));
    main().miNewClick();
    EXPECT_TRUE(std::filesystem::exists(m_dir / "a.cfg"));
    EXPECT_STREQ(project().settings.nam, "B");
    EXPECT_TRUE(main().IsModified()) << "a new project is marked modified";
    EXPECT_TRUE(main().ProjectFileName().isEmpty());
}

TEST_F(Files, UnreadableFileShowsErrorAndLeavesNoProject) {
    newProject();
    m_dialogs.openFile(path("missing.cfg"));
    m_dialogs.no();
    main().miLoadClick();
    const auto msgs = m_dialogs.messages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_TRUE(m_dialogs.scriptDone());
    EXPECT_TRUE(msgs[0].contains(path("missing.cfg")));
    EXPECT_EQ(m_dialogs.asked().back().kind, Kind::Error);
    EXPECT_FALSE(main().IsProjectOpen());
    EXPECT_TRUE(topTexts().isEmpty());
    EXPECT_FALSE(find<QAction>("miSave")->isEnabled());
}

TEST_F(Files, FailedWriteKeepsFlagAndFooter) {
    newProject();
    m_dialogs.saveFile(path("ok"));
    main().miSaveClick();
    addBc(238);
    m_dialogs.saveFile(path("no-such-folder/x"));
    main().miSaveKakClick();
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_TRUE(m_dialogs.messages()[0].contains("no-such-folder"));
    EXPECT_TRUE(main().IsModified());
    EXPECT_EQ(footer(), path("ok.cfg"));
}

TEST_F(Files, OverCapacityOpensUpToLimitAndSaysWhatWasLeftOut) {
    std::string bytes = "setting:{adr:250}\r\n";
    for (int i = 0; i < 258; ++i)
        bytes += "device:{adr:238}\r\n";
    write("big.cfg", bytes);
    m_dialogs.openFile(path("big.cfg"));
    main().miLoadClick();
    EXPECT_EQ(project().bcCount, 256);
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_TRUE(m_dialogs.messages()[0].contains("БС (device): 2")) << m_dialogs.messages()[0].toStdString();
    EXPECT_TRUE(main().IsProjectOpen());
}

TEST_F(Files, RenameStoresNameAndMarksModifiedOnlyWhenChanged) {
    newProject("Старое");
    m_dialogs.saveFile(path("r"));
    main().miSaveClick();
    m_dialogs.input("Старое");
    main().miChangeProjectNameClick();
    EXPECT_EQ(m_dialogs.m_lastInputDefault, "Старое");
    EXPECT_FALSE(main().IsModified());
    m_dialogs.input("Новое");
    main().miChangeProjectNameClick();
    EXPECT_STREQ(project().settings.nam, "Новое");
    EXPECT_EQ(find<QLabel>("pnProjectName")->text(), "Новое");
    EXPECT_TRUE(main().IsModified());
    m_dialogs.cancelInput();
    main().miChangeProjectNameClick();
    EXPECT_STREQ(project().settings.nam, "Новое");
}

TEST_F(Files, CommandsEnabledByProjectState) {
    const char *projectCommands[] = {"bbSave", "bbSaveAs", "miSave", "miSaveKak", "miCloseProject",
                                     "miChangeProjectName", "miSaveTALVIK"};
    for (const char *a : projectCommands)
        EXPECT_FALSE(find<QAction>(a)->isEnabled()) << a;
    for (const char *a : {"bbNew", "miNew", "bbOpen", "miLoad"})
        EXPECT_TRUE(find<QAction>(a)->isEnabled()) << a;
    newProject();
    for (const char *a : projectCommands)
        EXPECT_TRUE(find<QAction>(a)->isEnabled()) << a;
    m_dialogs.no();
    main().miCloseProjectClick();
    for (const char *a : projectCommands)
        EXPECT_FALSE(find<QAction>(a)->isEnabled()) << a;
    EXPECT_TRUE(find<QLabel>("pnFooter")->text().isEmpty());
}
} // namespace
