#pragma once
// The PD's additional parameters: software gain control, speech detector and echo
// cancellation. Modeless; every change goes straight into the project's PD settings.
#include <QDialog>

#include "records.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class TfrMain;

class TfrPdDop : public QDialog {
    Q_OBJECT
public:
    explicit TfrPdDop(TfrMain &main);
    // Shows the record's values; the main window holds its filling flag meanwhile.
    void Fill(const PdSettings &s);

public slots:
    void cbPdAruEnableClick();
    void edPdAruLevelChange();
    void edPdAruTimeOnChange();
    void edPdAruTimeOffChange();
    void cbPdAruSpdEnableClick();
    void cbPdAruSpdLevelChange();
    void cbPdEchoTypeChange();
    void edPdEchoLevel1Change();
    void edPdEchoLevel2Change();
    // Opens the scenario editor with "Сценарий 1" selected.
    void btNotifysClick();

private:
    PdSettings *target();
    void storeNumber(uint16_t &field, QLineEdit *edit);
    void storeEcho(int16_t &field, QLineEdit *edit);

    TfrMain &m_main;
    QCheckBox *cbPdAruEnable, *cbPdAruSpdEnable;
    QLineEdit *edPdAruLevel, *edPdAruTimeOn, *edPdAruTimeOff, *cbPdAruSpdLevel;
    QComboBox *cbPdEchoType;
    QLineEdit *edPdEchoLevel1, *edPdEchoLevel2;
    QPushButton *btNotifys;
};
