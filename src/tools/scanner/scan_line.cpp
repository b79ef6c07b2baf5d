#include "scan_line.h"

#include "device_protocol.h"
#include "protocol_texts.h"

namespace {
// Blanks and control characters at both ends go; what a device puts inside stays.
QString TrimControls(const QString &text) {
    qsizetype from = 0, to = text.size();
    while (from < to && text[from].unicode() <= 0x20)
        ++from;
    while (to > from && text[to - 1].unicode() <= 0x20)
        --to;
    return text.mid(from, to - from);
}
} // namespace

ScanLineSelection ParseScanLine(const QString &line) {
    ScanLineSelection s;
    const QString addressKey = QString::fromUtf8(ProtocolText::kScanAddress);
    const qsizetype at = line.indexOf(addressKey);
    if (at < 0)
        return s;
    const QString rest = line.mid(at + addressKey.size());
    // The leading decimal digits; the list only ever holds one-byte addresses.
    uint32_t address = 0;
    for (qsizetype i = 0; i < rest.size() && rest[i] >= u'0' && rest[i] <= u'9'; ++i)
        address = (address * 10u + static_cast<uint32_t>(rest[i].unicode() - u'0')) & 0xFFFFu;
    s.address = static_cast<uint8_t>(address & 0xFFu);
    const QString deviceKey = QStringLiteral("Устройство:");
    const qsizetype dev = rest.indexOf(deviceKey);
    if (dev >= 0)
        s.deviceText = TrimControls(rest.mid(dev + deviceKey.size()));
    s.valid = true;
    return s;
}

ScanReadRequest ScanReadRequestFor(const ScanLineSelection &selection) {
    if (selection.deviceText.contains(QStringLiteral("PD/")))
        return {ReadPd, selection.address, QByteArrayLiteral("GETSETTING")};
    return {ReadBcFromScan, selection.address, QByteArrayLiteral("GETDEVICE")};
}

void ReadScannedDevice(DeviceProtocol &protocol, const ScanLineSelection &selection) {
    const ScanReadRequest r = ScanReadRequestFor(selection);
    protocol.Dispatcher().SetReadKind(r.kind);
    protocol.Exchange().SendCommand(r.address, r.command);
}
