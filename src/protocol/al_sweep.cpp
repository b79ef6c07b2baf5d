#include "al_sweep.h"

#include "command_exchange.h"
#include "protocol_texts.h"
#include "reply_dispatcher.h"

AlSweep::AlSweep(CommandExchange &exchange, ReplyDispatcher &dispatcher, LogSink log, int intervalMs, QObject *parent)
    : QObject(parent), m_exchange(exchange), m_dispatcher(dispatcher), m_log(std::move(log)) {
    tmReadPorts.setObjectName(QStringLiteral("tmReadPorts"));
    tmReadPorts.setInterval(intervalMs);
    tmReadPorts.setTimerType(Qt::PreciseTimer); // a coarse one drifts by up to 5% a tick
    connect(&tmReadPorts, &QTimer::timeout, this, &AlSweep::tmReadPortsTimer);
}

void AlSweep::Start(uint8_t bcAddress) {
    m_next = 1;
    m_last = kLastAl;
    m_bcAddress = bcAddress;
    m_dispatcher.SetSweptBc(bcAddress);
    tmReadPorts.start();
}

void AlSweep::Stop() { tmReadPorts.stop(); }

void AlSweep::tmReadPortsTimer() {
    if (m_next > m_last) {
        tmReadPorts.stop();
        if (m_log)
            m_log(QString::fromUtf8(ProtocolText::kSweepDone));
        return;
    }
    m_dispatcher.SetReadKind(ReadAllAl);
    m_exchange.SendFrame(m_bcAddress, QByteArrayLiteral("GETZONE") + QByteArray::number(m_next));
    if (m_log)
        m_log(QString::fromUtf8(ProtocolText::kSweepReading) + QString::number(m_next));
    ++m_next;
}
