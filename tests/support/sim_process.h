#pragma once
// talvik-sim as a separate process, started the way a user starts it, its standard output
// read line by line. Killed with SIGKILL when the object goes, unless it was waited for.
#include <chrono>
#include <string>
#include <vector>

#include <sys/types.h>

class SimProcess {
public:
    SimProcess(const std::string &program, std::vector<std::string> args);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool started() const { return m_pid > 0; }
    // The next line of its standard output, or "" after the timeout.
    std::string line(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // Everything it writes until it closes its output.
    std::string rest();
    void signal(int sig);
    // Waits for the end; its exit status, or -1 when a signal ended it.
    int wait();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_buf;
};
