// Reads over a damaged line: noise, split writes, corrupted bytes and lost replies.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "sim_demo.h"
#include "sim_harness.h"

namespace {

constexpr int kBaud = 115200;
constexpr ProtocolTimings kQuick{/*repeatIntervalMs=*/150, /*repeatTransmissions=*/3, /*sweepIntervalMs=*/40};

FaultSettings RoughLine(uint32_t seed) {
    FaultSettings f;
    f.dropShare = 0.25;
    f.corruptShare = 0.2;
    f.noiseShare = 0.5;
    f.splitBytes = 5;
    f.splitGap = std::chrono::milliseconds(1);
    f.seed = seed;
    return f;
}

TEST(FaultsE2e, ReadsSucceedOrReportNoReplyAndNothingIsDispatchedTwice) {
    for (uint32_t seed : {3u, 11u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        SimHarness sim(kBaud, RoughLine(seed));
        ProgramSide program(sim.comNumber(), kBaud, MakeDemoProject(), kQuick);
        Project &p = *program.project;

        int succeeded = 0;
        int failed = 0;
        for (int i = 0; i < 12; ++i) {
            const size_t shownBefore = program.view.events.size();
            const size_t failsBefore = program.log.size();
            switch (i % 3) {
            case 0:
                program.protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr);
                break;
            case 1:
                program.protocol->ReadSelectedDevice(ReadTarget::Bc, FindBcUnit(p, 238), nullptr);
                break;
            default:
                program.protocol->ReadSelectedDevice(ReadTarget::Al, FindBcUnit(p, 240), FindAlLine(p, 240, 1));
                break;
            }
            ASSERT_TRUE(program.WaitFor(
                [&] { return program.view.events.size() > shownBefore || program.log.size() > failsBefore; },
                4 * kQuick.repeatIntervalMs + 500))
                << "read " << i << " neither showed a window nor reported a failure";
            if (program.view.events.size() > shownBefore)
                ++succeeded;
            else
                ++failed;
            for (size_t l = failsBefore; l < program.log.size(); ++l)
                EXPECT_EQ(program.log[l].text, "Нет ответа от устройства");
        }
        program.Wait(200);
        EXPECT_GT(succeeded, 0);
        RecordProperty("succeeded_seed_" + std::to_string(seed), succeeded);
        RecordProperty("failed_seed_" + std::to_string(seed), failed);

        const SimLine::Stats st = sim.line().stats();
        EXPECT_LE(program.dispatched.size(), st.replies - st.dropped - st.corrupted)
            << "more frames dispatched than intact replies were sent";
        for (const DispatchedFrame &f : program.dispatched)
            EXPECT_TRUE(f.source == 250 || f.source == 238 || f.source == 240) << int(f.source);
    }
}

TEST(FaultsE2e, DistinctRepliesAreDispatchedAtMostOnceAndForeignOnesNever) {
    FaultSettings faults = RoughLine(5);
    faults.dropShare = 0;
    SimHarness sim(kBaud, faults);
    ProgramSide program(sim.comNumber(), kBaud, MakeDemoProject(), kQuick);
    CommandExchange &exchange = program.protocol->Exchange();

    // Every request asks for something different, so every intact reply is unique. Between
    // them, requests from another PC address (253): their replies cross the same line and
    // must never be dispatched here.
    std::set<std::string> expected;
    for (uint8_t bc : {238, 240}) {
        for (int prt = 1; prt <= 4; ++prt) {
            exchange.SendFrame(bc, ("GETZONE" + std::to_string(prt)).c_str());
            exchange.SetAddr(253);
            exchange.SendFrame(250, "GETSETTING");
            exchange.SendFrame(bc, "GETDEVICE");
            exchange.SetAddr(254);
            program.Wait(60);
        }
    }
    // Split replies crawl out in 5-byte pieces: wait for the devices to finish answering.
    ASSERT_TRUE(program.WaitFor([&] { return sim.line().stats().replies >= 24; }, 8000));
    program.Wait(200);

    std::map<std::string, int> seen;
    for (const DispatchedFrame &f : program.dispatched) {
        EXPECT_EQ(f.payload.rfind("OK_GETZONE", 0), 0u) << "a reply for address 253 was dispatched: " << f.payload;
        EXPECT_EQ(++seen[std::to_string(f.source) + f.payload], 1) << "dispatched twice: " << f.payload;
    }
    EXPECT_GT(program.dispatched.size(), 0u);
    const SimLine::Stats st = sim.line().stats();
    EXPECT_EQ(st.requests, 24u) << "all requests reached the devices";
    EXPECT_LE(program.dispatched.size(), 8u);
    EXPECT_GE(program.dispatched.size(), 8u - std::min<size_t>(8, st.corrupted)) << "an intact reply was lost";
}

} // namespace
