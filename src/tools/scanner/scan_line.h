#pragma once
// A line of the scanner list is the only record of a device found: "Адрес:250
// Устройство:TALVIK-PD/1.0 adr:250". The address and the device text are read back out
// of it, and the device text decides whether the device is read as a PD or as a BC.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "read_kind.h"

class DeviceProtocol;

struct ScanLineSelection {
    bool valid = false; // false: the line has no "Адрес:", the line actions stay off
    uint8_t address = 0;
    QString deviceText;
};
ScanLineSelection ParseScanLine(const QString &line);

// A device text with "PD/" is a PD: its settings are read with GETSETTING; any other
// device is taken for a BC and read with GETDEVICE, to be copied by its address.
struct ScanReadRequest {
    ReadKind kind = ReadNone;
    uint8_t address = 0;
    QByteArray command;
};
ScanReadRequest ScanReadRequestFor(const ScanLineSelection &selection);
// Sets the read kind and sends the request with repeats; the reply opens a compare window.
void ReadScannedDevice(DeviceProtocol &protocol, const ScanLineSelection &selection);
