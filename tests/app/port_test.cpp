// The port opened at start and the commands that depend on it, over a pseudo-terminal.
#include "app_fixture.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSettings>

#include "TCommPort.h"
#include "file_version.h"
#include "port_names.h"
#include "pty_pair.h"
#include "serial_device.h"

namespace {
class PortOpen : public AppFixture {
protected:
    void SetUp() override {
        SetSettingsDirOverride(m_dir.path());
        const int com = RegisterComLink(PortsDir(), m_pty.slavePath(), 3);
        ASSERT_EQ(com, 3);
        {
            QSettings ini(QString::fromStdString((m_dir / "talvikcfg.ini").string()), QSettings::IniFormat);
            ini.setValue("COM/Number", com);
            ini.setValue("COM/Speed", 9600);
        }
        AppFixture::SetUp();
    }
    bool enabled(const char *name) { return find<QPushButton>(name)->isEnabled(); }
    PtyPair m_pty;
};

TEST_F(PortOpen, OpenPortEnablesToolsAndDeviceCommandsByKind) {
    ASSERT_TRUE(main().ComPort().Open());
    EXPECT_EQ(main().ComPort().GetBaud(), 9600);
    for (const char *a : {"miScaner", "miUpgradeBC", "miUpgradePD"})
        EXPECT_TRUE(find<QAction>(a)->isEnabled()) << a;
    newProject();
    addBc(238);
    addAl(238, 1);
    const struct {
        QString node;
        bool read, volt, fm;
    } rows[] = {
        {"ПД:250", true, true, true},
        {"БС:238", true, true, true},
        {alNodeText(238, 1), true, true, false},
    };
    for (const auto &r : rows) {
        click(r.node);
        EXPECT_EQ(enabled("bdReadCom"), r.read) << r.node.toStdString();
        EXPECT_EQ(enabled("btGetVoltage"), r.volt) << r.node.toStdString();
        EXPECT_EQ(enabled("btFileManager"), r.fm) << r.node.toStdString();
    }
    click("БС:238");
    EXPECT_TRUE(main().SetPortOpen(false));
    EXPECT_FALSE(main().ComPort().Open());
    for (const char *b : {"bdReadCom", "btGetVoltage", "btFileManager"})
        EXPECT_FALSE(enabled(b)) << b;
    EXPECT_FALSE(find<QAction>("miScaner")->isEnabled());
    EXPECT_TRUE(main().SetPortOpen(true));
    EXPECT_TRUE(enabled("btFileManager"));
    EXPECT_TRUE(find<QAction>("miUpgradePD")->isEnabled());
}

// Handles events until `done` holds or `ms` passed.
bool waitFor(const std::function<bool()> &done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

TEST_F(PortOpen, DeviceGoneClosesThePortAndTheButtonsFollow) {
    newProject();
    click("ПД:250");
    ASSERT_TRUE(enabled("bdReadCom"));
    m_pty.closeMaster(); // the adapter is pulled
    ASSERT_TRUE(waitFor([&] { return !main().ComPort().Open(); }, 3000)) << "the port closes itself";
    for (const char *b : {"bdReadCom", "btGetVoltage", "btFileManager"})
        EXPECT_FALSE(enabled(b)) << b;
    EXPECT_FALSE(find<QAction>("miScaner")->isEnabled());
    // A command tries to open it again; with the device still gone nothing happens.
    main().bdReadComClick();
    EXPECT_FALSE(main().ComPort().Open());
    EXPECT_FALSE(enabled("bdReadCom"));
}

// A device the user has no rights to: opening it fails as EACCES does.
class DeniedDevice : public SerialDevice {
public:
    OpenResult Open(const std::string &) override { return {OpenError::AccessDenied, EACCES}; }
    void Close() override {}
    bool IsOpen() const override { return false; }
    bool Configure(const ::LineSettings &) override { return false; }
    void RequestLowLatency() override {}
    IoResult Read(void *, size_t) override { return {IoStatus::Failed, 0, EBADF}; }
    IoResult Write(const void *, size_t) override { return {IoStatus::Failed, 0, EBADF}; }
    int InQueue() override { return -1; }
    int OutQueue() override { return -1; }
    void Purge(bool, bool) override {}
    WaitResult WaitEvent(bool, int) override { return {}; }
    void WakeEventWaiter() override {}
    WaitResult WaitWritable(int) override { return {}; }
    bool GetModemLines(uint32_t &) override { return false; }
    bool SetDtr(bool) override { return false; }
    bool SetRts(bool) override { return false; }
    bool SetBreak(bool) override { return false; }
    bool GetLineCounters(LineCounters &) override { return false; }
};

TEST_F(PortOpen, CommandOnAPortWithoutRightsLogsHowToJoinDialout) {
    newProject();
    click("ПД:250");
    main().SetPortOpen(false);
    SetSerialDeviceFactory([] { return std::make_unique<DeniedDevice>(); });
    main().bdReadComClick();
    SetSerialDeviceFactory({});
    EXPECT_FALSE(main().ComPort().Open());
    const QString log = find<QPlainTextEdit>("mmInfo")->toPlainText();
    EXPECT_TRUE(log.contains("dialout")) << log.toStdString();
    EXPECT_FALSE(log.contains("Нет ответа")) << "nothing was sent";
}

TEST(ProgramFile, CarriesItsVersion) {
    FileVersion v;
    ASSERT_TRUE(GetFileVersion(TALVIKCFG_PROGRAM, v));
    EXPECT_EQ(v.major, TALVIK_EXPECTED_MAJOR);
    EXPECT_EQ(v.minor, TALVIK_EXPECTED_MINOR);
}
} // namespace
