// The simulator is killed under the open program and started again on the same COM number,
// as a USB adapter is pulled and plugged in again: the main log says both, and the next PD
// read through the window works without any dialog. Real process, real one-second check.
#include "app_fixture.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSettings>

#include <csignal>

#include "TCommPort.h"
#include "port_texts.h"
#include "sim_process.h"

namespace {

constexpr int kCom = 6;

class Replug : public AppFixture {
protected:
    void SetUp() override {
        SetSettingsDirOverride(m_dir.path());
        m_sim = startSim();
        ASSERT_TRUE(m_sim);
        {
            QSettings ini(QString::fromStdString((m_dir / "talvikcfg.ini").string()), QSettings::IniFormat);
            ini.setValue("COM/Number", kCom);
            ini.setValue("COM/Speed", 115200);
        }
        AppFixture::SetUp();
        QObject::connect(&main(), &TfrMain::infoLogged, [this](const QString &t) { m_log << t; });
    }
    void TearDown() override {
        AppFixture::TearDown();
        m_sim.reset();
    }
    std::unique_ptr<SimProcess> startSim() {
        auto sim = std::make_unique<SimProcess>(
            TALVIK_SIM_PATH,
            std::vector<std::string>{"--ports-dir", PortsDir().string(), "--files-dir", (m_dir / "files").string(),
                                     "--com", std::to_string(kCom), "--baud", "115200"});
        const std::string first = sim->line();
        EXPECT_EQ(first.rfind("COM" + std::to_string(kCom) + " -> ", 0), 0u) << first;
        return first.empty() ? nullptr : std::move(sim);
    }
    bool waitFor(const std::function<bool()> &done, int ms) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    bool readButton() { return find<QPushButton>("bdReadCom")->isEnabled(); }
    QWidget *readWindow() { return find<QWidget>("TfrReadParams"); }

    std::unique_ptr<SimProcess> m_sim;
    QStringList m_log;
};

TEST_F(Replug, KilledSimulatorStartedAgainIsReadWithinTwoSecondsWithoutADialog) {
    ASSERT_TRUE(main().ComPort().Open());
    newProject();
    click("ПД:250");
    ASSERT_TRUE(readButton());
    m_dialogs.clearAsked();

    m_sim->signal(SIGKILL);
    m_sim->wait();
    ASSERT_TRUE(waitFor([&] { return !main().ComPort().Open(); }, 3000)) << "the port follows its device away";
    EXPECT_FALSE(readButton());
    EXPECT_TRUE(m_log.contains(DeviceGoneText(kCom))) << m_log.join('\n').toStdString();

    m_sim = startSim();
    ASSERT_TRUE(m_sim);
    QElapsedTimer sinceBack;
    sinceBack.start();
    ASSERT_TRUE(waitFor([&] { return readButton(); }, 2000)) << "the port came back by itself";
    EXPECT_TRUE(m_log.contains(DeviceBackText(kCom))) << m_log.join('\n').toStdString();
    find<QPushButton>("bdReadCom")->click();
    ASSERT_TRUE(waitFor([&] { return readWindow()->isVisible(); }, 2000 - int(sinceBack.elapsed())))
        << m_log.join('\n').toStdString();
    EXPECT_LT(sinceBack.elapsed(), 2000);
    EXPECT_TRUE(m_dialogs.asked().empty()) << "no dialog on the way";
}

} // namespace
