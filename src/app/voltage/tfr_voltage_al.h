#pragma once
// The three voltages of an AL line, measured on demand in two states: with the line
// at rest, and while the subscriber holds the call button. The device is not told which;
// the button pressed here only decides which boxes the reply fills.
#include "protocol_view.h"
#include "voltage_window.h"

class QLineEdit;
class QPushButton;

class TfrVoltageAl : public VoltageWindow {
    Q_OBJECT
public:
    explicit TfrVoltageAl(TfrMain &main);
    void Open();
    // Which group the last measurement was asked for.
    AlVoltageSet Target() const { return m_group1 ? AlVoltageSet::Connected : AlVoltageSet::Disconnected; }
    // OK_ALVOLTS: connected, standby and loudspeaker voltage of one group.
    void ShowVoltages(AlVoltageSet set, float connected, float standby, float speaker);

public slots:
    void btIzmerUvpClick();
    void btIzmerUkClick();
    void btSaveOneClick();
    void btSaveAllClick();

private:
    AlVoltageTexts Texts() const;
    void measure(bool group1);

    bool m_group1 = false;
    QLineEdit *edUvp, *edUtvp, *edUspv, *edUk, *edUtk, *edUspk;
    QPushButton *btIzmerUvp, *btIzmerUk, *btSaveOne, *btSaveAll;
};
