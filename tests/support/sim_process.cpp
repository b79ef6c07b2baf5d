#include "sim_process.h"

#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

SimProcess::SimProcess(const std::string &program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    int out[2];
    if (pipe(out) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char *> argv;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    m_out = out[0];
}

SimProcess::~SimProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_out >= 0)
        close(m_out);
}

std::string SimProcess::line(std::chrono::milliseconds timeout) {
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

std::string SimProcess::rest() {
    std::string all = m_buf;
    char tmp[4096];
    ssize_t n;
    while ((n = read(m_out, tmp, sizeof tmp)) > 0)
        all.append(tmp, size_t(n));
    return all;
}

void SimProcess::signal(int sig) {
    if (m_pid > 0)
        kill(m_pid, sig);
}

int SimProcess::wait() {
    if (m_pid <= 0)
        return -1;
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
