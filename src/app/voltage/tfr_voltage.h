#pragma once
// The PD's supply voltage, asked once a second while the window is open.
#include "voltage_window.h"

class QLineEdit;
class QPushButton;

class TfrVoltage : public VoltageWindow {
    Q_OBJECT
public:
    explicit TfrVoltage(TfrMain &main);
    void Open();
    // OK_UBVOLT.
    void ShowUb(float ub);

public slots:
    void btOkClick();

private:
    QLineEdit *edUb;
    QPushButton *btOk;
};
