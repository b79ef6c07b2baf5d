#include "command_exchange.h"

#include <QEventLoop>
#include <QLoggingCategory>
#include <algorithm>
#include <cstring>

#include "frame.h"
#include "protocol_texts.h"

// Hex dumps of every frame, off unless QT_LOGGING_RULES="talvik.protocol.raw.debug=true".
Q_LOGGING_CATEGORY(lcExchangeRaw, "talvik.protocol.raw", QtWarningMsg)

namespace {

// Longest slice WaitWithEvents sleeps in the event loop before it reads the ticks again.
constexpr int kWaitSliceMs = 5;

} // namespace

CommandExchange::CommandExchange(LogSink log, const ProtocolTimings &timings, QObject *parent)
    : QObject(parent), m_log(std::move(log)), m_timings(timings) {
    tmRepeat.setObjectName(QStringLiteral("tmRepeat"));
    tmRepeat.setInterval(m_timings.repeatIntervalMs);
    // A coarse timer may fire 5% early (2375 ms instead of 2500): keep the pace exact.
    tmRepeat.setTimerType(Qt::PreciseTimer);
    connect(&tmRepeat, &QTimer::timeout, this, &CommandExchange::tmRepeatTimer);
}

void CommandExchange::Log(const char *text) const {
    if (m_log)
        m_log(QString::fromUtf8(text));
}

bool CommandExchange::SendFrame(uint8_t address, const uint8_t *payload, int length) {
    if (length < 0)
        return false;
    uint8_t frame[::kMaxFrameSize];
    const size_t total = BuildFrame(address, static_cast<uint8_t>(m_addr & 0xFF), payload, static_cast<size_t>(length),
                                    frame, sizeof frame);
    if (total == 0)
        return false; // longer than one frame holds: a cut command would be a different one
    qCDebug(lcExchangeRaw) << "out"
                           << QByteArray::fromRawData(reinterpret_cast<const char *>(frame), int(total)).toHex(' ');
    if (!m_port)
        return false;
    return m_port->PutBlock(frame, static_cast<int>(total)) == static_cast<int>(total);
}

bool CommandExchange::SendFrame(uint8_t address, const QByteArray &text) {
    return SendFrame(address, reinterpret_cast<const uint8_t *>(text.constData()), static_cast<int>(text.size()));
}

bool CommandExchange::SendFrame(uint8_t address, const char *text) {
    return SendFrame(address, QByteArray(text ? text : ""));
}

void CommandExchange::SendCommand(uint8_t address, const QByteArray &text) {
    tmRepeat.stop();
    // Kept whole (not cut to a fixed field): a cut record would reach the device as a
    // different record. A text too long for one frame is refused by SendFrame each time.
    m_pendingCommand = text;
    m_pendingAddress = address;
    m_fill = 0;
    ++m_emptied;
    m_repeatTag = m_timings.repeatTransmissions;
    tmRepeat.setInterval(m_timings.repeatIntervalMs);
    tmRepeatTimer();
    tmRepeat.start();
}

void CommandExchange::SendCommand(uint8_t address, const char *text) {
    SendCommand(address, QByteArray(text ? text : ""));
}

void CommandExchange::tmRepeatTimer() {
    if (m_repeatTag != 0) {
        SendFrame(m_pendingAddress, m_pendingCommand);
        --m_repeatTag;
        return;
    }
    tmRepeat.stop();
    Log(ProtocolText::kNoReply);
}

void CommandExchange::ComPortDataReceived(int count) {
    if (count <= 0 || !m_port)
        return;
    if (m_fill + count > kReceiveMaxHeld) {
        // Nothing in 64 KB made a frame: it is noise, not a reply still arriving.
        m_fill = 0;
        ++m_emptied;
    }
    const int room = kReceiveMaxHeld - m_fill;
    const int got = m_port->GetBlock(ReceiveBuffer + m_fill, std::min(count, room));
    if (got < 1)
        return;
    m_fill += got;
    if (m_fill >= 6)
        ExtractFrames();
}

void CommandExchange::TakeBytes(const uint8_t *data, int count) {
    if (count <= 0)
        return;
    if (m_fill + count > kReceiveMaxHeld) {
        m_fill = 0;
        ++m_emptied;
    }
    const int take = std::min(count, kReceiveMaxHeld - m_fill);
    std::memcpy(ReceiveBuffer + m_fill, data, static_cast<size_t>(take));
    m_fill += take;
    if (m_fill >= 6)
        ExtractFrames();
}

void CommandExchange::ExtractFrames() {
    // A reply handler that waits with events may receive more bytes; they are appended
    // and scanned by this pass, never by a nested one that would move bytes under it.
    if (m_extracting) {
        m_arrivedWhileExtracting = true;
        return;
    }
    m_extracting = true;
    do {
        m_arrivedWhileExtracting = false;
        ExtractOnce();
    } while (m_arrivedWhileExtracting && m_fill >= 7);
    m_extracting = false;
}

void CommandExchange::ExtractOnce() {
    const uint32_t emptiedBefore = m_emptied;
    const uint8_t own = static_cast<uint8_t>(m_addr & 0xFF);
    const size_t consumed = CutFrames(
        ReceiveBuffer, static_cast<size_t>(m_fill), [own](uint8_t dst) { return dst == own; },
        [&](const FrameView &f) {
            qCDebug(lcExchangeRaw)
                << "in" << f.src
                << QByteArray::fromRawData(reinterpret_cast<const char *>(f.payload), f.length).toHex(' ');
            if (m_onReply)
                m_onReply(f.payload, f.length, f.src);
            // A handler that started a new command emptied the buffer: what was behind
            // this frame belongs to the old exchange and is not shown to anyone.
            return m_emptied == emptiedBefore;
        });
    if (m_emptied != emptiedBefore || consumed == 0)
        return; // emptied under the scan, or no frame yet (one may still be arriving)
    const int rest = std::max(0, m_fill - static_cast<int>(consumed));
    if (rest > 0)
        std::memmove(ReceiveBuffer, ReceiveBuffer + consumed, static_cast<size_t>(rest));
    m_fill = rest;
}

void CommandExchange::WaitWithEvents(uint32_t ms) {
    const uint32_t start = m_ticks();
    for (;;) {
        const uint32_t elapsed = ElapsedTicks(start, m_ticks());
        if (elapsed >= ms)
            return;
        const uint32_t remaining = ms - elapsed;
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(std::min<uint32_t>(remaining, kWaitSliceMs)), &loop, &QEventLoop::quit);
        loop.exec();
    }
}
