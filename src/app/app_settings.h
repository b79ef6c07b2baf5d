#pragma once
// talvikcfg.ini: the port, its speed, the PC's own bus address and the scanner's
// range, carried from one run to the next.
#include <QString>

struct AppSettings {
    int comNumber = -1;
    int speed = 19200;
    int addr = 254;
    QString scanStart = "1";
    QString scanStop = "255";
};

// The settings file in SettingsDir().
QString SettingsFilePath();
// A missing file, section or key gives its default.
AppSettings ReadAppSettings(const QString &path);
// Writes all five keys (UTF-8).
void WriteAppSettings(const QString &path, const AppSettings &s);
