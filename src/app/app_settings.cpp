#include "app_settings.h"

#include <QSettings>

#include "app_paths.h"

QString SettingsFilePath() {
    return QString::fromStdString((SettingsDir() / "talvikcfg.ini").string());
}

namespace {

// A key that is there but holds no number ("COM/Number=abc", an empty value) reads as
// its default, as a missing one does: 0 would be a port, a speed or an address nobody chose.
int IntValue(const QSettings &ini, const char *key, int def) {
    bool ok = false;
    const int v = ini.value(key).toInt(&ok);
    return ok ? v : def;
}

} // namespace

AppSettings ReadAppSettings(const QString &path) {
    const AppSettings def;
    QSettings ini(path, QSettings::IniFormat);
    AppSettings s;
    s.comNumber = IntValue(ini, "COM/Number", def.comNumber);
    s.speed = IntValue(ini, "COM/Speed", def.speed);
    s.addr = IntValue(ini, "COM/Addr", def.addr);
    s.scanStart = ini.value("SCAN/Start", def.scanStart).toString();
    s.scanStop = ini.value("SCAN/Stop", def.scanStop).toString();
    return s;
}

void WriteAppSettings(const QString &path, const AppSettings &s) {
    QSettings ini(path, QSettings::IniFormat);
    ini.setValue("COM/Number", s.comNumber);
    ini.setValue("COM/Speed", s.speed);
    ini.setValue("COM/Addr", s.addr);
    ini.setValue("SCAN/Start", s.scanStart);
    ini.setValue("SCAN/Stop", s.scanStop);
    ini.sync();
}
