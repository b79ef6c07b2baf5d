#pragma once
// Common frame of the three voltage windows: modeless, asking the device their node was
// opened for, and copying into the records selected then. When one of those records
// goes (deleted, or the project closed or replaced) the window closes: its values
// belong to no record any more.
#include <QString>
#include <QWidget>

#include "voltage/voltage_copy.h"
#include "voltage/voltage_poll.h"
#include "voltage/voltage_request.h"

class QFormLayout;
class QLineEdit;
class QPushButton;
class TfrMain;

class VoltageWindow : public QWidget {
    Q_OBJECT
public:
    // What every box shows until the device has answered.
    static QString NoData();
    VoltagePoll &Poll() { return m_poll; }

protected:
    VoltageWindow(TfrMain &main, const char *objectName, const QString &caption);

    // The request for the node selected now; false: that node has nothing to measure.
    bool Prepare(ReadTarget target, VoltageRequest &request);
    void ShowNearMain();
    // A box under its label, which is also its accessible name.
    QLineEdit *AddBox(QFormLayout *form, const char *name, const QString &label);
    QPushButton *AddButton(const char *name, const QString &caption);
    static void ShowVolts(QLineEdit *box, float volts);

    // Before a copy: false (and the window closes, nothing written) when a target is gone.
    bool TargetsPresent();
    // After a copy: marks the project modified when a value changed; reports a box that
    // held no number (true when the copy went through).
    bool Finish(const VoltageCopyResult &result);

    void hideEvent(QHideEvent *event) override;

    TfrMain &m_main;
    VoltageTargets m_targets;

private:
    void onProjectTablesChanged();

    VoltagePoll m_poll;
};
