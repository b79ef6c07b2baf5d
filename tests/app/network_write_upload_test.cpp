// The end of a write and the firmware updates with the real file manager over the
// simulated line: the saved project lands on the PD's disk as "pd.cfg", byte for byte,
// and a firmware image in the chosen device's folder under its device name.
#include <QLineEdit>
#include <filesystem>
#include <fstream>

#include "network_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class NetworkWriteUpload : public NetworkFixture {
protected:
    void SetUp() override {
        m_timings.networkWriteIntervalMs = 40;
        NetworkFixture::SetUp();
    }
    fs::path deviceFolder(uint8_t adr) {
        return withNetwork([adr](SimNetwork &n) { return n.folder(adr)->path(); });
    }
    // Waits until `file` holds exactly `bytes`.
    bool waitForFile(const fs::path &file, const std::string &bytes, int timeoutMs) {
        return waitFor([&] { return fs::exists(file) && ReadAll(file) == bytes; }, timeoutMs);
    }
};

TEST_F(NetworkWriteUpload, TheSavedProjectLandsOnThePdAsPdCfg) {
    openDemoProject([](Project &p) { p.settings.spk = 9; });
    main().MarkModified();
    m_dialogs.warningYes();
    m_dialogs.ok();
    main().miSaveTALVIKClick();
    ASSERT_TRUE(waitFor([&] { return logged("Копирую файл конфигурации сети TALVIK в ПД"); }, 20000));
    const std::string saved = ReadAll(m_dir / "plan.cfg");
    ASSERT_FALSE(saved.empty());
    EXPECT_TRUE(waitForFile(deviceFolder(250) / "pd.cfg", saved, 20000)) << "pd.cfg byte-equal to the saved file";
}

TEST_F(NetworkWriteUpload, FirmwareImagesGoToTheDeviceTheUserNames) {
    openDemoProject();
    std::string image(1000, '\0');
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = char(i * 7 + 1);
    const fs::path file = m_dir / "прошивка.bin";
    std::ofstream(file, std::ios::binary) << image;
    struct Row {
        bool pd;
        const char *address;
        uint8_t device;
        const char *name;
    };
    for (const Row &r : {Row{false, "240", 240, "bc.bin"}, Row{true, "250", 250, "pd.bin"}}) {
        SCOPED_TRACE(r.name);
        m_dialogs.modal([&](QDialog &d) {
            d.findChild<QLineEdit *>("edFilePath")->setText(QString::fromStdString(file.string()));
            return true;
        });
        m_dialogs.input(r.address);
        r.pd ? main().miUpgradePDClick() : main().miUpgradeBCClick();
        EXPECT_TRUE(waitForFile(deviceFolder(r.device) / r.name, image, 20000));
        wait(200); // the upload's end and its list request
    }
}

} // namespace
