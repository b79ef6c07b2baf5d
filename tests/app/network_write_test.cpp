// "Сохранить проект В TALVIK" into the simulated network through the real serial stack:
// afterwards the devices hold the project record for record, ports without a line hold
// none, the saved file is handed to the file manager as "pd.cfg"; a write can be stopped
// and cannot run twice; one test keeps the real pace of one command a second.
#include <QAction>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake_file_manager.h"
#include "network_fixture.h"
#include "progress_window.h"
#include "project_file.h"
#include "text_utils.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The setting, device and zone lines of a project file's text, sorted: the devices keep
// their lines in the order they learnt them, the project in its table order.
std::vector<std::string> ConfigurationLines(const std::string &text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("notify:", 0) != 0 && !line.empty())
            out.push_back(line);
    }
    std::sort(out.begin(), out.end());
    return out;
}

class NetworkWrite : public NetworkFixture {
protected:
    void SetUp() override {
        m_timings.networkWriteIntervalMs = pace();
        NetworkFixture::SetUp();
        main().AttachFileManager(&m_fm);
    }
    virtual int pace() const { return 40; }

    fs::path planFile() const { return m_dir / "plan.cfg"; }
    // Answers the warning and the write question with yes and starts the write.
    void startWrite() {
        m_dialogs.warningYes();
        m_dialogs.ok();
        main().miSaveTALVIKClick();
    }
    bool waitForEnd(int timeoutMs) {
        return waitFor([&] { return !main().NetworkWriteRunning(); }, timeoutMs);
    }
    // What the devices hold, as the simulator dumps it.
    std::vector<std::string> deviceLines() {
        return ConfigurationLines(withNetwork([](SimNetwork &n) { return n.projectText(); }));
    }
    std::vector<std::string> projectLines() { return ConfigurationLines(ReadAll(planFile())); }
    // The write's own log lines, in order.
    std::vector<QString> writeLog() const {
        std::vector<QString> out;
        for (const LogLine &l : m_log)
            for (const char *p : {"Записываю", "Очищаю", "Копирую", "Файл конфигурации", "Запись в TALVIK"})
                if (l.text.startsWith(QString::fromUtf8(p)))
                    out.push_back(l.text);
        return out;
    }
    // "SETZONE -> 240" for each configuration request the devices heard, in order.
    std::vector<std::string> heardWrites() const {
        std::vector<std::string> out;
        for (const Heard &h : heard()) {
            for (const char *word : {"SETSETTING", "SETDEVICE", "SETZONE"}) {
                const size_t at = h.text.find(std::string(" ") + word);
                if (at != std::string::npos) {
                    const std::string to = h.text.substr(3, h.text.find(' ', 3) - 3);
                    out.push_back(std::string(word) + " -> " + to);
                    break;
                }
            }
        }
        return out;
    }
    bool enabled(const char *name) { return find<QAction>(name)->isEnabled(); }

    FakeFileManager m_fm;
};

// The demo network, changed the way an engineer changes it before writing.
void EditDemo(Project &p) {
    p.settings.spk = 7;
    CopyTextUtf8(FindBcUnit(p, 240)->nam, kBcNameSize, "БС-16 склад");
    CopyTextUtf8(FindAlLine(p, 238, 1)->nam, kAlNameSize, "Охрана, вход");
    DeleteAlLine(p, 238, 4);
    AlLine l;
    InitZoneRecord(l);
    l.adr = 240;
    l.prt = 5;
    l.num = 205;
    CopyTextUtf8(l.nam, kAlNameSize, "Гараж");
    AppendAlLine(p, l);
}

