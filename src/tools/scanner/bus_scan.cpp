#include "bus_scan.h"

#include "command_exchange.h"

namespace {
// A stop text that is no number while the scan runs (the user is typing a new one)
// counts as the top of the bus's address range.
constexpr int32_t kStopWhenNotANumber = 255;
} // namespace

std::optional<int32_t> ReadWholeNumber(const QString &text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    if (i == t.size())
        return std::nullopt;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

QString NotAWholeNumber(const QString &text) {
    // Every message the user sees is Russian, worded as the COM settings word theirs.
    return QStringLiteral("«") + text + QStringLiteral("» — не целое число");
}

BusScan::BusScan(CommandExchange &exchange, int intervalMs, std::function<QString()> stopText, QObject *parent)
    : QObject(parent), m_exchange(exchange), m_stopText(std::move(stopText)) {
    // A coarse timer may fire 5% early; the devices are promised a whole second per probe.
    tmScan.setTimerType(Qt::PreciseTimer);
    tmScan.setInterval(intervalMs);
    connect(&tmScan, &QTimer::timeout, this, &BusScan::tmScanTimer);
}

bool BusScan::Start(const QString &startText, const QString &stopText, QString &error) {
    const std::optional<int32_t> start = ReadWholeNumber(startText);
    if (!start) {
        error = NotAWholeNumber(startText);
        return false;
    }
    const std::optional<int32_t> stop = ReadWholeNumber(stopText);
    if (!stop) {
        error = NotAWholeNumber(stopText);
        return false;
    }
    m_scanAddress = *start;
    m_stopAddress = *stop;
    tmScan.start();
    return true;
}

void BusScan::Stop() {
    tmScan.stop();
}

void BusScan::tmScanTimer() {
    const std::optional<int32_t> stop = ReadWholeNumber(m_stopText ? m_stopText() : QString());
    m_stopAddress = stop.value_or(kStopWhenNotANumber);
    emit probing(m_scanAddress);
    m_exchange.SendFrame(static_cast<uint8_t>(m_scanAddress & 0xFF), "SERVICE");
    if (m_scanAddress == m_stopAddress) {
        Stop();
        emit finished();
        return;
    }
    // A start above the stop never meets it: the counter runs on (its low byte wraps
    // from 255 to 0) until the user stops; unsigned steps keep the wrap defined.
    m_scanAddress = static_cast<int32_t>(static_cast<uint32_t>(m_scanAddress) + 1u);
}
