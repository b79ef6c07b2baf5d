#pragma once
// What the main log says about the port: why it did not open, and that it followed its
// device away and back. One place, so every caller words it the same.
#include <QString>

enum class OpenError;

// "Не удалось открыть порт COM3: ..." with the reason (not found, busy, no rights) and the path tried.
QString OpenFailureText(int comNumber, OpenError error, const QString &path);
QString DeviceGoneText(int comNumber);
QString DeviceBackText(int comNumber);
