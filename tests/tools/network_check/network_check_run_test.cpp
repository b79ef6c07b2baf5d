// The paced reading of the network check against the simulated devices in-process: what
// is asked, in which order and at which pace, and how silence and a stop end up.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "network_check/network_check_run.h"
#include "sim_demo.h"
#include "sim_network.h"
#include "temp_dir.h"

namespace {

constexpr ProtocolTimings Fast() {
    ProtocolTimings t;
    t.repeatIntervalMs = 40;
    t.checkIntervalMs = 8;
    return t;
}
constexpr ProtocolTimings kFast = Fast();

// The check's frames go to the simulated devices; their replies come back on the next
// turn of the event loop, as the port delivers them.
class CheckAgainstSim : public ::testing::Test {
protected:
    struct Sent {
        uint8_t address;
        std::string text;
        qint64 atMs;
    };

    void SetUp() override { m_clock.start(); }
    void start(const ProtocolTimings &timings = kFast) {
        m_run = std::make_unique<NetworkCheckRun>(
            [this](uint8_t address, const QByteArray &payload) {
                m_sent.push_back({address, payload.toStdString(), m_clock.elapsed()});
                const auto reply = m_net.handle(address, payload.toStdString(), SimClock::now());
                if (reply) {
                    const QByteArray bytes(reinterpret_cast<const char *>(reply->data()), int(reply->size()));
                    QTimer::singleShot(0, [this, bytes, address] {
                        m_tookAll &= m_run->TakeReply(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                      bytes.size(), address);
                    });
                }
                return true;
            },
            timings);
        QObject::connect(m_run.get(), &NetworkCheckRun::finished, [this](bool stopped) {
            m_finished = true;
            m_stopped = stopped;
        });
        m_run->Start(*m_project);
    }
    bool waitFinished(int timeoutMs) {
        QElapsedTimer t;
        t.start();
        while (!m_finished && t.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        return m_finished;
    }
    int sentTo(uint8_t address, const std::string &prefix) const {
        int n = 0;
        for (const Sent &s : m_sent)
            n += s.address == address && s.text.rfind(prefix, 0) == 0;
        return n;
    }

    static SimConfig Config(const TempDir &dir) {
        SimConfig c;
        c.filesDir = dir.path();
        return c;
    }
    TempDir m_dir;
    std::unique_ptr<Project> m_project = MakeDemoProject();
    SimNetwork m_net{MakeDemoProject(), Config(m_dir)};
    std::unique_ptr<NetworkCheckRun> m_run;
    std::vector<Sent> m_sent;
    QElapsedTimer m_clock;
    bool m_finished = false, m_stopped = false, m_tookAll = true;
};

TEST_F(CheckAgainstSim, ReadsThePdEveryUnitAndItsSixteenPortsInOrder) {
    start();
    ASSERT_TRUE(waitFinished(5000));
    EXPECT_FALSE(m_stopped);
    ASSERT_EQ(m_sent.size(), 35u) << "GETSETTING, then GETDEVICE and 16 GETZONE for each of two units";
    EXPECT_EQ(m_sent[0].text, "GETSETTING");
    EXPECT_EQ(m_sent[0].address, 250);
    EXPECT_EQ(m_sent[1].text, "GETDEVICE");
    EXPECT_EQ(m_sent[1].address, 238);
    EXPECT_EQ(m_sent[2].text, "GETZONE1");
    EXPECT_EQ(m_sent[17].text, "GETZONE16");
    EXPECT_EQ(m_sent[18].address, 240);
    EXPECT_TRUE(m_tookAll) << "every reply is the check's, none reaches the dispatcher";
    EXPECT_EQ(m_run->Done(), m_run->Total());
    EXPECT_TRUE(m_run->Report().matches()) << ReportText(m_run->Report());
}

TEST_F(CheckAgainstSim, ASilentUnitIsAskedThreeTimesAndItsPortsNever) {
    m_net.setMuted(240, true);
    start();
    ASSERT_TRUE(waitFinished(5000));
    EXPECT_EQ(sentTo(240, "GETDEVICE"), 3);
    EXPECT_EQ(sentTo(240, "GETZONE"), 0);
    EXPECT_EQ(sentTo(238, "GETZONE"), 16);
    EXPECT_EQ(ReportText(m_run->Report()), "Записей с расхождениями: 1\nБС:240: не отвечает\n");
}

TEST_F(CheckAgainstSim, StopEndsTheReadingAndTheReportSaysSo) {
    start();
    QObject::connect(m_run.get(), &NetworkCheckRun::progress, [this](int done, int) {
        if (done == 5)
            m_run->Stop();
    });
    ASSERT_TRUE(waitFinished(5000));
    EXPECT_TRUE(m_stopped);
    EXPECT_FALSE(m_run->IsRunning());
    const size_t sent = m_sent.size();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(m_sent.size(), sent) << "nothing is sent after the stop";
    const CheckReport report = m_run->Report();
    EXPECT_FALSE(report.complete);
    EXPECT_EQ(report.notRead, 30);
}

TEST_F(CheckAgainstSim, OnlyRecordRepliesAndTheAskedDevicesErrorsAreTaken) {
    start();
    const QByteArray others[] = {"OK_SETNOTIFY", "OK_LIST", "ERROR_PARAMS"};
    for (const QByteArray &p : others)
        EXPECT_FALSE(m_run->TakeReply(reinterpret_cast<const uint8_t *>(p.constData()), p.size(), 240))
            << p.toStdString() << " from a device not asked";
    const QByteArray late = "OK_GETZONEzone:{num:201, adr:240, prt:1}";
    EXPECT_TRUE(m_run->TakeReply(reinterpret_cast<const uint8_t *>(late.constData()), late.size(), 240))
        << "a stray line is kept from the sweep's merge";
    ASSERT_TRUE(waitFinished(5000));
    EXPECT_FALSE(m_run->TakeReply(reinterpret_cast<const uint8_t *>(late.constData()), late.size(), 240))
        << "after the end the dispatcher has its replies again";
}

// The pace itself: one request every 500 ms, the first at once.
TEST_F(CheckAgainstSim, RequestsGoOutEveryHalfSecond) {
    start(kRealTimings);
    QObject::connect(m_run.get(), &NetworkCheckRun::progress, [this](int done, int) {
        if (done == 4)
            m_run->Stop();
    });
    ASSERT_TRUE(waitFinished(5000));
    ASSERT_EQ(m_sent.size(), 4u);
    EXPECT_LT(m_sent[0].atMs, 100);
    for (size_t i = 1; i < m_sent.size(); ++i) {
        const qint64 gap = m_sent[i].atMs - m_sent[i - 1].atMs;
        EXPECT_GE(gap, 480) << i;
        EXPECT_LE(gap, 700) << i << " (a loaded machine may be late, never early)";
    }
}

} // namespace
