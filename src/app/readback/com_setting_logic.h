#pragma once
// What the COM port settings dialog shows and what its OK asks of the main window,
// kept apart from the widgets so both can be checked without a screen.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The rate index the dialog falls back to (BaudIndexFromSpeed): 19200 bit/s, the bus's usual rate.
constexpr int kComSpeedDefaultIndex = 8;

// The dialog's texts, in and out.
struct ComSettingTexts {
    QStringList portItems;  // "COM<N>" for every known port, ascending, with what it is: "COM3 (usb-FTDI_...)"
    QString port;
    QString speed;
    QString addr;
};

// `comNumber` below 1 means no port is configured: the port box starts empty. `what`
// runs beside `ports`: what each port is, shown after its number in the list.
ComSettingTexts ComSettingFillTexts(int comNumber, int32_t bitsPerSecond, int addr, const std::vector<int> &ports,
                                    const std::vector<QString> &what = {});

enum class ComSettingStepKind {
    SetComNumber,  // value: the new port number (the component closes the port)
    SetBaudRate,   // value: rate index for SetBaudRate
    SetAddr,       // value: the PC's own bus address, as typed (frames carry its low 8 bits)
    SetPortOpen,   // open the port again with the new number and speed
    RefreshTree,   // run the tree's click handler so page and buttons follow the port
};

struct ComSettingStep {
    ComSettingStepKind kind;
    int value = 0;
    bool operator==(const ComSettingStep &) const = default;
};

// The steps to run, in order. When a text is not a decimal integer the steps stop
// before it and `error` holds the message for the user; the steps already listed
// are still to be run, so a port closed by SetComNumber stays closed until the next
// command opens it.
struct ComSettingPlan {
    std::vector<ComSettingStep> steps;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

ComSettingPlan ComSettingApplyPlan(const ComSettingTexts &texts);
