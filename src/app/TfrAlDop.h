#pragma once
// An AL line's echo cancellation. Modeless: it stays open while the user moves in the
// tree and always writes to the line selected at the moment of the change; with no
// line selected (another node clicked, the line deleted, the tree rebuilt) a change is ignored.
#include <QDialog>

#include "records.h"

class QComboBox;
class QLineEdit;
class TfrMain;

class TfrAlDop : public QDialog {
    Q_OBJECT
public:
    explicit TfrAlDop(TfrMain &main);
    void Fill(const AlLine &al);

public slots:
    void cbAlEchoTypeChange();
    void edAlEchoLevel1Change();
    void edAlEchoLevel2Change();

private:
    AlLine *target();
    void storeEcho(int16_t &field, QLineEdit *edit);

    TfrMain &m_main;
    QComboBox *cbAlEchoType;
    QLineEdit *edAlEchoLevel1, *edAlEchoLevel2;
};
