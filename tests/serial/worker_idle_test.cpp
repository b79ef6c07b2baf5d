// No worker may spin: in every state where nothing can move, the process stays idle.
#include "port_fixture.h"

#include <QTest>

#include <chrono>
#include <ctime>
#include <thread>

namespace {

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct IdleCase {
    const char *name;
    void (*arrange)(PortFixture &, TCommPort &, PtyPair &);
};

// The fixture's members are protected; the cases reach the port and pty they are handed.
const IdleCase kIdleCases[] = {
    {"open_port_with_no_traffic", [](PortFixture &, TCommPort &, PtyPair &) {}},
    {"receive_ring_full_and_bytes_waiting_in_driver",
     [](PortFixture &, TCommPort &port, PtyPair &pty) {
         std::string burst(1000, 'r');
         ASSERT_TRUE(pty.writeMaster(burst.data(), burst.size()));
         ASSERT_TRUE(QTest::qWaitFor([&] { return port.GetInBuffUsed() == port.InSize(); }, 3000));
     }},
    {"hardware_handshake_holding_queued_bytes",
     [](PortFixture &, TCommPort &port, PtyPair &) {
         port.SetComControl(TCommPort::ccHard);
         ASSERT_EQ(port.PutBlock("held", 4), 4u);
     }},
    {"far_end_not_reading_and_driver_queue_full",
     [](PortFixture &, TCommPort &port, PtyPair &) {
         std::string big(4096, 'w');
         for (int i = 0; i < 8; ++i)
             port.PutBlock(big.data(), unsigned(big.size()));
     }},
};

class WorkersStayIdle : public PortFixture, public ::testing::WithParamInterface<IdleCase> {};

TEST_P(WorkersStayIdle, WhenNothingCanMove) {
    m_port->SetIBuffSize(64);
    OpenPort();
    GetParam().arrange(*this, *m_port, *m_pty);
    if (HasFatalFailure())
        return;
    const double before = ProcessCpuMs();
    // A measuring window, not a coordination: nothing is expected to happen in it.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double used = ProcessCpuMs() - before;
    EXPECT_LT(used, 30.0) << "a worker is busy while nothing can move";
}

INSTANTIATE_TEST_SUITE_P(States, WorkersStayIdle, ::testing::ValuesIn(kIdleCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
