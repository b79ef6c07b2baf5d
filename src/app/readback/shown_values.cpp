#include "shown_values.h"

#include <cstring>

#include "text_utils.h"

namespace readback {

QString IntShown(int32_t v) { return QString::fromLatin1(IntToText(v)); }

QString VoltageShown(float v) { return QString::fromLatin1(FloatToText(v, 1)); }

QString NameShown(const char *field, size_t capacity)
{
    if (!field)
        return {};
    const void *nul = std::memchr(field, '\0', capacity);
    const size_t length = nul ? static_cast<const char *>(nul) - field : capacity;
    return QString::fromUtf8(field, static_cast<qsizetype>(length));
}

// DateTimeToText shares one buffer between all callers, so the text is copied at once.
QString DateTimeShown(const PackedDateTime &dt) { return QString::fromLatin1(DateTimeToText(dt)); }

QString PdStatusShown(bool master) { return master ? QStringLiteral("Ведущий") : QStringLiteral("Ведомый"); }

QString DirectionShown(bool west) { return west ? QStringLiteral("WEST") : QStringLiteral("EAST"); }

QString MicSwitchShown(bool latched)
{
    return latched ? QStringLiteral("С фиксацией") : QStringLiteral("Без фиксации");
}

QString UsbModeShown(bool comPort) { return comPort ? QStringLiteral("COM порт") : QStringLiteral("USB Flash"); }

QString EchoTypeShown(uint8_t type)
{
    switch (type) {
    case 1:
        return QStringLiteral("Динамик");
    case 2:
        return QStringLiteral("Микрофон");
    default:
        return QStringLiteral("Выключено");
    }
}

QStringList SpeedItems()
{
    return {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
}

}  // namespace readback
