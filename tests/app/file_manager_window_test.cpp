// The file manager window in the whole program, against the simulated network: how it is
// opened, what it asks, what it shows, and that its replies arrive whether it is shown or not.
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <fstream>

#include "app_texts.h"
#include "filemanager/tfr_file_manager.h"
#include "network_fixture.h"

namespace {

namespace fs = std::filesystem;

class FileManagerWindow : public NetworkFixture {
protected:
    TfrFileManager *fm() { return m_windows.fileManager; }
    template <class T = QWidget> T *control(const char *name) {
        T *w = fm()->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void pressFm(const char *button) { control<QPushButton>(button)->click(); }
    QString shownLog() { return control<QPlainTextEdit>("mmInfo")->toPlainText(); }
    fs::path deviceFolder(uint8_t adr) {
        return withNetwork([adr](SimNetwork &n) { return n.folder(adr)->path(); });
    }
    size_t countHeard(const std::string &what) {
        size_t n = 0;
        for (const Heard &h : heard())
            n += h.text.find(what) != std::string::npos;
        return n;
    }
    // Opens the window on `node` the way the user does.
    void openOn(const QString &node) {
        click(node);
        press("btFileManager");
        ASSERT_TRUE(fm()->isVisible());
    }
};

TEST_F(FileManagerWindow, EveryControlCarriesItsCaptionAndAnAccessibleName) {
    EXPECT_EQ(fm()->windowTitle(), "Файловый менеджер");
    const std::pair<const char *, QString> buttons[] = {
        {"btList", "Получить список файлов"},
        {"btDelete", "Удалить файл"},
        {"btUpload", "Загрузить файл"},
        {"btFormat", "Форматировать диск"},
        {"btReboot", "Перезагрузить"},
        {"btDownload", "Скачать файл"},
        {"brClose", "&Закрыть"},
    };
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(control<QPushButton>(name)->text(), caption) << name;
    for (const char *name : {"mmInfo", "pbFileMng", "pnWaitSec"})
        EXPECT_FALSE(control(name)->accessibleName().isEmpty()) << name;
    EXPECT_EQ(control<QLabel>("lbProc")->text(), "0%");
    EXPECT_EQ(control<QLabel>("lbWatSec")->text(), "0");
    EXPECT_FALSE(control("pnWaitSec")->isVisibleTo(fm()));
    EXPECT_FALSE(fm()->isVisible());
    EXPECT_EQ(main().fileManager(), static_cast<FileManagerApi *>(fm())) << "attached for the other tools";
}

TEST_F(FileManagerWindow, OpeningSendsListOnceAndShowsTheDevicesFiles) {
    std::ofstream(deviceFolder(250) / "Привет.txt") << "abc";
    openDemoProject();
    fm()->LogFileLine("old line");
    openOn("ПД:250");
    EXPECT_FALSE(fm()->logic().RepeatsActive()) << "showing the window cancelled the repeats";
    EXPECT_EQ(fm()->logic().DeviceAddress(), 250);
    ASSERT_TRUE(waitFor([&] { return shownLog().contains("Привет.txt 3"); }, 3000)) << shownLog().toStdString();
    EXPECT_FALSE(shownLog().contains("old line"));
    EXPECT_EQ(countHeard("-> 250 from 254 LIST"), 1u);

    // A BC from the tree; the window is already open, so its LIST keeps its repeats.
    openOn("БС:238");
    EXPECT_EQ(fm()->logic().DeviceAddress(), 238);
    EXPECT_TRUE(fm()->logic().RepeatsActive());
    ASSERT_TRUE(waitFor([&] { return countHeard("-> 238 from 254 LIST") == 1; }, 3000));
    ASSERT_TRUE(waitFor([&] { return !fm()->logic().RepeatsActive(); }, 3000)) << "the reply stops them";
}

TEST_F(FileManagerWindow, FormatAsksFirstAndNoSendsNothing) {
    openDemoProject();
    openOn("ПД:250");
    wait(200);
    m_dialogs.clearAsked();
    m_dialogs.no();
    pressFm("btFormat");
    ASSERT_EQ(m_dialogs.asked().size(), 1u);
    EXPECT_EQ(m_dialogs.asked()[0].caption, "Менеджер устройства");
    EXPECT_EQ(m_dialogs.asked()[0].text, "Форматировать Flash?");
    wait(300);
    EXPECT_EQ(countHeard("FORMAT"), 0u);

    m_dialogs.yes();
    pressFm("btFormat");
    ASSERT_TRUE(waitFor([&] { return shownLog().contains("Форматирование успешно"); }, 3000));
    EXPECT_EQ(countHeard("FORMAT"), 1u);
    EXPECT_TRUE(control("pnWaitSec")->isVisible());
    EXPECT_EQ(control<QLabel>("lbWatSec")->text(), "5");
}

TEST_F(FileManagerWindow, DeleteAndDownloadAskForANameAndSendNothingWithoutOne) {
    openDemoProject();
    openOn("ПД:250");
    wait(200);
    m_dialogs.clearAsked();
    m_dialogs.cancelInput();
    pressFm("btDelete");
    m_dialogs.input("");
    pressFm("btDelete");
    m_dialogs.cancelInput();
    pressFm("btDownload");
    m_dialogs.input("");
    pressFm("btDownload");
    m_dialogs.input("pd.cfg");
    m_dialogs.saveFile(""); // the save dialog cancelled
    pressFm("btDownload");
    ASSERT_TRUE(m_dialogs.scriptDone());
    const auto &asked = m_dialogs.asked();
    ASSERT_GE(asked.size(), 4u);
    EXPECT_EQ(asked[0].caption, "Введите название файла");
    EXPECT_EQ(asked[0].text, "Введите параметр");
    EXPECT_EQ(asked[2].caption, "Введите название файла");
    EXPECT_EQ(m_dialogs.m_lastSuggestedSave, "pd.cfg") << "the save dialog offers the device's name";
    wait(300);
    EXPECT_EQ(countHeard("DELETE"), 0u);
    EXPECT_EQ(countHeard("DOWNLOAD"), 0u);
}

TEST_F(FileManagerWindow, UploadAndDownloadThroughTheButtons) {
    openDemoProject();
    openOn("ПД:250");
    const fs::path local = m_dir / "Сценарий 1.wav";
    std::ofstream(local, std::ios::binary) << std::string(3000, 'x');
    m_dialogs.openFile(QString::fromStdString(local.string()));
    pressFm("btUpload");
    ASSERT_TRUE(waitFor([&] { return shownLog().contains("Загрузка файла успешно"); }, 5000));
    EXPECT_EQ(control<QProgressBar>("pbFileMng")->value(), 100);
    EXPECT_EQ(control<QLabel>("lbProc")->text(), "100%");
    EXPECT_TRUE(fs::exists(deviceFolder(250) / "Сценарий 1.wav")) << "under its name without the folder";

    m_dialogs.input("Сценарий 1.wav");
    m_dialogs.saveFile(QString::fromStdString((m_dir / "back.wav").string()));
    pressFm("btDownload");
    ASSERT_TRUE(waitFor([&] { return shownLog().contains("Загрузка файла успешна без ошибок"); }, 5000));
    EXPECT_EQ(fs::file_size(m_dir / "back.wav"), 3000u);
}

TEST_F(FileManagerWindow, RepliesReachTheHiddenWindowAndAnErrorGoesToTheMainLog) {
    std::ofstream(deviceFolder(250) / "a.txt") << "a";
    openDemoProject();
    fm()->SetDeviceAddress(250);
    ASSERT_FALSE(fm()->isVisible());
    fm()->btListClick();
    ASSERT_TRUE(waitFor([&] { return shownLog().contains("a.txt 1"); }, 3000));

    fm()->logic().Delete("missing.txt");
    ASSERT_TRUE(waitFor([&] { return logged("Ошибка: ERROR_OPEN_FILE"); }, 3000));
    EXPECT_FALSE(fm()->logic().RepeatsActive()) << "the error reply ended the file manager's repeats";
}

TEST_F(FileManagerWindow, MessageBoxesAreShownAfterTheCallNotInsideIt) {
    openDemoProject();
    fm()->SetDeviceAddress(250);
    m_dialogs.clearAsked();
    fm()->StartUpload(QString::fromStdString((m_dir / "missing.bin").string()), "missing.bin");
    EXPECT_TRUE(m_dialogs.messages().empty()) << "nothing modal inside the call";
    QCoreApplication::processEvents();
    ASSERT_EQ(m_dialogs.messages(), std::vector<QString>{"Не могу открыть файл"});
    EXPECT_EQ(m_dialogs.asked().back().caption, QString::fromUtf8(kAppTitle));

    m_dialogs.input("звук-♫.wav");
    pressFm("btDelete");
    QCoreApplication::processEvents();
    ASSERT_EQ(m_dialogs.messages().size(), 2u);
    EXPECT_TRUE(m_dialogs.messages()[1].contains("Windows-1251"));
    wait(200);
    EXPECT_EQ(countHeard("DELETE"), 0u);
}

TEST_F(FileManagerWindow, ClosingOrShowingTheWindowAgainDropsAHalfDownload) {
    std::ofstream(deviceFolder(250) / "big.bin", std::ios::binary) << std::string(40000, 'b');
    openDemoProject();
    openOn("ПД:250");
    const fs::path target = m_dir / "out";
    fs::create_directory(target);
    for (const char *how : {"close", "show again"}) {
        SCOPED_TRACE(how);
        ASSERT_TRUE(fm()->logic().StartDownload("big.bin", QString::fromStdString((target / "big.bin").string())));
        ASSERT_TRUE(waitFor([&] { return control<QProgressBar>("pbFileMng")->value() >= 20; }, 3000));
        if (std::string(how) == "close") {
            fm()->close();
        } else {
            fm()->hide(); // hidden without closing, as a minimised window is not
            fm()->ShowFileManager();
        }
        EXPECT_FALSE(fm()->logic().DownloadRunning());
        EXPECT_TRUE(fs::is_empty(target)) << "no truncated file, no temporary file";
        wait(300);
        EXPECT_TRUE(fs::is_empty(target));
        fm()->ShowFileManager();
    }
}

} // namespace
