#include "TfrAlDop.h"

#include "TfrMain.h"
#include "dop_widgets.h"
#include "store_value.h"
#include "text_utils.h"
#include "value_rules.h"

TfrAlDop::TfrAlDop(TfrMain &main) : QDialog(&main), m_main(main) {
    setObjectName("TfrAlDop");
    setWindowTitle(QStringLiteral("Дополнительные параметры АЛ"));
    setModal(false);
    auto *form = new QFormLayout(this);
    form->addRow(DopHeading(QStringLiteral("Эхоподавление (программное)")));
    cbAlEchoType = DopEchoTypeCombo("cbAlEchoType");
    form->addRow(QStringLiteral("Тип"), cbAlEchoType);
    edAlEchoLevel1 = DopEdit("edAlEchoLevel1");
    form->addRow(QStringLiteral("Время срабатывания, мс"), edAlEchoLevel1);
    edAlEchoLevel2 = DopEdit("edAlEchoLevel2");
    form->addRow(QStringLiteral("Время запаздывания, мс"), edAlEchoLevel2);
    connect(cbAlEchoType, &QComboBox::currentTextChanged, this, &TfrAlDop::cbAlEchoTypeChange);
    connect(edAlEchoLevel1, &QLineEdit::textChanged, this, &TfrAlDop::edAlEchoLevel1Change);
    connect(edAlEchoLevel2, &QLineEdit::textChanged, this, &TfrAlDop::edAlEchoLevel2Change);
}

void TfrAlDop::Fill(const AlLine &al) {
    cbAlEchoType->setCurrentText(EchoTypeText(al.etp));
    edAlEchoLevel1->setText(IntToText(al.el1));
    edAlEchoLevel2->setText(IntToText(al.el2));
}

AlLine *TfrAlDop::target() { return m_main.IsFilling() ? nullptr : m_main.SelectedAlLine(); }

void TfrAlDop::storeEcho(int16_t &field, QLineEdit *edit) {
    if (StoreChanged(field, int16_t(ClampIntText(edit->text().toStdString(), 0, kEchoTimeMax))))
        m_main.MarkModified();
}

void TfrAlDop::cbAlEchoTypeChange() {
    if (AlLine *al = target(); al && StoreChanged(al->etp, EchoTypeFromText(cbAlEchoType->currentText().toStdString())))
        m_main.MarkModified();
}

void TfrAlDop::edAlEchoLevel1Change() {
    if (AlLine *al = target())
        storeEcho(al->el1, edAlEchoLevel1);
}

void TfrAlDop::edAlEchoLevel2Change() {
    if (AlLine *al = target())
        storeEcho(al->el2, edAlEchoLevel2);
}
