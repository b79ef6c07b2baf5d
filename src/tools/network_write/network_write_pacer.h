#pragma once
// Sends a planned list of configuration commands at a fixed pace: the first at once, then
// one per interval, and reports the end one interval after the last, when the last
// device has had its second to take the record. Nothing waits for replies (they are
// logged by the dispatcher as they come); the event loop keeps running between commands,
// so the window stays usable and the write can be stopped between two commands.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "network_write_plan.h"

class NetworkWritePacer : public QObject {
    Q_OBJECT
public:
    // False when the port did not take the frame.
    using Send = std::function<bool(uint8_t address, const QByteArray &payload)>;
    using Log = std::function<void(const QString &text)>;

    NetworkWritePacer(Send send, Log log, int intervalMs, QObject *parent = nullptr);

    // Starts sending `commands`; a running write is not restarted (false).
    bool Start(std::vector<WriteCommand> commands);
    // Stops between two commands: logs how many of how many went out and reports the end
    // as not completed. Nothing once the write is over.
    void Stop();

    bool IsRunning() const { return m_running; }
    int Sent() const { return m_sent; }
    int Total() const { return int(m_commands.size()); }
    int IntervalMs() const { return m_intervalMs; }

signals:
    void commandSent(int sent, int total);
    // completed: every command went out and the last pause is over; false when stopped
    // or when the port refused a command.
    void finished(bool completed);

private:
    void tick();
    void end(bool completed, const char *logText);

    Send m_send;
    Log m_log;
    int m_intervalMs;
    QTimer m_timer;
    std::vector<WriteCommand> m_commands;
    int m_sent = 0;
    bool m_running = false;
};