TEST_F(NetworkWrite, ChangedProjectEndsUpInTheDevicesAndGoesToThePdAsPdCfg) {
    openDemoProject(EditDemo);
    main().MarkModified();
    ASSERT_NE(deviceLines(), projectLines());
    m_dialogs.clearAsked();
    startWrite();
    ASSERT_TRUE(main().NetworkWriteRunning());
    EXPECT_EQ(m_dialogs.asked()[0].kind, ScriptedDialogs::Kind::WarningYesNo) << "the port opened: no message";
    // While it paces nothing else may talk on the line.
    for (const char *item : {"miSaveTALVIK", "miUpgradePD", "miUpgradeBC", "miScaner"})
        EXPECT_FALSE(enabled(item)) << item;
    click("БС:238");
    EXPECT_FALSE(find<QPushButton>("bdReadCom")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btFileManager")->isEnabled());
    main().miSaveTALVIKClick(); // a second write is refused without a question
    EXPECT_TRUE(m_dialogs.scriptDone());

    ASSERT_TRUE(waitForEnd(20000));
    // 1 PD + 2 BC + 6 lines + 13 + 13 empty ports.
    const auto writes = heardWrites();
    ASSERT_EQ(writes.size(), 35u);
    EXPECT_EQ(writes[0], "SETSETTING -> 250");
    EXPECT_EQ(writes[1], "SETDEVICE -> 238");
    EXPECT_EQ(writes[2], "SETDEVICE -> 240");
    EXPECT_EQ(writes[34], "SETZONE -> 240");

    EXPECT_EQ(deviceLines(), projectLines()) << "the devices hold the project record for record";
    withNetwork([](SimNetwork &n) {
        EXPECT_EQ(FindAlLine(n.project(), 238, 4), nullptr) << "the deleted line is cleared in its BC";
        for (int prt = 6; prt <= 16; ++prt)
            EXPECT_EQ(FindAlLine(n.project(), 240, uint16_t(prt)), nullptr) << prt;
        return 0;
    });

    const auto log = writeLog();
    ASSERT_EQ(log.size(), 37u);
    EXPECT_EQ(log[0], "Записываю настройки в ПД");
    EXPECT_EQ(log[1], "Записываю настройки в БС:238");
    EXPECT_EQ(log[3], "Записываю настройки в БС:238 АЛ:1");
    EXPECT_EQ(log[9], "Очищаю настройки в БС:238 АЛ:4");
    EXPECT_EQ(log[34], "Очищаю настройки в БС:240 АЛ:16");
    EXPECT_EQ(log[35], "Файл конфигурации записан");
    EXPECT_EQ(log[36], "Копирую файл конфигурации сети TALVIK в ПД");
    EXPECT_FALSE(main().IsModified());
    EXPECT_TRUE(logged("Данные настроек ПД:250 записаны")) << "the devices' answers are logged as they come";

    EXPECT_EQ(m_fm.calls,
              (QStringList{"show", "clear", "log Обновление конфигурации ПД",
                           "log После загрузки файла конфигурации на ПД,", "log перезагрузите ПД", "address 250",
                           "upload " + QString::fromStdString(planFile().string()) + " as pd.cfg"}));
    for (const char *item : {"miSaveTALVIK", "miUpgradePD", "miUpgradeBC", "miScaner"})
        EXPECT_TRUE(enabled(item)) << item;
    EXPECT_TRUE(find<QPushButton>("bdReadCom")->isEnabled());
    EXPECT_FALSE(find<TfrProgress>("TfrProgress")->isVisible());
}

TEST_F(NetworkWrite, ASlavePdGetsOnlyItsSettings) {
    openDemoProject([](Project &p) { p.settings.mst = false; });
    startWrite();
    ASSERT_TRUE(waitForEnd(5000));
    EXPECT_EQ(heardWrites(), (std::vector<std::string>{"SETSETTING -> 250"}));
    EXPECT_EQ(m_fm.calls.size(), 7);
    EXPECT_FALSE(withNetwork([](SimNetwork &n) { return n.project().settings.mst; }));
}

TEST_F(NetworkWrite, AStoppedOrAbandonedWriteNeitherSavesNorUploads) {
    struct Row {
        const char *name;
        bool byButton; // else the project is closed under it
        QString lastLine;
    };
    const Row rows[] = {
        {"the stop button", true, "Запись в TALVIK остановлена: отправлено команд 3 из 35"},
        {"the project closed", false, "Запись в TALVIK остановлена: отправлено команд 3 из 35"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        if (main().IsProjectOpen()) {
            m_dialogs.no();
            main().miCloseProjectClick();
        }
        m_log.clear();
        m_fm.calls.clear();
        openDemoProject(EditDemo);
        main().MarkModified();
        const std::string before = ReadAll(planFile());
        const size_t heardBefore = heardWrites().size();
        startWrite();
        auto *progress = find<TfrProgress>("TfrProgress");
        ASSERT_TRUE(progress->isVisible());
        EXPECT_EQ(progress->windowTitle(), "Запись проекта в TALVIK");
        ASSERT_TRUE(waitFor([&] { return progress->Done() == 3; }, 5000));
        EXPECT_EQ(progress->DoneText(), "Отправлено команд: 3 из 35");
        if (r.byButton) {
            progress->findChild<QPushButton *>("btStop")->click();
        } else {
            m_dialogs.no(); // "Сохранить изменения ?"
            main().miCloseProjectClick();
        }
        EXPECT_FALSE(main().NetworkWriteRunning());
        wait(200); // a stopped write sends nothing more
        EXPECT_EQ(heardWrites().size() - heardBefore, 3u);
        EXPECT_EQ(writeLog().back(), r.lastLine);
        EXPECT_FALSE(logged("Копирую файл конфигурации сети TALVIK в ПД"));
        EXPECT_TRUE(m_fm.calls.isEmpty());
        EXPECT_EQ(ReadAll(planFile()), before);
        EXPECT_FALSE(progress->isVisible());
        EXPECT_TRUE(enabled("miUpgradePD"));
        EXPECT_EQ(enabled("miSaveTALVIK"), r.byButton) << "enabled again while a project is open";
        EXPECT_TRUE(m_dialogs.scriptDone());
    }
}

TEST_F(NetworkWrite, AProjectWithoutAFileIsSavedUnderTheNameTheUserGives) {
    struct Row {
        const char *name;
        QString file; // the save dialog's answer; empty = cancelled
        QString lastLine;
        bool uploaded;
    };
    const QString path = QString::fromStdString((m_dir / "new.cfg").string());
    const Row rows[] = {
        {"a name given", path, "Копирую файл конфигурации сети TALVIK в ПД", true},
        // Nothing written now, so nothing is the project to upload.
        {"the save dialog cancelled", {}, "Файл конфигурации не записан, в ПД не скопирован", false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        m_fm.calls.clear();
        newProject("Новый объект");
        project().settings.adr = 250;
        project().settings.mst = true;
        startWrite();
        m_dialogs.saveFile(r.file);
        ASSERT_TRUE(waitForEnd(5000));
        EXPECT_TRUE(m_dialogs.scriptDone());
        EXPECT_EQ(writeLog().back(), r.lastLine);
        EXPECT_EQ(m_fm.calls.isEmpty(), !r.uploaded);
        if (r.uploaded) {
            EXPECT_EQ(m_fm.calls.last(), "upload " + path + " as pd.cfg");
        }
        EXPECT_EQ(main().ProjectFileName(), r.file);
    }
}

// One BC at 240 with lines on ports 1 and 2: eighteen commands, one a second, and the
// upload one second after the last.
class NetworkWriteRealPace : public NetworkWrite {
protected:
    int pace() const override { return 1000; }
};

TEST_F(NetworkWriteRealPace, EighteenCommandsInEighteenSeconds) {
    openDemoProject([](Project &p) {
        DeleteBcUnit(p, FindBcUnit(p, 238));
        for (int prt = 1; prt <= 4; ++prt)
            DeleteAlLine(p, 238, uint16_t(prt));
    });
    ASSERT_EQ(project().bcCount, 1);
    ASSERT_EQ(project().alCount, 2);
    const qint64 start = m_clock.elapsed();
    startWrite();
    ASSERT_TRUE(waitForEnd(40000));
    const qint64 end = m_clock.elapsed();

    std::vector<qint64> at;
    for (const Heard &h : heard())
        if (h.text.find(" SET") != std::string::npos)
            at.push_back(h.atMs);
    ASSERT_EQ(at.size(), 18u);
    // Never faster than one a second; on a loaded machine a tick may come late, not early.
    for (size_t i = 1; i < at.size(); ++i)
        EXPECT_GE(at[i] - at[i - 1], 950) << "command " << i + 1;
    EXPECT_GE(at.back() - at.front(), 17 * 1000 - 50);
    EXPECT_LT(at.back() - at.front(), 17 * 1000 + 3000) << "the pace does not drift far on a busy machine";
    EXPECT_GE(end - start, 18 * 1000 - 50) << "the upload waits one more second after the last command";
    // BC 238 is not in this project: the devices keep it as it was.
    auto written = deviceLines();
    written.erase(std::remove_if(written.begin(), written.end(),
                                 [](const std::string &l) { return l.find("adr:238,") != std::string::npos; }),
                  written.end());
    EXPECT_EQ(written, projectLines());
    EXPECT_EQ(m_fm.calls.last(), "upload " + QString::fromStdString(planFile().string()) + " as pd.cfg");
}

} // namespace
