// Bytes through the two rings over a real pseudo-terminal: order, wrap-around, a full
// receive ring, a full transmit ring, and close with bytes still queued.
#include "port_fixture.h"

#include <QCoreApplication>
#include <QSignalSpy>

namespace {

using RingTransfer = PortFixture;

TEST_F(RingTransfer, BytesTravelBothWaysInOrder) {
    OpenPort();
    CollectReceived();
    const std::string in = Pattern(3000, 7);
    for (size_t off = 0; off < in.size(); off += 500)
        ASSERT_TRUE(m_pty->writeMaster(in.data() + off, 500));
    const std::string out = Pattern(3000, 99);
    ASSERT_EQ(m_port->PutBlock(out.data(), unsigned(out.size())), out.size());

    EXPECT_EQ(m_pty->readMaster(out.size(), 3000), out);
    ASSERT_TRUE(WaitFor([&] { return m_received.size() >= in.size(); }));
    EXPECT_EQ(m_received, in);
}

// A ring of `ring` bytes gets `first` bytes, hands them on, then `second` bytes which
// have to cross the end of the ring and come out in order.
struct WrapCase {
    const char *name;
    unsigned ring, first, second;
};
const WrapCase kWrapCases[] = {
    {"second_block_wraps_midway", 64, 40, 40},
    {"second_block_ends_exactly_at_ring_end", 64, 40, 24},
    {"second_block_fills_whole_ring", 64, 1, 64},
};

class RingWrap : public PortFixture, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(RingWrap, TransmitRingKeepsOrderAcrossItsEnd) {
    const WrapCase &c = GetParam();
    m_port->SetOBuffSize(c.ring);
    OpenPort();
    const std::string a = Pattern(c.first, 1), b = Pattern(c.second, 50);
    ASSERT_EQ(m_port->PutBlock(a.data(), c.first), c.first);
    ASSERT_EQ(m_pty->readMaster(c.first, 3000), a);
    ASSERT_TRUE(WaitFor([&] { return m_port->GetOutBuffUsed() == 0; }));
    ASSERT_EQ(m_port->PutBlock(b.data(), c.second), c.second);
    EXPECT_EQ(m_pty->readMaster(c.second, 3000), b);
}

TEST_P(RingWrap, ReceiveRingKeepsOrderAcrossItsEnd) {
    const WrapCase &c = GetParam();
    m_port->SetIBuffSize(c.ring);
    OpenPort();
    const std::string a = Pattern(c.first, 3), b = Pattern(c.second, 70);
    std::string got(c.ring, '\0');
    ASSERT_TRUE(m_pty->writeMaster(a.data(), a.size()));
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == c.first; }));
    ASSERT_EQ(m_port->GetBlock(got.data(), c.ring), c.first);
    EXPECT_EQ(got.substr(0, c.first), a);

    ASSERT_TRUE(m_pty->writeMaster(b.data(), b.size()));
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == c.second; }));
    ASSERT_EQ(m_port->GetBlock(got.data(), c.ring), c.second);
    EXPECT_EQ(got.substr(0, c.second), b);
}

INSTANTIATE_TEST_SUITE_P(Blocks, RingWrap, ::testing::ValuesIn(kWrapCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(RingTransfer, BurstLargerThanReceiveRingArrivesWholeAsSpaceIsFreed) {
    m_port->SetIBuffSize(256);
    OpenPort();
    const std::string burst = Pattern(1000, 11);
    ASSERT_TRUE(m_pty->writeMaster(burst.data(), burst.size()));
    // The ring fills completely and the rest waits in the driver.
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == 256; }));
    EXPECT_EQ(m_port->GetInBuffFree(), 0u);

    std::string got;
    char buf[100];
    ASSERT_TRUE(WaitFor([&] {
        // Smaller takes than what waits: each leaves the rest in order for the next.
        unsigned n = m_port->GetBlock(buf, sizeof buf);
        got.append(buf, n);
        return got.size() >= burst.size();
    }));
    EXPECT_EQ(got, burst);
}

