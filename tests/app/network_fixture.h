#pragma once
// The whole program against the simulated network: the demo network runs in-process on
// a pseudo-terminal registered as COM<N> in the test's own ports folder; the main window
// opens it through the real TCommPort at start, as it would a USB adapter. Repeats are
// shrunk so a mute device is given up on in about a second; the AL sweep keeps its pace.
#include <QElapsedTimer>
#include <QLineEdit>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "sim_faults.h"
#include "sim_line.h"
#include "sim_network.h"
#include "sim_port.h"

class ReadBackWindow;

inline constexpr ProtocolTimings kNetworkTestTimings{/*repeatIntervalMs=*/300, /*repeatTransmissions=*/3,
                                                     /*sweepIntervalMs=*/500};

class NetworkFixture : public AppFixture {
protected:
    static constexpr int kBaud = 115200;

    void SetUp() override;
    void TearDown() override;

    // The demo network as the program's project, named "Мой проект" and changed by
    // `plan`, opened from a file as the user does: tree built, nothing modified yet.
    void openDemoProject(const std::function<void(Project &)> &plan = {});
    // Handles events until `done` holds or `timeoutMs` passed; returns done().
    bool waitFor(const std::function<bool()> &done, int timeoutMs);
    void wait(int ms);
    // Presses a main-window button the way a user does (it must be enabled).
    void press(const char *button);
    // A compare window (by class name) and a control inside it.
    ReadBackWindow *window(const char *name);
    QString shown(const char *window, const char *control);
    void pressCopy(const char *window);

    struct LogLine {
        QString text;
        qint64 atMs;
    };
    bool logged(const QString &text) const;
    int countLogged(const QString &text) const;
    // Requests the devices heard ("-> 250 from 254 GETSETTING"), with arrival times.
    struct Heard {
        std::string text;
        qint64 atMs;
    };
    std::vector<Heard> heard() const;
    template <class F> auto withNetwork(F &&f) { return m_line->withNetwork(std::forward<F>(f)); }

    // Line faults the simulator plays; set before SetUp runs.
    FaultSettings m_faults;
    // The program's timings; set before SetUp runs.
    ProtocolTimings m_timings = kNetworkTestTimings;
    QElapsedTimer m_clock;
    std::vector<LogLine> m_log;
    int m_com = -1;

private:
    std::unique_ptr<SimPort> m_simPort;
    std::unique_ptr<SimNetwork> m_net;
    std::unique_ptr<SimLine> m_line;
    mutable std::mutex m_heardMutex;
    std::vector<Heard> m_heard;
};
