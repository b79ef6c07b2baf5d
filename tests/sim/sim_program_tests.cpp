// talvik-sim as a separate process, the way the configurator's end-to-end tests start it.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "project_file.h"
#include "records.h"
#include "sim_client.h"
#include "sim_demo.h"
#include "sim_process.h"
#include "temp_dir.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

bool WaitFor(const std::function<bool()> &cond, std::chrono::milliseconds timeout = 3000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!cond()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::string ReadFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SimProgram, HelpDocumentsTheOptions) {
    SimProcess sim(TALVIK_SIM_PATH, {"--help"});
    const std::string text = sim.rest();
    EXPECT_EQ(sim.wait(), 0);
    for (const char *opt : {"--project", "--device", "--com", "--baud", "--seed", "--trace", "--dump"})
        EXPECT_NE(text.find(opt), std::string::npos) << opt;
}

TEST(SimProgram, BadOptionIsRefused) {
    SimProcess sim(TALVIK_SIM_PATH, {"--baud", "fast"});
    EXPECT_EQ(sim.wait(), 1);
}

// Registers COM<N>, answers through the link, writes the network into the dump at start and
// what the PC changed on request and on exit, and takes its link away when stopped.
TEST(SimProgram, RunsOnItsComLinkAndDumpsTheNetwork) {
    TempDir dir;
    const fs::path ports = dir / "ports";
    const fs::path dump = dir / "net.cfg";
    SimProcess sim(TALVIK_SIM_PATH, {"--ports-dir", ports.string(), "--files-dir", (dir / "files").string(), "--dump", dump.string(),
                    "--com", "5", "--baud", "115200"});
    const std::string first = sim.line();
    ASSERT_EQ(first.rfind("COM5 -> /dev/pts/", 0), 0u) << first;
    ASSERT_TRUE(fs::is_symlink(ports / "COM5"));
    EXPECT_EQ(fs::read_symlink(ports / "COM5").string(), first.substr(std::string("COM5 -> ").size()));
    // Written before the port was announced: a script that read the line opens the project at once.
    EXPECT_NE(ReadFile(dump).find("device:{adr:240"), std::string::npos) << ReadFile(dump);

    SimClient pc((ports / "COM5").string());
    ASSERT_TRUE(pc.ok());
    const auto r = pc.ask(250, "GETSETTING");
    ASSERT_TRUE(r);
    EXPECT_EQ(Text(*r).substr(0, 28), "OK_GETSETTINGsetting:{adr:25");

    AlLine l;
    InitZoneRecord(l);
    l.num = 4321;
    l.adr = 240;
    l.prt = 7;
    char buf[kRecordBufferSize];
    BuildZoneRecord(l, buf, sizeof buf);
    const auto w = pc.ask(240, std::string("SETZONE") + buf);
    ASSERT_TRUE(w);
    EXPECT_EQ(Text(*w), "OK_SETZONE7");

    sim.signal(SIGUSR1);
    ASSERT_TRUE(WaitFor([&] { return ReadFile(dump).find("num:4321") != std::string::npos; }));
    fs::remove(dump);

    sim.signal(SIGTERM);
    EXPECT_EQ(sim.wait(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports / "COM5")));
    auto dumped = std::make_unique<Project>();
    ProjectLoadReport report;
    LoadProjectText(*dumped, ReadFile(dump), report);
    ASSERT_NE(FindAlLine(*dumped, 240, 7), nullptr);
    EXPECT_EQ(FindAlLine(*dumped, 240, 7)->num, 4321);
    EXPECT_EQ(dumped->bcCount, 2);
}

// A simulator killed with SIGKILL leaves its link pointing at a pseudo-terminal that is gone.
// The next one asked for that number takes it over; a link to a live device is never taken.
TEST(SimProgram, TakesOverItsNumberFromAKilledSimulator) {
    TempDir dir;
    const fs::path ports = dir / "ports";
    const std::vector<std::string> args = {"--ports-dir", ports.string(), "--com", "4"};
    {
        SimProcess first(TALVIK_SIM_PATH, args);
        const std::string line = first.line();
        ASSERT_EQ(line.rfind("COM4 -> ", 0), 0u) << line;
        first.signal(SIGKILL);
        first.wait();
    }
    ASSERT_TRUE(fs::is_symlink(fs::symlink_status(ports / "COM4"))) << "SIGKILL leaves the link";
    ASSERT_FALSE(fs::exists(ports / "COM4"));

    SimProcess second(TALVIK_SIM_PATH, args);
    const std::string line = second.line();
    ASSERT_EQ(line.rfind("COM4 -> /dev/pts/", 0), 0u) << line;
    EXPECT_EQ(fs::read_symlink(ports / "COM4").string(), line.substr(8));
    SimClient pc((ports / "COM4").string());
    ASSERT_TRUE(pc.ok());
    EXPECT_TRUE(pc.ask(250, "SERVICE"));

    // While it runs, a third one cannot take COM4 from it and moves to a free number.
    SimProcess third(TALVIK_SIM_PATH, args);
    const std::string thirdLine = third.line();
    EXPECT_EQ(thirdLine.rfind("COM1 -> ", 0), 0u) << thirdLine;
    EXPECT_EQ(fs::read_symlink(ports / "COM4").string(), line.substr(8));
}

TEST(SimProgram, HoldsTheProjectItIsGiven) {
    TempDir dir;
    auto p = MakeDemoProject();
    p->settings.adr = 252;
    ASSERT_TRUE(p->bcCount == 2);
    p->bcUnits[1].adr = 249;
    MoveAlLinesToBc(*p, 240, 249);
    std::ofstream(dir / "net.cfg", std::ios::binary) << BuildProjectText(*p);

    SimProcess sim(TALVIK_SIM_PATH, {"--project", (dir / "net.cfg").string(), "--ports-dir", (dir / "ports").string(), "--baud",
                    "115200"});
    const std::string first = sim.line();
    ASSERT_EQ(first.rfind("COM1 -> ", 0), 0u) << first;
    SimClient pc((dir / "ports" / "COM1").string());
    const auto r = pc.ask(249, "GETZONE1");
    ASSERT_TRUE(r);
    EXPECT_EQ(Text(*r).substr(0, 23), "OK_GETZONEzone:{num:201");
    EXPECT_FALSE(pc.ask(250, "SERVICE", 300ms));
    EXPECT_TRUE(pc.ask(252, "SERVICE"));
    sim.signal(SIGINT);
    EXPECT_EQ(sim.wait(), 0);
}

}  // namespace
