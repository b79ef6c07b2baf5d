// The repeats of a read at their real timing, against a mute device and a slow one.
#include <gtest/gtest.h>

#include "sim_demo.h"
#include "sim_harness.h"

namespace {

constexpr int kBaud = 115200;

size_t CountRequests(const std::vector<SimHarness::Heard> &heard, const std::string &what) {
    size_t n = 0;
    for (const auto &h : heard)
        n += h.text.find(what) != std::string::npos;
    return n;
}

TEST(RepeatE2e, MuteDeviceGetsThreeTransmissionsThenOneFailureLine) {
    SimHarness sim(kBaud);
    sim.withNetwork([](SimNetwork &n) {
        n.setMuted(250, true);
        return 0;
    });
    ProgramSide program(sim.comNumber(), kBaud, MakeDemoProject(), kRealTimings);

    const qint64 start = NowMs();
    ASSERT_TRUE(program.protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Нет ответа от устройства"); }, 9000));
    program.Wait(300);

    const auto heard = sim.heard();
    ASSERT_EQ(CountRequests(heard, "-> 250 from 254 GETSETTING"), 3u);
    const qint64 expected[] = {0, 2500, 5000};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_GE(heard[i].atMs - start, expected[i] - 20) << "transmission " << i + 1;
        EXPECT_LE(heard[i].atMs - start, expected[i] + 200) << "transmission " << i + 1;
    }
    ASSERT_EQ(program.log.size(), 1u) << "one failure line and nothing else";
    EXPECT_GE(program.log[0].atMs - start, 7500 - 20);
    EXPECT_LE(program.log[0].atMs - start, 7500 + 200);
    EXPECT_EQ(program.CountEvents("pd "), 0u) << "no window opens";
    EXPECT_FALSE(program.protocol->Exchange().RepeatsActive());
}

TEST(RepeatE2e, AReplyAfterThreeSecondsStopsTheRepeats) {
    // The device answers every request 3 s late: the first reply lands after the second
    // transmission (2.5 s) and before the third would go (5 s).
    SimHarness sim(kBaud, {}, std::chrono::milliseconds(3000));
    ProgramSide program(sim.comNumber(), kBaud, MakeDemoProject(), kRealTimings);

    const qint64 start = NowMs();
    program.protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr);
    ASSERT_TRUE(program.WaitFor([&] { return program.CountEvents("pd ") >= 1; }, 4500));
    EXPECT_GE(program.dispatched.front().atMs - start, 3000);
    program.Wait(8000 - static_cast<int>(NowMs() - start));

    EXPECT_EQ(CountRequests(sim.heard(), "GETSETTING"), 2u) << "no third transmission";
    EXPECT_FALSE(program.Logged("Нет ответа от устройства"));
}

} // namespace

namespace {

TEST(RepeatE2e, APortWhoseDeviceVanishesEndsInNoReply) {
    constexpr ProtocolTimings kQuick{/*repeatIntervalMs=*/200, /*repeatTransmissions=*/3, /*sweepIntervalMs=*/500};
    auto sim = std::make_unique<SimHarness>(kBaud);
    sim->withNetwork([](SimNetwork &n) {
        n.setMuted(250, true);
        return 0;
    });
    ProgramSide program(sim->comNumber(), kBaud, MakeDemoProject(), kQuick);
    program.protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr);
    program.Wait(50);
    sim.reset(); // the pseudo-terminal goes away under the open port, like a pulled adapter
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Нет ответа от устройства"); }, 3000));
    EXPECT_FALSE(program.port.IsEnabled()) << "the port closed itself";
    EXPECT_FALSE(program.protocol->Exchange().SendFrame(250, "GETSETTING")) << "nothing can be sent now";
}

} // namespace
