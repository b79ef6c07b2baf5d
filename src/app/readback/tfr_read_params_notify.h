#pragma once
// The scenario compare window: one notification scenario as the PD holds it.
#include "read_back_window.h"
#include "records.h"

class TfrReadParamsNotify : public ReadBackWindow {
    Q_OBJECT
public:
    explicit TfrReadParamsNotify(QWidget *parent = nullptr);
    // Shows `r` in place of whatever was shown before; does not show the window.
    void Fill(const NotifyScenario &r);

private:
    QCheckBox *cbNotifyEnable;
    QLineEdit *edZoneNum;
    QLineEdit *edFileName;
    QLineEdit *edDateTime;
    QLineEdit *edPeriod;
    QLineEdit *edCount;
};
