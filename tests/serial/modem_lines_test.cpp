// Modem lines and line events, played through a device that wraps the pty and answers
// the modem queries a pty refuses.
#include "port_fixture.h"

#include "serial_device.h"
#include "serial_timings.h"

#include <QSignalSpy>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

// What the test sets on the "UART": lines, counters, and whether opening is refused.
struct ScriptedLines {
    std::atomic<uint32_t> lines{0};
    std::atomic<int> errors{0};
    std::atomic<int> breaks{0};
    std::atomic<bool> refuseAccess{false};
    // While set, the first look at the lines waits for it to clear (at most 3 s), so the
    // test decides what the status thread's first look comes after.
    std::atomic<bool> holdFirstLook{false};
    std::atomic<int> looks{0};
};

class ScriptedLinesDevice final : public SerialDevice {
public:
    explicit ScriptedLinesDevice(ScriptedLines &script) : m_real(CreateSerialDevice()), m_script(script) {}

    OpenResult Open(const std::string &path) override {
        if (m_script.refuseAccess)
            return {OpenError::AccessDenied, EACCES};
        return m_real->Open(path);
    }
    void Close() override { m_real->Close(); }
    bool IsOpen() const override { return m_real->IsOpen(); }
    bool Configure(const LineSettings &s) override { return m_real->Configure(s); }
    void RequestLowLatency() override { m_real->RequestLowLatency(); }
    IoResult Read(void *b, size_t n) override { return m_real->Read(b, n); }
    IoResult Write(const void *d, size_t n) override { return m_real->Write(d, n); }
    int InQueue() override { return m_real->InQueue(); }
    int OutQueue() override { return m_real->OutQueue(); }
    void Purge(bool in, bool out) override { m_real->Purge(in, out); }
    WaitResult WaitEvent(bool watch, int ms) override { return m_real->WaitEvent(watch, ms); }
    void WakeEventWaiter() override { m_real->WakeEventWaiter(); }
    WaitResult WaitWritable(int ms) override { return m_real->WaitWritable(ms); }
    bool GetModemLines(uint32_t &bits) override {
        if (m_script.looks.fetch_add(1) == 0) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (m_script.holdFirstLook && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        bits = m_script.lines.load();
        return true;
    }
    bool SetDtr(bool) override { return true; }
    bool SetRts(bool) override { return true; }
    bool SetBreak(bool) override { return true; }
    bool GetLineCounters(LineCounters &c) override {
        c = {};
        c.errors = m_script.errors.load();
        c.brk = m_script.breaks.load();
        return true;
    }

private:
    std::unique_ptr<SerialDevice> m_real;
    ScriptedLines &m_script;
};

class ModemLines : public PortFixture {
protected:
    void SetUp() override {
        PortFixture::SetUp();
        m_savedPoll = Timings().modemPollMs;
        Timings().modemPollMs = 5;
        SetSerialDeviceFactory([this] { return std::make_unique<ScriptedLinesDevice>(m_script); });
    }
    void TearDown() override {
        PortFixture::TearDown();
        SetSerialDeviceFactory({});
        Timings().modemPollMs = m_savedPoll;
    }
    ScriptedLines m_script;
    int m_savedPoll = 0;
};

TEST_F(ModemLines, HardwareHandshakeSendsAtOnceWhenCtsIsAlreadyOnAtOpen) {
    // The bytes are queued, and the writer has found CTS off, before the status thread's
    // first look finds it on; the line never changes after that, so only that first look
    // can start the writer.
    m_script.lines = kModemCts;
    m_script.holdFirstLook = true;
    m_port->SetComControl(TCommPort::ccHard);
    OpenPort();
    ASSERT_EQ(m_port->PutBlock("go", 2), 2u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the writer takes microseconds
    EXPECT_FALSE(m_port->CTS()) << "the first look was not held";
    const auto released = std::chrono::steady_clock::now();
    m_script.holdFirstLook = false;
    EXPECT_EQ(m_pty->readMaster(2, 3000), "go");
    // "At once": microseconds in fact; the bound leaves room for a loaded machine under
    // ThreadSanitizer, and is far below the 3 s a stuck writer would take.
    EXPECT_LT(std::chrono::steady_clock::now() - released, std::chrono::milliseconds(1000));
}

TEST_F(ModemLines, HardwareHandshakeHoldsBytesUntilCtsComesOn) {
    m_port->SetComControl(TCommPort::ccHard);
    OpenPort();
    QSignalSpy cts(m_port.get(), &TCommPort::OnCTSSignal);
    ASSERT_EQ(m_port->PutBlock("held", 4), 4u);
    EXPECT_EQ(m_pty->readMaster(1, 100), "");
    m_script.lines = kModemCts;
    EXPECT_EQ(m_pty->readMaster(4, 3000), "held");
    EXPECT_TRUE(m_port->CTS());
    EXPECT_TRUE(m_port->GetModemState(1));
    ASSERT_TRUE(WaitFor([&] { return cts.count() >= 1; }));
}

TEST_F(ModemLines, LineChangesReachFlagsAndSignalsInOrder) {
    // Ring on at open: seeing it proves the status thread took its first look.
    m_script.lines = kModemRing;
    OpenPort();
    ASSERT_TRUE(WaitFor([&] { return m_port->Ring(); }));
    std::vector<std::string> order;
    auto note = [&order](const char *name) {
        return [&order, name](TCommPort *) { order.push_back(name); };
    };
    QObject::connect(m_port.get(), &TCommPort::OnCTSSignal, m_port.get(), note("cts"));
    QObject::connect(m_port.get(), &TCommPort::OnDCDSignal, m_port.get(), note("dcd"));
    QObject::connect(m_port.get(), &TCommPort::OnDSRSignal, m_port.get(), note("dsr"));
    QObject::connect(m_port.get(), &TCommPort::OnRingSignal, m_port.get(), note("ring"));
    m_script.lines = kModemCts | kModemDsr | kModemDcd; // ring goes off
    ASSERT_TRUE(WaitFor([&] { return order.size() >= 4; }));
    EXPECT_EQ(order, (std::vector<std::string>{"cts", "dcd", "dsr", "ring"}));
    EXPECT_TRUE(m_port->CTS() && m_port->DSR() && m_port->DCD());
    EXPECT_FALSE(m_port->Ring());
    for (int n : {1, 2, 4})
        EXPECT_TRUE(m_port->GetModemState(n)) << n;
    EXPECT_FALSE(m_port->GetModemState(3));

    m_port->SetOpen(false);
    EXPECT_FALSE(m_port->CTS() || m_port->DSR() || m_port->DCD() || m_port->Ring());
}

TEST_F(ModemLines, LineErrorsAndBreaksAreReported) {
    m_script.lines = kModemCts;
    OpenPort();
    ASSERT_TRUE(WaitFor([&] { return m_port->CTS(); })); // the counters' first look is taken
    QSignalSpy errors(m_port.get(), &TCommPort::OnErrorSignal);
    QSignalSpy breaks(m_port.get(), &TCommPort::OnBreakSignal);
    m_script.errors = 1;
    m_script.breaks = 1;
    ASSERT_TRUE(WaitFor([&] { return errors.count() >= 1 && breaks.count() >= 1; }));
    EXPECT_TRUE(m_port->Open()) << "a line error does not close the port";
}

TEST_F(ModemLines, UnwatchedEventsAreNotReported) {
    m_port->MonitorEvents = TCommPort::EventBit(TCommPort::evRxChar);
    OpenPort();
    QSignalSpy cts(m_port.get(), &TCommPort::OnCTSSignal);
    QSignalSpy rx(m_port.get(), &TCommPort::OnRxDSignal);
    m_script.lines = kModemCts;
    ASSERT_TRUE(WaitFor([&] { return m_port->CTS(); }));
    ASSERT_TRUE(m_pty->writeMaster("z", 1));
    ASSERT_TRUE(WaitFor([&] { return rx.count() >= 1; }));
    EXPECT_EQ(cts.count(), 0);
}

TEST_F(ModemLines, TransmitEmptyFollowsTheLastQueuedByte) {
    OpenPort();
    QSignalSpy txEmpty(m_port.get(), &TCommPort::OnTxDSignal);
    ASSERT_EQ(m_port->PutBlock("abc", 3), 3u);
    ASSERT_TRUE(WaitFor([&] { return txEmpty.count() >= 1; }));
    EXPECT_EQ(m_port->GetOutBuffUsed(), 0u);
}

TEST_F(ModemLines, LackOfRightsSaysHowToJoinDialout) {
    m_script.refuseAccess = true;
    m_port->SetComNumber(1);
    m_port->SetOpen(true);
    EXPECT_FALSE(m_port->Open());
    EXPECT_TRUE(m_port->LastOpenError().contains("dialout")) << m_port->LastOpenError().toStdString();

    m_script.refuseAccess = false;
    m_port->SetOpen(true);
    EXPECT_TRUE(m_port->Open());
    EXPECT_TRUE(m_port->LastOpenError().isEmpty());
}

} // namespace
