#pragma once
// How a value read from a device is shown in the compare windows: the same words the
// parameter pages use, so the user compares like with like. Pure text, no widgets.
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

#include "date_time.h"

namespace readback {

QString IntShown(int32_t v);
// One decimal, cut: a device's 12.99 V must not look like 13.0 V.
QString VoltageShown(float v);
// Record names are UTF-8 and need not be terminated when the field is full;
// reading stops at the NUL or at the field's end, whichever comes first.
QString NameShown(const char *field, size_t capacity);
QString DateTimeShown(const PackedDateTime &dt);

QString PdStatusShown(bool master);      // "Ведущий" / "Ведомый"
QString DirectionShown(bool west);       // "WEST" / "EAST"
QString MicSwitchShown(bool latched);    // "С фиксацией" / "Без фиксации"
QString UsbModeShown(bool comPort);      // "COM порт" / "USB Flash"
// 1 speaker, 2 microphone; every other code means the echo canceller is off.
QString EchoTypeShown(uint8_t type);

// The bit rates every speed box offers, slowest first; other rates may still be typed.
QStringList SpeedItems();

}  // namespace readback
