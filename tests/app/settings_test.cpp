// talvikcfg.ini read at start and written at exit.
#include "app_fixture.h"

#include <QSettings>
#include <fstream>

#include "TCommPort.h"

namespace {
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { SetSettingsDirOverride(m_dir.path()); }
    void TearDown() override { SetSettingsDirOverride({}); }
    QString iniPath() { return QString::fromStdString((m_dir / "talvikcfg.ini").string()); }
    TempDir m_dir;
};

TEST_F(SettingsFile, FirstStartUsesDefaultsAndWritesAllFiveKeys) {
    {
        AppWindows w = CreateAppWindows();
        EXPECT_EQ(w.main->ComPort().ComNumber(), -1);
        EXPECT_EQ(w.main->ComPort().GetBaud(), 19200);
        EXPECT_EQ(w.main->Addr(), 254);
        EXPECT_EQ(w.main->ScanStart(), "1");
        EXPECT_EQ(w.main->ScanStop(), "255");
        EXPECT_FALSE(w.main->ComPort().Open());
        EXPECT_FALSE(w.main->findChild<QAction *>("miScaner")->isEnabled());
    }
    QSettings ini(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("COM/Number").toString(), "-1");
    EXPECT_EQ(ini.value("COM/Speed").toString(), "19200");
    EXPECT_EQ(ini.value("COM/Addr").toString(), "254");
    EXPECT_EQ(ini.value("SCAN/Start").toString(), "1");
    EXPECT_EQ(ini.value("SCAN/Stop").toString(), "255");
}

TEST_F(SettingsFile, SpeedSelectsRateIndex) {
    const struct {
        int speed;
        int index;
    } rows[] = {{9600, 6}, {12345, 8}, {115200, 12}};
    for (const auto &r : rows) {
        {
            QSettings ini(iniPath(), QSettings::IniFormat);
            ini.setValue("COM/Speed", r.speed);
        }
        AppWindows w = CreateAppWindows();
        EXPECT_EQ(int(w.main->ComPort().BaudRate()), r.index) << r.speed;
    }
}

// A key that is present but holds no number reads as its default, never as 0 (port 0,
// 0 bit/s, bus address 0).
TEST_F(SettingsFile, KeyThatIsNotANumberReadsAsItsDefault) {
    std::ofstream(m_dir / "talvikcfg.ini") << "[COM]\nNumber=abc\nSpeed=\nAddr=2x\n";
    AppWindows w = CreateAppWindows();
    EXPECT_EQ(w.main->ComPort().ComNumber(), -1);
    EXPECT_EQ(w.main->ComPort().GetBaud(), 19200);
    EXPECT_EQ(w.main->Addr(), 254);
}

TEST_F(SettingsFile, ValuesCarriedFromOneRunToTheNext) {
    {
        std::ofstream(m_dir / "talvikcfg.ini") << "[COM]\nNumber=7\nAddr=200\n[SCAN]\nStart=10\nStop=20\n";
    }
    {
        AppWindows w = CreateAppWindows();
        EXPECT_EQ(w.main->ComPort().ComNumber(), 7);
        EXPECT_EQ(w.main->Addr(), 200);
        EXPECT_EQ(w.main->ScanStart(), "10");
        w.main->SetAddr(201);
        w.main->SetScanRange("2", "30");
    }
    QSettings ini(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("COM/Number").toInt(), 7);
    EXPECT_EQ(ini.value("COM/Speed").toInt(), 19200);
    EXPECT_EQ(ini.value("COM/Addr").toInt(), 201);
    EXPECT_EQ(ini.value("SCAN/Start").toString(), "2");
    EXPECT_EQ(ini.value("SCAN/Stop").toString(), "30");
}
} // namespace
