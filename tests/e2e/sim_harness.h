#pragma once
// The simulated network running in-process on its own thread, on a pseudo-terminal
// registered as COM<N> in a ports folder of the test's own; and the program's side:
// the real TCommPort on that COM number with the protocol logic on top.
#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TCommPort.h"
#include "device_protocol.h"
#include "recording_view.h"
#include "sim_faults.h"
#include "sim_line.h"
#include "sim_network.h"
#include "sim_port.h"
#include "tcommport_link.h"
#include "temp_dir.h"

// Milliseconds on the steady clock since the test program started: one time base for
// both the simulator's thread and the program's side.
qint64 NowMs();

class SimHarness {
public:
    SimHarness(int baud, const FaultSettings &faults = {}, std::chrono::milliseconds replyDelay = {});
    ~SimHarness();

    int comNumber() const { return m_com; }
    // Arrival times of the requests the devices heard, with their trace text.
    struct Heard {
        qint64 atMs;
        std::string text;
    };
    std::vector<Heard> heard() const;
    SimLine &line() { return *m_line; }
    template <class F> auto withNetwork(F &&f) { return m_line->withNetwork(std::forward<F>(f)); }

private:
    TempDir m_dir;
    std::unique_ptr<SimPort> m_port;
    std::unique_ptr<SimNetwork> m_net;
    std::unique_ptr<SimLine> m_line;
    int m_com = -1;
    mutable std::mutex m_heardMutex;
    std::vector<Heard> m_heard;
};

// One accepted frame as the exchange handed it to the dispatcher.
struct DispatchedFrame {
    std::string payload;
    uint8_t source;
    qint64 atMs;
};

struct LogLine {
    std::string text;
    qint64 atMs;
};

class ProgramSide {
public:
    ProgramSide(int comNumber, int baud, std::unique_ptr<Project> project, const ProtocolTimings &timings);
    ~ProgramSide();

    // Handles events until `done` holds or `timeoutMs` passed; returns `done()`.
    bool WaitFor(const std::function<bool()> &done, int timeoutMs);
    void Wait(int ms) { protocol->Exchange().WaitWithEvents(static_cast<uint32_t>(ms)); }
    bool Logged(const std::string &text) const;
    size_t CountEvents(const std::string &prefix) const;

    TCommPort port;
    std::unique_ptr<TCommPortLink> link;
    RecordingView view;
    std::unique_ptr<Project> project;
    std::vector<LogLine> log;
    std::vector<DispatchedFrame> dispatched;
    std::unique_ptr<DeviceProtocol> protocol;
};
