#pragma once
// The firmware update of a PD or a BC: which texts each uses, the name the image gets on
// the device, and which typed addresses are taken. The upload itself is the file
// manager's.
#include <QString>

enum class FirmwareTarget { Pd, Bc };

struct FirmwareTexts {
    const char *addressPrompt;
    const char *logLine1;
    const char *logLine2;
    const char *logLine3;
    const char *deviceFileName;
};

const FirmwareTexts &FirmwareTextsFor(FirmwareTarget target);

// The typed address read as a whole decimal number (blanks around it allowed), 0 when
// the text is not one; a device address is 1..254, so 0 is never a valid answer.
int FirmwareAddressFromText(const QString &text);
bool IsValidFirmwareAddress(int address);
