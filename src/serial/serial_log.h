#pragma once
#include <QLoggingCategory>

// talvik.serial: opens, closes, lost devices. talvik.serial.raw: hex dumps of every
// transfer, off unless enabled (QT_LOGGING_RULES="talvik.serial.raw.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
Q_DECLARE_LOGGING_CATEGORY(lcSerialRaw)
