#pragma once
// The AL sweep: GETZONE 1..16 to one BC, one frame per tick, each sent once without
// waiting; the replies are merged by the dispatcher as they arrive.
#include <QObject>
#include <QTimer>
#include <cstdint>

#include "protocol_log.h"

class CommandExchange;
class ReplyDispatcher;

class AlSweep : public QObject {
    Q_OBJECT
public:
    static constexpr int kLastAl = 16;

    AlSweep(CommandExchange &exchange, ReplyDispatcher &dispatcher, LogSink log, int intervalMs,
            QObject *parent = nullptr);

    // Starts (or restarts at AL 1) the sweep of the BC at `bcAddress`.
    void Start(uint8_t bcAddress);
    // Ends a running sweep at once; replies still on their way are then not merged.
    void Stop();
    bool IsEnabled() const { return tmReadPorts.isActive(); }
    int Next() const { return m_next; }
    uint8_t BcAddress() const { return m_bcAddress; }

public slots:
    void tmReadPortsTimer();

private:
    CommandExchange &m_exchange;
    ReplyDispatcher &m_dispatcher;
    LogSink m_log;
    QTimer tmReadPorts;
    int m_next = 1;
    int m_last = kLastAl;
    uint8_t m_bcAddress = 0;
};
