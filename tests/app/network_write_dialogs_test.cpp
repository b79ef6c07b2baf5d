// "Сохранить проект В TALVIK" without a port (the PD's USB disk) and the firmware updates,
// through the scripted answerer: the exact questions, what each answer leads to, and what
// the file manager is asked to do.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "app_fixture.h"
#include "fake_file_manager.h"
#include "network_write/network_write_tool.h"
#include "network_write/tfr_inpu_file.h"
#include "project_file.h"

namespace fs = std::filesystem;

namespace {

using Kind = ScriptedDialogs::Kind;

const QString kTitle = "TALVIK ПД БС Конфигуратор";
const QString kWarning =
    "1. Убедитесь, что адреса TALVIK-БС-16 в проекте соответствуют адресам TALVIK-БС-16 в сети TALVIK.\r\n"
    "2. Убедитесь, что адреса TALVIK-ПД в проекте соответствуют адресам TALVIK-ПД в сети TALVIK.\r\n"
    "3. Несоответствие адресов может привести к неверной загрузке конфигураций.\r\n"
    "4. Для проверки выполнить сканирование сети TALVIK, используя Сканер устройств (Инструменты / Сканер "
    "устройств).\r\n"
    "\r\n"
    "Продолжить?";
const QString kFlash = "Включите па ПД USB в режим FLASH. Подключитесь USB кабелем к ПД";

std::string ReadAll(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class NetworkWriteDialogs : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        main().AttachFileManager(&m_fm);
        fakeSystem("system");
    }
    // A fresh fake mount table (holding the root file system) and sysfs tree under `name`.
    void fakeSystem(const std::string &name) {
        m_root = m_dir / name;
        fs::create_directories(m_root / "sys" / "block");
        std::ofstream(m_root / "mounts") << "/dev/sda2 / ext4 rw 0 0\n";
        m_windows.networkWrite->SetDrivePaths((m_root / "mounts").string(), (m_root / "sys" / "block").string());
    }
    // A removable disk "sdX" with one partition mounted at a folder of the test.
    fs::path stick(const std::string &disk, const std::string &label) {
        const fs::path sys = m_root / "sys" / "block" / disk;
        fs::create_directories(sys / (disk + "1"));
        std::ofstream(sys / "removable") << "1\n";
        const fs::path at = m_root / "media" / label;
        fs::create_directories(at);
        std::ofstream(m_root / "mounts", std::ios::app) << "/dev/" << disk << "1 " << at.string() << " vfat rw 0 0\n";
        return at;
    }
    void projectWithFile() {
        newProject("Объект");
        addBc(240);
        addAl(240, 1);
        m_dialogs.saveFile(QString::fromStdString((m_dir / "own.cfg").string()));
        main().miSaveClick();
        ASSERT_EQ(main().ProjectFileName().toStdString(), (m_dir / "own.cfg").string());
        addAl(240, 2); // unsaved work
        ASSERT_TRUE(main().IsModified());
        m_dialogs.clearAsked();
    }
    // The drive choice as the user sees it; `pick` is typed into the box before OK.
    void chooseDrive(QStringList *items, QString *label, const QString &pick = {}, bool accept = true) {
        m_dialogs.modal([=](QDialog &d) {
            auto *cb = d.findChild<QComboBox *>("cbSelect");
            for (int i = 0; i < cb->count(); ++i)
                *items << cb->itemText(i);
            *items << "shown:" + cb->currentText();
            *label = d.findChild<QLabel *>("lbSelect")->text();
            if (!pick.isEmpty())
                cb->setEditText(pick);
            return accept;
        });
    }
    FakeFileManager m_fm;
    fs::path m_root;
};

