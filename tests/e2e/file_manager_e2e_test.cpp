// The file manager end to end at 19200 bit/s: its logic on the real TCommPort, over a
// pseudo-terminal, to the simulated PD. One 100 kB file goes up and comes back (about a
// minute each way at this speed); the other cases use small files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "file_manager_program.h"
#include "sim_harness.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kBaud = 19200;

// Real repeats and resends; the waits before a new list tick every 10 ms instead of 1 s.
ProtocolTimings E2eTimings() {
    ProtocolTimings t;
    t.fileWaitTickMs = 10;
    return t;
}

std::string RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string out(n, '\0');
    for (char &c : out)
        c = char(rng() & 0xFF);
    return out;
}

void WriteFile(const fs::path &p, const std::string &bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QString Q(const fs::path &p) {
    return QString::fromStdString(p.string());
}

fs::path PdFolder(SimHarness &sim) {
    return sim.withNetwork([](SimNetwork &n) { return n.folder(250)->path(); });
}

size_t CountHeard(SimHarness &sim, const std::string &what) {
    size_t n = 0;
    for (const auto &h : sim.heard())
        n += h.text.find(what) != std::string::npos;
    return n;
}

TEST(FileManagerE2e, A100kFileGoesUpComesBackTheSameAndIsDeleted) {
    SimHarness sim(kBaud);
    FileManagerProgram program(sim.comNumber(), kBaud, E2eTimings());
    TempDir local;
    const std::string bytes = RandomBytes(100 * 1024, 5);
    WriteFile(local / "big.bin", bytes);

    ASSERT_TRUE(program.logic.StartUpload(Q(local / "big.bin"), "big.bin"));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Загрузка файла успешно"); }, 90000));
    EXPECT_EQ(ReadFile(PdFolder(sim) / "big.bin"), bytes);
    EXPECT_EQ(CountHeard(sim, "UPLOAD_PART"), (bytes.size() + 488) / 489) << "no part was sent twice";
    EXPECT_TRUE(program.mainLog.empty());
    // The list after the wait shows the new file.
    ASSERT_TRUE(program.WaitFor([&] { return !program.view.listing.empty(); }, 5000));
    EXPECT_NE(program.view.listing.back().find("big.bin 102400"), std::string::npos) << program.view.listing.back();

    ASSERT_TRUE(program.logic.StartDownload("big.bin", Q(local / "back.bin")));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Загрузка файла закончена"); }, 90000));
    EXPECT_TRUE(program.Logged("Загрузка файла успешна без ошибок"));
    EXPECT_EQ(ReadFile(local / "back.bin"), bytes);

    program.view.log.clear();
    ASSERT_TRUE(program.logic.Delete("big.bin"));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Удаление файла успешно"); }, 3000));
    EXPECT_FALSE(fs::exists(PdFolder(sim) / "big.bin"));
    EXPECT_TRUE(program.mainLog.empty()) << program.mainLog.front();
}

TEST(FileManagerE2e, ACyrillicNameIsListedAsCyrillicAndTravelsBothWays) {
    SimHarness sim(kBaud);
    FileManagerProgram program(sim.comNumber(), kBaud, E2eTimings());
    WriteFile(PdFolder(sim) / "Сигнал тревоги.wav", "abc");
    program.logic.List();
    ASSERT_TRUE(program.WaitFor([&] { return !program.view.listing.empty(); }, 3000));
    EXPECT_EQ(program.view.listing.back(), "Сигнал тревоги.wav 3\n");

    TempDir local;
    ASSERT_TRUE(program.logic.StartDownload("Сигнал тревоги.wav", Q(local / "alarm.wav")));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Загрузка файла успешна без ошибок"); }, 3000));
    EXPECT_EQ(ReadFile(local / "alarm.wav"), "abc");
    WriteFile(local / "up.wav", "xyz");
    ASSERT_TRUE(program.logic.StartUpload(Q(local / "up.wav"), "Ёлка.wav"));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Загрузка файла успешно"); }, 3000));
    EXPECT_EQ(ReadFile(PdFolder(sim) / "Ёлка.wav"), "xyz");
}

TEST(FileManagerE2e, AnUploadWhosePartRepliesAreLostStallsThenTheNextTrySucceeds) {
    FaultSettings faults;
    faults.dropWord = "OK_UPLOAD_PART";
    faults.dropWordCount = 4; // the first part and its three resends
    SimHarness sim(kBaud, faults);
    FileManagerProgram program(sim.comNumber(), kBaud, E2eTimings());
    TempDir local;
    const std::string bytes = RandomBytes(5000, 9);
    WriteFile(local / "s.bin", bytes);

    ASSERT_TRUE(program.logic.StartUpload(Q(local / "s.bin"), "s.bin"));
    ASSERT_TRUE(program.WaitFor([&] { return CountHeard(sim, "UPLOAD_PART") == 4; }, 6000));
    program.WaitFor([] { return false; }, 1500); // the fourth resend would be due by now
    EXPECT_EQ(CountHeard(sim, "UPLOAD_PART"), 4u) << "one part and three resends, then nothing";
    EXPECT_EQ(sim.line().stats().dropped, 4u);
    EXPECT_TRUE(program.view.log.empty()) << "a stalled upload writes no line";
    EXPECT_TRUE(program.logic.UploadRunning());
    EXPECT_FALSE(fs::exists(PdFolder(sim) / "s.bin"));

    ASSERT_TRUE(program.logic.StartUpload(Q(local / "s.bin"), "s.bin"));
    ASSERT_TRUE(program.WaitFor([&] { return program.Logged("Загрузка файла успешно"); }, 10000));
    EXPECT_EQ(ReadFile(PdFolder(sim) / "s.bin"), bytes);
    EXPECT_TRUE(program.mainLog.empty());
}

TEST(FileManagerE2e, AnErrorInTheMiddleOfADownloadLeavesNoFileBehind) {
    SimHarness sim(kBaud);
    FileManagerProgram program(sim.comNumber(), kBaud, E2eTimings());
    WriteFile(PdFolder(sim) / "log.txt", RandomBytes(12000, 3));
    TempDir local;
    ASSERT_TRUE(program.logic.StartDownload("log.txt", Q(local / "log.txt")));
    ASSERT_TRUE(program.WaitFor([&] { return CountHeard(sim, "DOWNLOAD_PART") >= 6; }, 6000));
    ASSERT_TRUE(program.logic.DownloadRunning());
    // The device gives up the transfer (as its own timeout does): the next part request
    // is answered with an error.
    sim.withNetwork([](SimNetwork &n) { return n.handle(250, "DOWNLOADno-such-file", SimClock::now()); });
    ASSERT_TRUE(program.WaitFor([&] { return !program.mainLog.empty(); }, 3000));
    EXPECT_EQ(program.mainLog.front(), "Ошибка: ERROR_DOWNLOAD");
    EXPECT_FALSE(program.logic.DownloadRunning());
    program.WaitFor([] { return false; }, 500);
    EXPECT_TRUE(fs::is_empty(local.path())) << "neither the name nor a temporary file is left";
    EXPECT_FALSE(program.Logged("Загрузка файла закончена"));
}

TEST(FileManagerE2e, RebootingThePdClosesThePortAtOnceAndListsAfterReopening) {
    SimHarness sim(kBaud);
    FileManagerProgram program(sim.comNumber(), kBaud, E2eTimings());
    program.logic.Reboot();
    EXPECT_FALSE(program.port.IsEnabled()) << "closed at once";
    ASSERT_TRUE(program.WaitFor([&] { return !program.logic.WaitActive(); }, 3000));
    EXPECT_EQ(program.portChanges, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(program.port.IsEnabled());
    ASSERT_TRUE(program.WaitFor([&] { return CountHeard(sim, "LIST") == 1; }, 2000));
    EXPECT_EQ(CountHeard(sim, "REBOOT"), 1u) << "the REBOOT frame left before the port closed";
    EXPECT_TRUE(sim.withNetwork([](SimNetwork &n) { return n.isRebooting(250, SimClock::now()); }));
}

} // namespace
