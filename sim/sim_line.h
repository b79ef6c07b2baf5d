#pragma once
// Moves bytes between the simulated network and a port at the pace of a real line: every
// byte takes 10 bit times (start, 8 data, stop) in both directions, and each reply waits a
// settable delay first. Runs on a thread of its own; the network stays open to a test
// through withNetwork().
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim_faults.h"
#include "sim_network.h"
#include "sim_port.h"

struct LineSettings {
    int baud = 19200;  // 0 or below: bytes go at once (in-process tests that are not about timing)
    std::chrono::milliseconds replyDelay{0};
    // A client that takes no bytes for this long loses the rest of a reply, rather than
    // the whole network hanging on a port nobody reads.
    std::chrono::milliseconds stallLimit{2000};
    // Replies left unread this long are thrown away. A pseudo-terminal keeps bytes for a
    // client that closed its port; a real line loses them, and a configurator that reopens
    // its port after rebooting a PD must not find an old OK_REBOOT waiting.
    std::chrono::milliseconds unreadLimit{1000};
};

using TraceFn = std::function<void(const std::string &)>;

class SimLine {
public:
    SimLine(SimNetwork &net, SimPort &port, LineSettings line, FaultSettings faults, TraceFn trace = {});
    ~SimLine();
    SimLine(const SimLine &) = delete;
    SimLine &operator=(const SimLine &) = delete;

    void start();
    void stop();
    // True once the port failed (an attached device went away); the thread has ended then.
    bool failed() const { return m_failed; }
    std::string error() const;

    template <class F>
    auto withNetwork(F &&f) {
        std::lock_guard<std::mutex> lock(m_netMutex);
        return f(m_net);
    }

    struct Stats {
        size_t requests = 0, replies = 0, dropped = 0, corrupted = 0, noisy = 0;
    };
    Stats stats() const;

    // Line time of `bytes` bytes at `baud` (10 bits each); 0 when unpaced.
    static std::chrono::nanoseconds LineTime(size_t bytes, int baud);
    // "-> 250 from 254 GETSETTING": printable text, other bytes as \xNN, long payloads cut.
    static std::string TraceLine(const char *arrow, const SimFrame &f);

private:
    void run();
    bool waitUntil(SimClock::time_point t);  // false when stopping
    bool send(const std::vector<uint8_t> &bytes);
    bool writeAll(const uint8_t *data, size_t size);
    void fail(const std::string &why);
    void trace(const std::string &line);
    void dropUnreadReplies();

    SimNetwork &m_net;
    SimPort &m_port;
    int m_fd;
    LineSettings m_line;
    FaultInjector m_faults;
    TraceFn m_trace;

    std::mutex m_netMutex;
    mutable std::mutex m_stateMutex;  // stats, error, stop flag
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::atomic<bool> m_failed{false};
    std::string m_error;
    Stats m_stats;
    std::thread m_thread;
    SimClock::time_point m_rxFree{}, m_txFree{};
    uint64_t m_written = 0;        // bytes ever written to the port
    uint64_t m_takenByClient = 0;  // of those, how many the client had read at the last look
    SimClock::time_point m_unreadSince{};
    SimClock::time_point m_started = SimClock::now();
};