TEST_F(NetworkWriteDialogs, WithoutAPortTheProjectGoesOntoTheFirstRemovableDisk) {
    projectWithFile();
    const fs::path e = stick("sdb", "E");
    const fs::path f = stick("sdc", "F");
    m_dialogs.warningYes();
    m_dialogs.ok();
    QStringList items;
    QString label;
    chooseDrive(&items, &label);
    main().miSaveTALVIKClick();

    ASSERT_GE(m_dialogs.asked().size(), 4u);
    const auto &a = m_dialogs.asked();
    EXPECT_EQ(int(a[0].kind), int(Kind::Information));
    EXPECT_EQ(a[0].text, "COM порт не доступен");
    EXPECT_EQ(int(a[1].kind), int(Kind::WarningYesNo));
    EXPECT_EQ(a[1].caption, kTitle);
    EXPECT_EQ(a[1].text, kWarning);
    EXPECT_EQ(int(a[2].kind), int(Kind::OkCancel));
    EXPECT_EQ(a[2].caption, kTitle);
    EXPECT_EQ(a[2].text, kFlash);
    EXPECT_EQ(a[3].caption, "Выберите");
    EXPECT_EQ(label, "Выберите диск ПД");
    const QString eRoot = QString::fromStdString(e.string()) + "/";
    const QString fRoot = QString::fromStdString(f.string()) + "/";
    EXPECT_EQ(items, (QStringList{eRoot, fRoot, "shown:" + eRoot}));

    // The bytes of a project save, written on the disk; the project's own file untouched.
    const fs::path expected = m_dir / "expected.cfg";
    std::string error;
    ASSERT_TRUE(SaveProjectFile(project(), expected.string(), error)) << error;
    EXPECT_EQ(ReadAll(e / "pd.cfg"), ReadAll(expected));
    EXPECT_FALSE(fs::exists(f / "pd.cfg"));
    EXPECT_EQ(main().ProjectFileName().toStdString(), (m_dir / "own.cfg").string());
    EXPECT_TRUE(main().IsModified()) << "the engineer's own file still lacks the last edit";
    EXPECT_NE(ReadAll(m_dir / "own.cfg"), ReadAll(expected));
    EXPECT_TRUE(m_fm.calls.isEmpty());
    EXPECT_TRUE(m_dialogs.scriptDone());
}

TEST_F(NetworkWriteDialogs, UsbDiskPathStopsWhereTheUserOrTheSystemSaysSo) {
    struct Row {
        const char *name;
        bool mountTable;
        bool disk;
        bool warningYes;
        bool flashOk;
        bool selectOk;
        QString typed;
        QString message; // the last message box, empty for none
        bool written;
    };
    const Row rows[] = {
        {"warning answered No", true, true, false, false, false, {}, {}, false},
        {"flash mode cancelled", true, true, true, false, false, {}, {}, false},
        {"no mount table", false, false, true, true, false, {}, "Остсутсвует соединение с ПД", false},
        {"no removable disk", true, false, true, true, false, {}, "Остсутсвует диск ПД", false},
        {"the choice closed without OK", true, true, true, true, false, {}, {}, false},
        {"the disk typed without its slash", true, true, true, true, true, "typed-dir", {}, true},
    };
    newProject("Объект");
    int n = 0;
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        fakeSystem("row" + std::to_string(++n));
        if (!r.mountTable)
            fs::remove(m_root / "mounts");
        fs::path at;
        if (r.disk)
            at = stick("sdb", "E");
        m_dialogs.clearAsked();
        if (r.warningYes) {
            m_dialogs.warningYes();
            r.flashOk ? m_dialogs.ok() : m_dialogs.cancel();
        } else {
            m_dialogs.warningNo();
        }
        QStringList items;
        QString label;
        if (r.flashOk && r.disk)
            chooseDrive(&items, &label, r.typed.isEmpty() ? QString() : QString::fromStdString(at.string()),
                        r.selectOk);
        main().miSaveTALVIKClick();
        EXPECT_TRUE(m_dialogs.scriptDone());
        const auto messages = m_dialogs.messages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.front(), "COM порт не доступен");
        EXPECT_EQ(messages.size() > 1 ? messages.back() : QString(), r.message);
        if (r.disk) {
            EXPECT_EQ(fs::exists(at / "pd.cfg"), r.written);
        }
    }
}

