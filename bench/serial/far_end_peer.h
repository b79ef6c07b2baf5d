#pragma once
// The far end of the benchmark's pseudo-terminal, on a thread of its own: echoes,
// swallows, or talks at a fixed rate. Its own CPU time is kept so it can be left out
// of the port's figures.
#include <atomic>
#include <cstddef>
#include <thread>

class FarEndPeer {
public:
    enum Mode {
        Echo,   // every byte read is written back
        Sink,   // bytes are read and counted
        Paced,  // reads and counts, and writes `bytesPerSecond` in 10 ms slices
    };
    FarEndPeer(int masterFd, Mode mode, size_t bytesPerSecond = 0);
    ~FarEndPeer();
    void Stop();
    size_t Received() const { return m_received.load(); }
    double CpuSeconds() const { return m_cpu.load(); }
    // Called from the peer thread when `Received()` reaches `target` (Sink mode).
    void NotifyAt(size_t target, void (*callback)(void *), void *context);

private:
    void Run();
    int m_fd;
    Mode m_mode;
    size_t m_rate;
    std::atomic<bool> m_stop{false};
    std::atomic<size_t> m_received{0};
    std::atomic<double> m_cpu{0};
    size_t m_target = 0;
    void (*m_callback)(void *) = nullptr;
    void *m_context = nullptr;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};
