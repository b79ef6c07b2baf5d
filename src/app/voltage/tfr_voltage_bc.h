#pragma once
// A BC's two line sides, asked once a second while the window is open.
#include "voltage_window.h"

class QLineEdit;
class QPushButton;

class TfrVoltageBc : public VoltageWindow {
    Q_OBJECT
public:
    explicit TfrVoltageBc(TfrMain &main);
    void Open();
    // OK_ELWLVOLTS: the device reports EAST first.
    void ShowLineVoltages(float east, float west);

public slots:
    void btOkClick();

private:
    QLineEdit *edUbw, *edUbe;
    QPushButton *btOk;
};
