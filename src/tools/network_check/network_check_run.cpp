#include "network_check/network_check_run.h"

#include <algorithm>
#include <cstring>

namespace {
bool Starts(const char *text, const char *prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}
} // namespace

NetworkCheckRun::NetworkCheckRun(SendFrame send, const ProtocolTimings &timings, QObject *parent)
    : QObject(parent), m_send(std::move(send)),
      // A repeat falls due on the tick at or after the repeat interval: 2500 / 500 = 5 ticks.
      m_ticksPerRepeat(
          std::max(1, (timings.repeatIntervalMs + timings.checkIntervalMs - 1) / std::max(1, timings.checkIntervalMs))),
      m_transmissions(std::max(1, timings.repeatTransmissions)) {
    m_timer.setObjectName(QStringLiteral("tmNetworkCheck"));
    m_timer.setInterval(timings.checkIntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &NetworkCheckRun::tick);
}

void NetworkCheckRun::Start(const Project &project) {
    m_project = RecordsOf(project);
    m_network = NetworkRecords{};
    m_plan.clear();
    m_plan.push_back({Target::Pd, -1, 0, project.settings.adr, QByteArrayLiteral("GETSETTING")});
    for (const BcUnit &unit : m_project.bcs) {
        BcRead bc;
        bc.adr = unit.adr;
        m_network.bcs.push_back(bc);
        const int index = int(m_network.bcs.size()) - 1;
        m_plan.push_back({Target::Bc, index, 0, unit.adr, QByteArrayLiteral("GETDEVICE")});
        for (int prt = 1; prt <= 16; ++prt)
            m_plan.push_back(
                {Target::Port, index, prt, unit.adr, QByteArrayLiteral("GETZONE") + QByteArray::number(prt)});
    }
    m_next = 0;
    m_done = 0;
    m_awaiting = false;
    emit progress(0, Total());
    send(); // the first request goes out at once, the rest on the tick
    m_timer.start();
}

void NetworkCheckRun::Stop() {
    if (IsRunning())
        finish(true);
}

void NetworkCheckRun::finish(bool stopped) {
    m_timer.stop();
    m_awaiting = false;
    emit finished(stopped);
}

void NetworkCheckRun::send() {
    if (m_next >= m_plan.size()) {
        finish(false);
        return;
    }
    // Awaiting before sending: a reply may come back inside the send.
    m_awaiting = true;
    m_sent = 1;
    m_sinceSend = 0;
    const Request r = m_plan[m_next];
    m_send(r.address, r.command);
}

void NetworkCheckRun::tick() {
    if (!m_awaiting) {
        send();
        return;
    }
    if (++m_sinceSend < m_ticksPerRepeat)
        return;
    if (m_sent < m_transmissions) {
        ++m_sent;
        m_sinceSend = 0;
        const Request r = m_plan[m_next];
        m_send(r.address, r.command);
        return;
    }
    resolve(ReadState::NoAnswer);
}

// The current request is over; a BC that gave no record has its ports left unread: the
// unit's own row says it did not answer.
void NetworkCheckRun::resolve(ReadState state, const std::string &error) {
    const Request r = m_plan[m_next];
    switch (r.target) {
    case Target::Pd:
        m_network.pd.state = state;
        m_network.pd.error = error;
        break;
    case Target::Bc:
        m_network.bcs[size_t(r.bc)].unit.state = state;
        m_network.bcs[size_t(r.bc)].unit.error = error;
        break;
    case Target::Port: {
        DeviceRead<AlLine> &port = m_network.bcs[size_t(r.bc)].ports[size_t(r.prt - 1)];
        port.state = state;
        port.error = error;
        break;
    }
    }
    m_awaiting = false;
    advance(r.target == Target::Bc && state != ReadState::Answered ? 1 + 16 : 1);
}

void NetworkCheckRun::advance(int requests) {
    m_next += size_t(requests);
    m_done += requests;
    emit progress(m_done, Total());
    if (m_next >= m_plan.size())
        finish(false);
}

bool NetworkCheckRun::acceptRecord(const char *text) {
    const Request &r = m_plan[m_next];
    switch (r.target) {
    case Target::Pd:
        return Starts(text, "OK_GETSETTING") &&
               ParseSettingRecord(text + std::strlen("OK_GETSETTING"), m_network.pd.record);
    case Target::Bc:
        return Starts(text, "OK_GETDEVICE") &&
               ParseDeviceRecord(text + std::strlen("OK_GETDEVICE"), m_network.bcs[size_t(r.bc)].unit.record);
    case Target::Port: {
        AlLine line;
        // A line of another port or unit is no answer to this request.
        if (!Starts(text, "OK_GETZONE") || !ParseZoneRecord(text + std::strlen("OK_GETZONE"), line) ||
            line.prt != r.prt || (line.num != 0 && line.adr != r.address))
            return false;
        m_network.bcs[size_t(r.bc)].ports[size_t(r.prt - 1)].record = line;
        return true;
    }
    }
    return false;
}

bool NetworkCheckRun::TakeReply(const uint8_t *payload, int length, uint8_t source) {
    if (!IsRunning() || !payload || length <= 0)
        return false;
    const QByteArray copy(reinterpret_cast<const char *>(payload), length); // ends with a NUL
    const char *text = copy.constData();
    const bool record = Starts(text, "OK_GETSETTING") || Starts(text, "OK_GETDEVICE") || Starts(text, "OK_GETZONE");
    const bool fromAsked = m_awaiting && source == m_plan[m_next].address;
    if (fromAsked && Starts(text, "ERROR_")) {
        resolve(ReadState::Refused, copy.toStdString());
        return true;
    }
    if (!record)
        return false;
    // Late or stray record replies are kept away from the dispatcher too: a GETZONE reply
    // there could be merged into the project by a sweep's read kind.
    if (fromAsked && acceptRecord(text))
        resolve(ReadState::Answered);
    return true;
}
