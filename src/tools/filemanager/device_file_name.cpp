#include "device_file_name.h"

#include <string>

#include "cp1251.h"
#include "display_text.h"

bool DeviceNameToWire(const QString &name, QByteArray &wire) {
    std::string out;
    if (!Utf8ToCp1251(name.toStdString(), out))
        return false;
    wire = QByteArray(out.data(), static_cast<qsizetype>(out.size()));
    return true;
}

QString ListingFromWire(const uint8_t *bytes, int count) {
    if (!bytes || count <= 0)
        return {};
    const std::string utf8 = Cp1251ToUtf8(std::string_view(reinterpret_cast<const char *>(bytes), size_t(count)));
    const std::string shown =
        BytesToDisplayText(reinterpret_cast<const uint8_t *>(utf8.data()), static_cast<int32_t>(utf8.size()));
    // The display text ends its lines in CR LF; a plain text view wants LF alone.
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size())).replace(QStringLiteral("\r\n"), "\n");
}
