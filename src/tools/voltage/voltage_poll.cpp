#include "voltage_poll.h"

#include "command_exchange.h"

VoltagePoll::VoltagePoll(CommandExchange &exchange, int intervalMs, QObject *parent)
    : QObject(parent), m_exchange(exchange) {
    tmVoltage.setTimerType(Qt::PreciseTimer); // a coarse one drifts 5% early, tick by tick
    tmVoltage.setInterval(intervalMs);
    connect(&tmVoltage, &QTimer::timeout, this, &VoltagePoll::SendOnce);
}

void VoltagePoll::SetTarget(uint8_t address, const QByteArray &request) {
    m_address = address;
    m_request = request;
}

void VoltagePoll::Start(uint8_t address, const QByteArray &request) {
    SetTarget(address, request);
    tmVoltage.start();
}

void VoltagePoll::SendOnce() {
    if (!m_request.isEmpty())
        m_exchange.SendFrame(m_address, m_request);
}