TEST_F(RingTransfer, PutBlockTakesOnlyWhatFitsWhileFlowControlHoldsTheLine) {
    // A pseudo-terminal has no CTS line, so hardware handshake keeps every byte in the ring.
    m_port->SetComControl(TCommPort::ccHard);
    OpenPort();
    const std::string big = Pattern(5000);
    EXPECT_EQ(m_port->PutBlock(big.data(), 5000), 4096u);
    EXPECT_EQ(m_port->PutBlock(big.data(), 5000), 0u);
    EXPECT_EQ(m_port->GetOutBuffFree(), 0u);
    EXPECT_EQ(m_pty->readMaster(1, 200), "");

    m_port->FlushOutBuffer();
    EXPECT_EQ(m_port->GetOutBuffUsed(), 0u);
    EXPECT_EQ(m_port->PutBlock(big.data(), 100), 100u);
}

TEST_F(RingTransfer, ClosingWritesTheBytesStillQueued) {
    OpenPort();
    const std::string out = Pattern(4000, 5);
    ASSERT_EQ(m_port->PutBlock(out.data(), unsigned(out.size())), out.size());
    m_port->SetOpen(false);
    EXPECT_FALSE(m_port->IsEnabled());
    EXPECT_EQ(m_pty->readMaster(out.size(), 3000), out);
}

TEST_F(RingTransfer, ClosedPortTakesAndGivesNothing) {
    const char byte = 'x';
    char buf[4];
    EXPECT_EQ(m_port->PutBlock(&byte, 1), 0u);
    EXPECT_EQ(m_port->GetBlock(buf, sizeof buf), 0u);
    EXPECT_EQ(m_port->PutString("abc"), 0);
    EXPECT_EQ(m_port->GetChar(), 0);
}

TEST_F(RingTransfer, CharHelpersMoveSingleBytes) {
    OpenPort();
    EXPECT_EQ(m_port->PutString(""), 0);
    EXPECT_EQ(m_port->PutString("OK"), 2);
    EXPECT_EQ(m_port->PutChar('!'), 1u);
    EXPECT_EQ(m_pty->readMaster(3, 3000), "OK!");
    ASSERT_TRUE(m_pty->writeMaster("AB", 2));
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == 2; }));
    EXPECT_TRUE(m_port->CharReady());
    EXPECT_EQ(m_port->GetChar(), 'A');
    EXPECT_EQ(m_port->GetChar(), 'B');
    EXPECT_FALSE(m_port->CharReady());
}

} // namespace

namespace {

TEST_F(RingTransfer, FlushInBufferDropsWaitingBytesAndReceivingGoesOn) {
    OpenPort();
    ASSERT_TRUE(m_pty->writeMaster("old", 3));
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == 3; }));
    m_port->FlushInBuffer();
    EXPECT_EQ(m_port->GetInBuffUsed(), 0u);
    EXPECT_FALSE(m_port->CharReady());
    ASSERT_TRUE(m_pty->writeMaster("new", 3));
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == 3; }));
    char buf[8];
    ASSERT_EQ(m_port->GetBlock(buf, sizeof buf), 3u);
    EXPECT_EQ(std::string(buf, 3), "new");
}

TEST_F(RingTransfer, EventCharacterRaisesItsSignalWhenWatched) {
    m_port->MonitorEvents |= TCommPort::EventBit(TCommPort::evRxEventChar);
    m_port->SetEventChar('\n');
    OpenPort();
    QSignalSpy eventChar(m_port.get(), &TCommPort::OnRxEventSignal);
    ASSERT_TRUE(m_pty->writeMaster("abc", 3));
    ASSERT_TRUE(WaitFor([&] { return m_port->GetInBuffUsed() == 3; }));
    EXPECT_EQ(eventChar.count(), 0);
    ASSERT_TRUE(m_pty->writeMaster("d\n", 2));
    ASSERT_TRUE(WaitFor([&] { return eventChar.count() == 1; }));
}

} // namespace
