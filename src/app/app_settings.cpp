#include "app_settings.h"

#include <QSettings>

#include "app_paths.h"

QString SettingsFilePath() {
    return QString::fromStdString((SettingsDir() / "talvikcfg.ini").string());
}

AppSettings ReadAppSettings(const QString &path) {
    const AppSettings def;
    QSettings ini(path, QSettings::IniFormat);
    AppSettings s;
    s.comNumber = ini.value("COM/Number", def.comNumber).toInt();
    s.speed = ini.value("COM/Speed", def.speed).toInt();
    s.addr = ini.value("COM/Addr", def.addr).toInt();
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
