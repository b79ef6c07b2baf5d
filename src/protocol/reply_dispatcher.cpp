#include "reply_dispatcher.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

#include "al_merge.h"
#include "protocol_texts.h"
#include "reply_values.h"
#include "text_utils.h"

namespace {

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

// "prefix" + number + "suffix", the shape of every write confirmation.
QString Numbered(const char *prefix, long long number, const char *suffix) {
    return Text(prefix) + QString::number(number) + Text(suffix);
}

// A record number read the way the record reads it (from the first digit or minus sign
// on), but held at a bound instead of wrapping, so no absurdly long number can wrap round
// onto a valid one.
int64_t SaturatedNumber(const char *v) {
    while (*v && *v != '-' && (*v < '0' || *v > '9'))
        ++v;
    const bool negative = *v == '-';
    if (negative)
        ++v;
    int64_t n = 0;
    for (; *v >= '0' && *v <= '9'; ++v)
        n = std::min<int64_t>(n * 10 + (*v - '0'), int64_t(1) << 40);
    return negative ? -n : n;
}

} // namespace

ReplyDispatcher::ReplyDispatcher(Project *project, ProtocolView *view, LogSink log, std::function<void()> stopRepeats)
    : m_project(project), m_view(view ? view : &m_noView), m_log(std::move(log)),
      m_stopRepeats(std::move(stopRepeats)) {
    InitSettingRecord(m_received.ReceivedPd);
    InitDeviceRecord(m_received.ReceivedBc);
    InitZoneRecord(m_received.ReceivedAl);
    InitNotifyRecord(m_received.ReceivedNotify);
}

void ReplyDispatcher::Log(const QString &text) const {
    if (m_log)
        m_log(text);
}

void ReplyDispatcher::DispatchReply(const uint8_t *payload, int length, uint8_t source) {
    // Any accepted frame ends the repeats, whatever it says.
    if (m_stopRepeats)
        m_stopRepeats();
    if (!payload || length <= 0)
        return;

    // A private copy ends with a NUL, so the payload reads as text; the receive buffer
    // is left as it was.
    const QByteArray copy(reinterpret_cast<const char *>(payload), length);
    const char *text = copy.constData();
    const size_t size = static_cast<size_t>(length);
    auto starts = [&](const char *keyword) { return StartsWith(text, size, keyword); };
    auto rest = [&](const char *keyword) { return text + std::strlen(keyword); };

    if (starts("OK_GETSETTING")) {
        if (ParseSettingRecord(rest("OK_GETSETTING"), m_received.ReceivedPd))
            m_view->ShowPdCompare(m_received.ReceivedPd);
    } else if (starts("OK_SETSETTING")) {
        Log(Numbered(ProtocolText::kSettingsWritten, source, ProtocolText::kWrittenSuffix));
    } else if (starts("OK_GETDEVICE")) {
        if (ParseDeviceRecord(rest("OK_GETDEVICE"), m_received.ReceivedBc))
            m_view->ShowBcCompare(m_received.ReceivedBc);
    } else if (starts("OK_GETZONE")) {
        OnGetZone(rest("OK_GETZONE"));
    } else if (starts("OK_UBVOLT")) {
        const ColonValues v = ValuesBehindColons(rest("OK_UBVOLT"), 1);
        m_view->ShowPdSupplyVoltage(v.value[0]); // 0.0 when there is no ':'
    } else if (starts("OK_ALVOLTS")) {
        const ColonValues v = ValuesBehindColons(rest("OK_ALVOLTS"), 3);
        if (v.found > 0)
            m_view->ShowAlVoltages(m_view->AlVoltageTarget(), v.value[0], v.value[1], v.value[2]);
    } else if (starts("OK_ELWLVOLTS")) {
        const ColonValues v = ValuesBehindColons(rest("OK_ELWLVOLTS"), 2);
        if (v.found > 0)
            m_view->ShowBcLineVoltages(v.value[0], v.value[1]);
    } else if (starts("OK_SETDEVICE")) {
        Log(Numbered(ProtocolText::kDeviceWritten, source, ProtocolText::kWrittenSuffix));
    } else if (starts("OK_SETZONE")) {
        const int32_t n = LeadingInteger(rest("OK_SETZONE"));
        Log(Numbered(ProtocolText::kZoneWritten, n, ProtocolText::kZoneWrittenForBc) + QString::number(source) +
            Text(ProtocolText::kWrittenSuffix));
    } else if (starts("OK_SERVICE")) {
        const int keywordLength = static_cast<int>(std::strlen("OK_SERVICE"));
        OnService(rest("OK_SERVICE"), static_cast<int>(std::strlen(text)) - keywordLength, source);
    } else if (starts("OK_GETNOTIFY")) {
        OnGetNotify(rest("OK_GETNOTIFY"));
    } else if (starts("OK_SETNOTIFY")) {
        Log(Text(ProtocolText::kNotifyWritten));
    } else {
        OnOther(payload, length, source, text);
    }
}

