#pragma once
// Reading the network for the check: GETSETTING to the PD, then for each BC unit of the
// project GETDEVICE and GETZONE 1..16, one request at a time on a steady tick (one every
// 500 ms, as the AL sweep), each repeated as a command is when it goes unanswered. The
// replies are taken before the dispatcher sees them, so nothing is shown or merged: the
// check never changes the project, and it only ever sends reads.
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "network_check/network_compare.h"
#include "protocol_timings.h"

class NetworkCheckRun : public QObject {
    Q_OBJECT
public:
    // One frame, sent once (the exchange's SendFrame); false when it could not be sent.
    using SendFrame = std::function<bool(uint8_t address, const QByteArray &payload)>;

    NetworkCheckRun(SendFrame send, const ProtocolTimings &timings, QObject *parent = nullptr);

    // Starts reading the devices of `project`, which is copied: the report compares with
    // the project as it was when the check began.
    void Start(const Project &project);
    // Ends the check early; what was read so far is kept, the rest stays unread.
    void Stop();
    bool IsRunning() const { return m_timer.isActive(); }

    // A received frame. True when it belongs to the check (it is then kept from the
    // dispatcher): every record reply while the check runs, and an error reply of the
    // device asked.
    bool TakeReply(const uint8_t *payload, int length, uint8_t source);

    int Done() const { return m_done; }
    int Total() const { return int(m_plan.size()); }
    const NetworkRecords &Network() const { return m_network; }
    CheckReport Report() const { return CompareNetwork(m_project, m_network); }

signals:
    void progress(int done, int total);
    void finished(bool stopped);

private slots:
    void tick();

private:
    enum class Target { Pd, Bc, Port };
    struct Request {
        Target target;
        int bc;  // index into m_network.bcs
        int prt; // 1..16 for a port
        uint8_t address;
        QByteArray command;
    };
    void send();
    void resolve(ReadState state, const std::string &error = {});
    void advance(int requests);
    bool acceptRecord(const char *text);
    void finish(bool stopped);

    SendFrame m_send;
    int m_ticksPerRepeat;
    int m_transmissions;
    QTimer m_timer;
    ProjectRecords m_project;
    NetworkRecords m_network;
    std::vector<Request> m_plan;
    size_t m_next = 0;
    int m_done = 0;
    bool m_awaiting = false;
    int m_sent = 0;      // transmissions of the current request
    int m_sinceSend = 0; // ticks since its last transmission
};
