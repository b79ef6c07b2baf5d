#pragma once
// The PD compare window: the settings a head unit reported, beside the project.
#include "read_back_window.h"
#include "records.h"

class TfrReadParams : public ReadBackWindow {
    Q_OBJECT
public:
    explicit TfrReadParams(QWidget *parent = nullptr);
    // Shows `r` in place of whatever was shown before; does not show the window.
    void Fill(const PdSettings &r);

private:
    QLineEdit *edPdAddr;
    QComboBox *cbPdRsSpeed;
    QComboBox *edPdStatus;
    QCheckBox *edPDLog;
    QCheckBox *edPdShowErr;
    QComboBox *cbUSBMode;
    QLineEdit *edPdUb;
    QComboBox *edPdDir;
    QComboBox *cbPdMic;
    QLineEdit *edPdMic;
    QLineEdit *edPdSpk;
    QLineEdit *edPdSig;
    QCheckBox *cbPdAruEnable;
    QLineEdit *edPdAruLevel;
    QLineEdit *edPdAruTimeOn;
    QLineEdit *edPdAruTimeOff;
    QCheckBox *cbPdAruSpdEnable;
    QLineEdit *cbPdAruSpdLevel;  // an edit despite its prefix, as on the PD's extra page
    QComboBox *cbPdEchoType;
    QLineEdit *edPdEchoLevel1;
    QLineEdit *edPdEchoLevel2;
};
