#include "network_write_pacer.h"

#include "network_write_texts.h"

NetworkWritePacer::NetworkWritePacer(Send send, Log log, int intervalMs, QObject *parent)
    : QObject(parent), m_send(std::move(send)), m_log(std::move(log)), m_intervalMs(intervalMs) {
    m_timer.setObjectName("tmNetworkWrite");
    m_timer.setInterval(intervalMs);
    // Restarted after each command: a late tick (a busy UI thread) moves the rest of the
    // write back rather than letting the next command follow the late one too soon.
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &NetworkWritePacer::tick);
}

bool NetworkWritePacer::Start(std::vector<WriteCommand> commands) {
    if (m_running)
        return false;
    m_commands = std::move(commands);
    m_sent = 0;
    m_running = true;
    tick();
    return true;
}

void NetworkWritePacer::tick() {
    if (!m_running)
        return;
    if (m_sent >= Total()) {
        end(true, nullptr);
        return;
    }
    const WriteCommand &c = m_commands[size_t(m_sent)];
    if (!c.logAfterSend)
        m_log(c.logLine);
    if (!m_send(c.address, c.payload)) {
        end(false, NetworkWriteText::kSendFailed);
        return;
    }
    if (c.logAfterSend)
        m_log(c.logLine);
    ++m_sent;
    m_timer.start();
    emit commandSent(m_sent, Total());
}

void NetworkWritePacer::Stop() {
    if (m_running)
        end(false, NetworkWriteText::kStopped);
}

void NetworkWritePacer::end(bool completed, const char *logText) {
    m_timer.stop();
    m_running = false;
    if (logText)
        m_log(QString::fromUtf8(logText).arg(m_sent).arg(Total()));
    emit finished(completed);
}
