#pragma once
// Reading the data behind a reply keyword: pure functions, no windows, so each reply
// row can be tested on its own before the window that shows it exists.
#include <QString>
#include <QStringList>
#include <cstdint>

// The numbers behind the first, second and third ':' of a reply's rest. Each ':' is
// searched behind the previous one, and each number is read with TextToFloat from just
// behind its ':'; `found` counts the ':'s met (a value not found stays 0.0).
struct ColonValues {
    int found = 0;
    float value[3] = {0.0f, 0.0f, 0.0f};
};
ColonValues ValuesBehindColons(const char *rest, int wanted);

// The AL number at the start of an OK_SETZONE rest: leading blanks skipped, an optional
// sign, then decimal digits; 0 when the rest does not begin with a number.
int32_t LeadingInteger(const char *rest);

// The scanner list keeps one line per device address.
QString ScannerLine(uint8_t source, const QString &description);
// A substring test, as the list has always done it: once 250 is listed, a reply from 25
// counts as present too, because "Адрес:25" is found inside "Адрес:250 ...".
bool ScannerHasEntry(const QStringList &lines, uint8_t source);
// A SERVICE description arrives in Windows-1251.
QString DeviceTextFromWire(const char *bytes, int length);
