#pragma once
// The modal COM port settings dialog: port, speed and the PC's own bus address.
// It only edits texts; the caller turns them into steps with Plan() and runs them.
#include <QDialog>

#include "com_setting_logic.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class TfrComSetting : public QDialog {
    Q_OBJECT
public:
    explicit TfrComSetting(QWidget *parent = nullptr);

    // Replaces the port list and all three texts.
    void Fill(const ComSettingTexts &texts);
    // The texts as the user left them (portItems as offered).
    ComSettingTexts Texts() const;
    ComSettingPlan Plan() const { return ComSettingApplyPlan(Texts()); }

private:
    void btOkClick();

    QComboBox *cbComNumber;
    QComboBox *cbComSpeed;
    QLineEdit *edPivAddr;
    QPushButton *btOk;
};
