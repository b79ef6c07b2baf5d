#pragma once
// The PD and BC voltage windows ask once per tick while they are open: the device
// answers with what it measures now, so the boxes follow the line as it settles.
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>

class CommandExchange;

class VoltagePoll : public QObject {
    Q_OBJECT
public:
    VoltagePoll(CommandExchange &exchange, int intervalMs, QObject *parent = nullptr);

    // The first request goes out one interval after the start.
    void Start(uint8_t address, const QByteArray &request);
    void Stop() { tmVoltage.stop(); }
    bool IsRunning() const { return tmVoltage.isActive(); }
    // One request now, sent once (the AL window's measurement buttons).
    void SendOnce();
    uint8_t Address() const { return m_address; }
    const QByteArray &Request() const { return m_request; }
    // For the AL window, which measures on demand only.
    void SetTarget(uint8_t address, const QByteArray &request);

private:
    CommandExchange &m_exchange;
    QTimer tmVoltage;
    uint8_t m_address = 0;
    QByteArray m_request;
};
