#pragma once
// The notification scenario editor: the project's ten scenarios, one at a time, edited
// in place; the selected one is read from the PD for comparison or written into it.
// Modeless, created once; what a control stores and what is sent lives in notify_rules.
#include <QDialog>

#include "notify/notify_rules.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TfrMain;

class TfrNotifys : public QDialog {
    Q_OBJECT
public:
    static constexpr int kScenarios = 10;

    explicit TfrNotifys(TfrMain &main);

    // Shows the window with "Сценарий 1" selected; the read and write buttons follow
    // the port as it is at this moment.
    void ShowEditor();
    // Closes and shows the window again after a scenario was copied into the project,
    // with that scenario selected so the copied values are what the user sees.
    void Reshow(int number);
    // The scenario number of the selected item, 0 when nothing is selected.
    int SelectedNumber() const;

public slots:
    void lbNotifyClick();
    void cbNotifyEnableClick();
    void edZoneNumChange();
    void edFileNameChange();
    void edDateTimeChange();
    void edPeriodChange();
    void edCountChange();
    void btReadNotifyClick();
    void btWriteNotifyClick();

private:
    void showWindow(int number);
    void display();
    // The scenario the edits store into; null while displaying, with nothing selected or
    // with no project open (a closed project's defaults are nobody's to modify).
    NotifyScenario *target();
    void store(NotifyField field, QLineEdit *edit);
    void markIf(bool changed);

    TfrMain &m_main;
    bool m_displaying = false;
    QListWidget *lbNotify;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    QCheckBox *cbNotifyEnable;
    QLineEdit *edZoneNum, *edFileName, *edDateTime, *edPeriod, *edCount;
    QPushButton *btReadNotify, *btWriteNotify;
};
