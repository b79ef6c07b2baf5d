#include "reply_values.h"

#include <cstring>
#include <string_view>

#include "cp1251.h"
#include "protocol_texts.h"
#include "text_utils.h"

ColonValues ValuesBehindColons(const char *rest, int wanted) {
    ColonValues out;
    const char *from = rest;
    while (from && out.found < wanted && out.found < 3) {
        const char *colon = std::strchr(from, ':');
        if (!colon)
            break;
        out.value[out.found++] = TextToFloat(colon + 1);
        from = colon + 1;
    }
    return out;
}

int32_t LeadingInteger(const char *rest) {
    if (!rest)
        return 0;
    const char *p = rest;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Unsigned accumulation wraps instead of overflowing on an absurdly long number.
    uint32_t value = 0;
    while (*p >= '0' && *p <= '9')
        value = value * 10u + static_cast<uint32_t>(*p++ - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

QString ScannerLine(uint8_t source, const QString &description) {
    return QString::fromUtf8(ProtocolText::kScanAddress) + QString::number(source) +
           QString::fromUtf8(ProtocolText::kScanDevice) + description;
}

bool ScannerHasEntry(const QStringList &lines, uint8_t source) {
    const QString needle = QString::fromUtf8(ProtocolText::kScanAddress) + QString::number(source);
    for (const QString &line : lines) {
        if (line.contains(needle))
            return true;
    }
    return false;
}

QString DeviceTextFromWire(const char *bytes, int length) {
    if (!bytes || length <= 0)
        return {};
    return QString::fromStdString(Cp1251ToUtf8(std::string_view(bytes, static_cast<size_t>(length))));
}
