// talvik-sim as a separate process, the way the configurator's end-to-end tests start it.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "project_file.h"
#include "records.h"
#include "sim_client.h"
#include "sim_demo.h"
#include "temp_dir.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

extern char **environ;

namespace {

class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        args.insert(args.begin(), TALVIK_SIM_PATH);
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char *> argv;
        for (auto &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        m_out = out[0];
    }
    ~SimProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        close(m_out);
    }
    // The next line of its standard output, or "" after the timeout.
    std::string line(std::chrono::milliseconds timeout = 5000ms) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (m_buf.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd pfd{m_out, POLLIN, 0};
            if (poll(&pfd, 1, 50) <= 0)
                continue;
            char tmp[512];
            const ssize_t n = read(m_out, tmp, sizeof tmp);
            if (n <= 0)
                break;
            m_buf.append(tmp, size_t(n));
        }
        const size_t nl = m_buf.find('\n');
        if (nl == std::string::npos)
            return {};
        std::string l = m_buf.substr(0, nl);
        m_buf.erase(0, nl + 1);
        return l;
    }
    std::string rest() {
        std::string all = m_buf;
        char tmp[4096];
        ssize_t n;
        while ((n = read(m_out, tmp, sizeof tmp)) > 0)
            all.append(tmp, size_t(n));
        return all;
    }
    void signal(int sig) { kill(m_pid, sig); }
    int wait() {
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buf;
};

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
    SimProcess sim({"--help"});
    const std::string text = sim.rest();
    EXPECT_EQ(sim.wait(), 0);
    for (const char *opt : {"--project", "--device", "--com", "--baud", "--seed", "--trace", "--dump"})
        EXPECT_NE(text.find(opt), std::string::npos) << opt;
}

TEST(SimProgram, BadOptionIsRefused) {
    SimProcess sim({"--baud", "fast"});
    EXPECT_EQ(sim.wait(), 1);
}

// Registers COM<N>, answers through the link, writes the network into the dump at start and
// what the PC changed on request and on exit, and takes its link away when stopped.
TEST(SimProgram, RunsOnItsComLinkAndDumpsTheNetwork) {
    TempDir dir;
    const fs::path ports = dir / "ports";
    const fs::path dump = dir / "net.cfg";
    SimProcess sim({"--ports-dir", ports.string(), "--files-dir", (dir / "files").string(), "--dump", dump.string(),
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

TEST(SimProgram, HoldsTheProjectItIsGiven) {
    TempDir dir;
    auto p = MakeDemoProject();
    p->settings.adr = 252;
    ASSERT_TRUE(p->bcCount == 2);
    p->bcUnits[1].adr = 249;
    MoveAlLinesToBc(*p, 240, 249);
    std::ofstream(dir / "net.cfg", std::ios::binary) << BuildProjectText(*p);

    SimProcess sim({"--project", (dir / "net.cfg").string(), "--ports-dir", (dir / "ports").string(), "--baud",
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