QString ReplyDispatcher::SweepReplyMisfit(const char *rest) const {
    const size_t length = std::strlen(rest);
    // The raw numbers, before the record cuts them to its fields: "adr:494" must not pass
    // for BC 238, nor "num:65536" for "no zone on this port".
    int64_t value[3] = {};
    static const char *const keys[] = {"num:", "adr:", "prt:"};
    for (int i = 0; i < 3; ++i) {
        const char *v = FindAfter(rest, length, keys[i]);
        if (!v)
            return Text(ProtocolText::kSweepNoKey) + QString::fromLatin1(keys[i]).chopped(1);
        value[i] = SaturatedNumber(v);
    }
    if (value[1] != m_sweptBc)
        return Text(ProtocolText::kSweepOtherBc) + QString::number(value[1]);
    if (value[2] < 1 || value[2] > 16)
        return Text(ProtocolText::kSweepBadPort) + QString::number(value[2]);
    if (value[0] < 0 || value[0] > 65535)
        return Text(ProtocolText::kSweepBadZone) + QString::number(value[0]);
    return {};
}

void ReplyDispatcher::OnGetZone(const char *rest) {
    if (!ParseZoneRecord(rest, m_received.ReceivedAl))
        return;
    if (m_readKind == ReadAllAl) {
        if (!m_project)
            return;
        const QString misfit = SweepReplyMisfit(rest);
        if (!misfit.isEmpty()) {
            Log(Text(ProtocolText::kSweepReplyIgnored) + QString::number(m_sweptBc) +
                Text(ProtocolText::kSweepReplyIgnoredWhy) + misfit);
            return;
        }
        const AlMergeOutcome merged = MergeSweptAl(*m_project, m_received.ReceivedAl);
        if (!merged.log.isEmpty())
            Log(merged.log);
        if (merged.projectChanged)
            m_view->MarkProjectModified();
        if (merged.rebuildTree)
            m_view->RebuildNetworkTree();
    } else if (m_readKind == ReadAl) {
        m_readKind = ReadAl;
        m_view->ShowAlCompare(m_received.ReceivedAl);
    }
}

void ReplyDispatcher::OnGetNotify(const char *rest) {
    const bool parsed = ParseNotifyRecord(rest, m_received.ReceivedNotify);
    const int num = m_received.ReceivedNotify.num;
    if (parsed && num >= 1 && num <= 10) {
        m_readKind = ReadNotify;
        m_view->ShowNotifyCompare(m_received.ReceivedNotify);
        return;
    }
    Log(Text(ProtocolText::kNotifyBad));
}

void ReplyDispatcher::OnService(const char *rest, int restLength, uint8_t source) {
    if (ScannerHasEntry(m_view->ScanLines(), source))
        return;
    m_view->AppendScanLine(ScannerLine(source, DeviceTextFromWire(rest, restLength)));
}

void ReplyDispatcher::OnOther(const uint8_t *payload, int length, uint8_t source, const char *text) {
    if (m_view->FileManagerTakeReply(payload, length, source))
        return;
    if (!StartsWith(text, static_cast<size_t>(length), "ERROR_"))
        return; // unknown replies are dropped without a trace
    // A device error may end an upload or download half-way: leave no file open.
    m_view->FileManagerCloseFiles();
    // Device texts travel in Windows-1251.
    Log(Text(ProtocolText::kErrorPrefix) + DeviceTextFromWire(text, static_cast<int>(std::strlen(text))));
}
