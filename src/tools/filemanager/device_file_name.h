#pragma once
// File names and listings cross the line in Windows-1251, the devices' own code page;
// the program holds them as Unicode.
#include <QByteArray>
#include <QString>
#include <cstdint>

// The name as the device reads it. False when Windows-1251 has no form for one of its
// characters: a '?' in its place would name another file, or none.
bool DeviceNameToWire(const QString &name, QByteArray &wire);
// A LIST reply's bytes behind "OK_LIST", ready for a plain text view: one line per line
// feed, other control bytes as blanks, Cyrillic names as Cyrillic.
QString ListingFromWire(const uint8_t *bytes, int count);
