// The port opened at start and the commands that depend on it, over a pseudo-terminal.
#include "app_fixture.h"

#include <QSettings>

#include "TCommPort.h"
#include "file_version.h"
#include "port_names.h"
#include "pty_pair.h"

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

TEST(ProgramFile, CarriesItsVersion) {
    FileVersion v;
    ASSERT_TRUE(GetFileVersion(TALVIKCFG_PROGRAM, v));
    EXPECT_EQ(v.major, TALVIK_EXPECTED_MAJOR);
    EXPECT_EQ(v.minor, TALVIK_EXPECTED_MINOR);
}
} // namespace
