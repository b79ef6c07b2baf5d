#pragma once
// The AL compare window: the record of one subscriber line as its BC reported it.
#include "read_back_window.h"
#include "records.h"

class TfrReadParamsZone : public ReadBackWindow {
    Q_OBJECT
public:
    explicit TfrReadParamsZone(QWidget *parent = nullptr);
    // Shows `r` in place of whatever was shown before; does not show the window.
    void Fill(const AlLine &r);

private:
    QLineEdit *edAlNumber;
    QLineEdit *edAlZone;
    QLineEdit *edAlName;
    QLineEdit *edAlUvp;
    QLineEdit *edAlUk;
    QLineEdit *edAlTUvp;
    QLineEdit *edAlTUk;
    QLineEdit *edAlUsp;
    QLineEdit *edAlMic;
    QLineEdit *edAlSpk;
    QLineEdit *edAlSig;
    QComboBox *cbAlEchoType;
    QLineEdit *edAlEchoLevel1;
    QLineEdit *edAlEchoLevel2;
};
