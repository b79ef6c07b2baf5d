#pragma once
// The one-value input dialog: a prompt, an edit and OK. Closing it any other way
// (the window frame, Escape) cancels; Enter does not press OK.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrInputVal : public QDialog {
    Q_OBJECT
public:
    explicit TfrInputVal(QWidget *owner = nullptr);
    // Shows the dialog modally; the edit's text after OK, else "INPUTVAL_CANCEL".
    QString Execute(const QString &prompt, const QString &defaultText);
    // The same under `caption`; the usual caption comes back afterwards.
    QString Execute(const QString &caption, const QString &prompt, const QString &defaultText);

private slots:
    void btOkClick();

private:
    QLabel *lbVal;
    QLineEdit *edVal;
    QPushButton *btOk;
};