TEST_F(NetworkWriteDialogs, FirmwareUploadThroughTheFileManager) {
    const fs::path image = m_dir / "new firmware.bin";
    std::ofstream(image) << "image";
    const QString path = QString::fromStdString(image.string());
    struct Row {
        const char *name;
        bool pd;
        QString file; // what stands in edFilePath at OK; empty with fileOk false = cancelled
        bool fileOk;
        QString address; // typed; "INPUTVAL_CANCEL" cancels
        QString message;
        QStringList calls;
    };
    const QStringList pdCalls{"show",
                              "clear",
                              "log Обновление ПО ПД",
                              "log После загрузки файла обновления на ПД,",
                              "log перезагрузите ПД",
                              "address 250",
                              "upload " + path + " as pd.bin"};
    const QStringList bcCalls{"show",
                              "clear",
                              "log Обновление ПО БС",
                              "log После загрузки файла обновления на БС,",
                              "log перезагрузите БС",
                              "address 240",
                              "upload " + path + " as bc.bin"};
    const Row rows[] = {
        {"PD at 250", true, path, true, "250", {}, pdCalls},
        {"BC at 240", false, path, true, " 240", {}, bcCalls},
        {"address 0", true, path, true, "0", "Ошибка в адресе", {}},
        {"address 255", true, path, true, "255", "Ошибка в адресе", {}},
        {"address abc", false, path, true, "abc", "Ошибка в адресе", {}},
        {"address dialog cancelled", true, path, true, "INPUTVAL_CANCEL", {}, {}},
        {"no such file", true, path + ".old", true, {}, "Файл отсутствует", {}},
        {"a folder is no file", true, QString::fromStdString(m_dir.path().string()), true, {}, "Файл отсутствует", {}},
        {"file dialog cancelled", true, path, false, {}, {}, {}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        m_fm.calls.clear();
        m_dialogs.clearAsked();
        QString title, filter;
        m_dialogs.modal([&](QDialog &d) {
            title = d.windowTitle();
            auto *edit = d.findChild<QLineEdit *>("edFilePath");
            filter = static_cast<TfrInpuFile &>(d).DialogFilter();
            EXPECT_TRUE(edit->text().isEmpty()) << "opens with an empty path";
            edit->setText(r.file);
            return r.fileOk;
        });
        if (!r.address.isEmpty())
            m_dialogs.input(r.address);
        r.pd ? main().miUpgradePDClick() : main().miUpgradeBCClick();
        EXPECT_TRUE(m_dialogs.scriptDone());
        EXPECT_EQ(title, "Выберите файл");
        EXPECT_EQ(filter, "*.bin (*.bin)");
        if (!r.address.isEmpty()) {
            ASSERT_GE(m_dialogs.asked().size(), 2u);
            EXPECT_EQ(m_dialogs.asked()[1].text, r.pd ? "Введите адрес ПД" : "Введите адрес БС");
            EXPECT_TRUE(m_dialogs.m_lastInputDefault.isEmpty());
        }
        const auto messages = m_dialogs.messages();
        EXPECT_EQ(messages.empty() ? QString() : messages.back(), r.message);
        if (!messages.empty()) {
            EXPECT_EQ(m_dialogs.asked().back().caption, kTitle);
        }
        EXPECT_EQ(m_fm.calls, r.calls);
    }
}

TEST_F(NetworkWriteDialogs, TheFileButtonPutsTheChosenPathIntoTheEdit) {
    QString shown;
    m_dialogs.modal([&](QDialog &d) {
        auto *bt = d.findChild<QPushButton *>("btSelectFile");
        EXPECT_EQ(bt->text(), "&Выберите файл");
        bt->click();
        shown = d.findChild<QLineEdit *>("edFilePath")->text();
        return false;
    });
    m_dialogs.openFile("/media/e/pd-2.bin"); // asked while the dialog is open
    main().miUpgradeBCClick();
    EXPECT_EQ(shown, "/media/e/pd-2.bin");
    ASSERT_GE(m_dialogs.asked().size(), 2u);
    EXPECT_EQ(int(m_dialogs.asked()[1].kind), int(Kind::OpenFile));
    EXPECT_EQ(m_dialogs.asked()[1].text, "*.bin (*.bin)");
}

} // namespace
