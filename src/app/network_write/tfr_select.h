#pragma once
// "Выберите": a label, an editable choice and OK. Closing it any other way cancels.
// Writing the project onto the PD's USB disk offers the disks with it.
#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

class TfrSelect : public QDialog {
    Q_OBJECT
public:
    explicit TfrSelect(QWidget *owner = nullptr);

    // Empties the list, sets the label, adds the items in order and shows the first.
    void Fill(const QString &label, const QStringList &items);
    // What the user chose or typed.
    QString SelectedText() const;

private:
    QLabel *lbSelect;
    QComboBox *cbSelect;
    QPushButton *btOk;
};
