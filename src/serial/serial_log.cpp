#include "serial_log.h"

Q_LOGGING_CATEGORY(lcSerial, "talvik.serial", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSerialRaw, "talvik.serial.raw", QtInfoMsg)
