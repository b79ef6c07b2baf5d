#pragma once
// The BC compare window: the record a line unit reported.
#include "read_back_window.h"
#include "records.h"

class TfrReadParamsBc : public ReadBackWindow {
    Q_OBJECT
public:
    explicit TfrReadParamsBc(QWidget *parent = nullptr);
    // Shows `r` in place of whatever was shown before; does not show the window.
    // The line enable flags (ene, enw) have no control here.
    void Fill(const BcUnit &r);

private:
    QLineEdit *edBcAddr;
    QComboBox *cbBcRsSpeed;
    QCheckBox *cbBcLog;
    QLineEdit *edBcName;
    QLineEdit *edBcUbWest;
    QLineEdit *edBcUbEast;
    QCheckBox *cbBypass;
    QComboBox *cbBcDir;
    QLineEdit *edBcMasterAddr;
    QLineEdit *edBcSlaveAddr;
};
