// A port that closed because its device vanished opens again by itself when the device,
// or a new one behind the same COM link, comes back.
#include "port_fixture.h"

#include "app_paths.h"
#include "port_names.h"
#include "port_return_watch.h"
#include "serial_device.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>

namespace {

constexpr int kCheckMs = 20;

class PortReturn : public PortFixture {
protected:
    void SetUp() override {
        PortFixture::SetUp();
        // Counts the opens the watch tries: none while the device is absent.
        SetSerialDeviceFactory([this] {
            ++m_opens;
            return CreateSerialDevice();
        });
        m_watch = std::make_unique<PortReturnWatch>(*m_port, kCheckMs);
        QObject::connect(m_port.get(), &TCommPort::OnDeviceGone, m_watch.get(), &PortReturnWatch::Start);
    }
    void TearDown() override {
        m_watch.reset();
        PortFixture::TearDown();
        SetSerialDeviceFactory({});
    }
    // The far end goes away with its pseudo-terminal: the COM link is left pointing at nothing,
    // as a killed simulator or a pulled adapter leaves it.
    void pullDevice() {
        m_pty->closeSlaveKeeper();
        m_pty->closeMaster();
        ASSERT_TRUE(WaitFor([&] { return !m_port->Open(); }));
    }
    std::unique_ptr<PortReturnWatch> m_watch;
    std::atomic<int> m_opens{0};
};

TEST_F(PortReturn, ReopensWhenTheLinkPointsAtALiveDeviceAgain) {
    OpenPort();
    QSignalSpy reopened(m_watch.get(), &PortReturnWatch::reopened);
    pullDevice();
    ASSERT_TRUE(m_watch->Watching());
    const int opensWhileGone = m_opens;
    QTest::qWait(10 * kCheckMs);
    EXPECT_EQ(m_opens, opensWhileGone) << "no open is tried while the device is absent";
    EXPECT_EQ(reopened.count(), 0);

    NewFarEnd();
    ASSERT_TRUE(WaitFor([&] { return m_port->Open(); }, 2000));
    EXPECT_EQ(reopened.count(), 1);
    EXPECT_FALSE(m_watch->Watching());
    // The reopened port carries bytes.
    ASSERT_EQ(m_port->PutBlock("hi", 2), 2u);
    EXPECT_EQ(m_pty->readMaster(2, 2000), "hi");
}

TEST_F(PortReturn, StopsWhenTheUserMovesOnOrOpensThePortHimself) {
    const struct {
        const char *name;
        std::function<void()> act;
    } rows[] = {
        {"another COM number chosen", [this] { m_port->SetComNumber(7); }},
        {"opened by a command",
         [this] {
             NewFarEnd();
             m_port->SetOpen(true);
         }},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        m_port->SetComNumber(1);
        NewFarEnd();
        OpenPort();
        QSignalSpy reopened(m_watch.get(), &PortReturnWatch::reopened);
        pullDevice();
        ASSERT_TRUE(m_watch->Watching());
        r.act();
        EXPECT_TRUE(WaitFor([&] { return !m_watch->Watching(); }, 1000));
        EXPECT_EQ(reopened.count(), 0);
        m_port->SetOpen(false);
    }
}

} // namespace
