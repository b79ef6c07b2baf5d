#pragma once
// The time stamp in front of every log line, of the main window and of every tool window:
// one fixed Russian form with seconds, whatever the system locale (under the C locale a
// locale format would read "10 Dec 2026"), so lines of two logs compare at a glance.
#include <QDateTime>
#include <QString>

inline QString LogStamp(const QDateTime &at = QDateTime::currentDateTime()) {
    return at.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}
