#pragma once
// Common frame of the four compare windows: a non-modal window of titled groups whose
// value controls only show what a device reported, plus the copy and cancel buttons.
#include <QStringList>

#include <cstdint>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGridLayout;
class QLineEdit;
class QPushButton;

class ReadBackWindow : public QWidget {
    Q_OBJECT
public:
    ~ReadBackWindow() override;

signals:
    // The user asked to take the shown record into the project. The window hides
    // itself right after the signal returns, so a handler may still read it.
    void copyRequested();

protected:
    ReadBackWindow(const QString &caption, QWidget *parent);

    // A titled group placed at (row, column) of the window's grid.
    QFormLayout *AddGroup(const QString &title, int row, int column);
    // A bold sub-heading inside a group.
    void AddHeading(QFormLayout *form, const QString &text);
    QLineEdit *AddEdit(QFormLayout *form, const char *name, const QString &label);
    // Editable like the main window's boxes, so a value outside the items still shows.
    QComboBox *AddCombo(QFormLayout *form, const char *name, const QString &label, const QStringList &items);
    QCheckBox *AddCheck(QFormLayout *form, const char *name, const QString &label);

    static void ShowText(QComboBox *box, const QString &text);

    // The "Эхоподавление (программное)" group the PD and AL windows share; `device` is
    // "Pd" or "Al" and names the controls (cbPdEchoType, edPdEchoLevel1, ...).
    struct EchoControls {
        QComboBox *type;
        QLineEdit *level1;
        QLineEdit *level2;
    };
    EchoControls AddEchoGroup(int row, int column, const char *device);
    static void ShowEcho(const EchoControls &echo, uint8_t etp, int16_t el1, int16_t el2);

private:
    void btCopyClick();
    void btCancelClick();

    QGridLayout *m_groups = nullptr;
    QPushButton *btCopy = nullptr;
    QPushButton *btCancel = nullptr;
};
