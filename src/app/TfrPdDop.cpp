#include "TfrPdDop.h"

#include <QPushButton>

#include "TfrMain.h"
#include "dop_widgets.h"
#include "notify/tfr_notifys.h"
#include "store_value.h"
#include "text_utils.h"
#include "value_rules.h"

namespace {
constexpr int kPdDopMax = 65535;
}

TfrPdDop::TfrPdDop(TfrMain &main) : QDialog(&main), m_main(main) {
    setObjectName("TfrPdDop");
    setWindowTitle(QStringLiteral("Дополнительные параметры ПД"));
    setModal(false);
    auto *form = new QFormLayout(this);
    form->addRow(DopHeading(QStringLiteral("АРУ (программное)")));
    cbPdAruEnable = new QCheckBox(QStringLiteral("Включено"));
    cbPdAruEnable->setObjectName("cbPdAruEnable");
    form->addRow(cbPdAruEnable);
    edPdAruLevel = DopEdit("edPdAruLevel");
    form->addRow(QStringLiteral("Уровень сигнала, %"), edPdAruLevel);
    edPdAruTimeOn = DopEdit("edPdAruTimeOn");
    form->addRow(QStringLiteral("Время срабатывания, мс"), edPdAruTimeOn);
    edPdAruTimeOff = DopEdit("edPdAruTimeOff");
    form->addRow(QStringLiteral("Время запаздывания, мс"), edPdAruTimeOff);
    cbPdAruSpdEnable = new QCheckBox(QStringLiteral("Детектор речи"));
    cbPdAruSpdEnable->setObjectName("cbPdAruSpdEnable");
    form->addRow(cbPdAruSpdEnable);
    cbPdAruSpdLevel = DopEdit("cbPdAruSpdLevel");
    form->addRow(QStringLiteral("Уровень детектора речи, % "), cbPdAruSpdLevel);
    form->addRow(DopHeading(QStringLiteral("Эхоподавление (программное)")));
    cbPdEchoType = DopEchoTypeCombo("cbPdEchoType");
    form->addRow(QStringLiteral("Тип"), cbPdEchoType);
    edPdEchoLevel1 = DopEdit("edPdEchoLevel1");
    form->addRow(QStringLiteral("Время срабатывания, мс"), edPdEchoLevel1);
    edPdEchoLevel2 = DopEdit("edPdEchoLevel2");
    form->addRow(QStringLiteral("Время запаздывания, мс"), edPdEchoLevel2);
    btNotifys = new QPushButton(QStringLiteral("Сценарии оповещения"));
    btNotifys->setObjectName("btNotifys");
    form->addRow(btNotifys);

    connect(cbPdAruEnable, &QCheckBox::toggled, this, &TfrPdDop::cbPdAruEnableClick);
    connect(edPdAruLevel, &QLineEdit::textChanged, this, &TfrPdDop::edPdAruLevelChange);
    connect(edPdAruTimeOn, &QLineEdit::textChanged, this, &TfrPdDop::edPdAruTimeOnChange);
    connect(edPdAruTimeOff, &QLineEdit::textChanged, this, &TfrPdDop::edPdAruTimeOffChange);
    connect(cbPdAruSpdEnable, &QCheckBox::toggled, this, &TfrPdDop::cbPdAruSpdEnableClick);
    connect(cbPdAruSpdLevel, &QLineEdit::textChanged, this, &TfrPdDop::cbPdAruSpdLevelChange);
    connect(cbPdEchoType, &QComboBox::currentTextChanged, this, &TfrPdDop::cbPdEchoTypeChange);
    connect(edPdEchoLevel1, &QLineEdit::textChanged, this, &TfrPdDop::edPdEchoLevel1Change);
    connect(edPdEchoLevel2, &QLineEdit::textChanged, this, &TfrPdDop::edPdEchoLevel2Change);
    connect(btNotifys, &QPushButton::clicked, this, &TfrPdDop::btNotifysClick);
}

void TfrPdDop::Fill(const PdSettings &s) {
    cbPdAruEnable->setChecked(s.aru);
    edPdAruLevel->setText(IntToText(s.arl));
    edPdAruTimeOn->setText(IntToText(s.ton));
    edPdAruTimeOff->setText(IntToText(s.tof));
    cbPdAruSpdEnable->setChecked(s.spd);
    cbPdAruSpdLevel->setText(IntToText(s.spl));
    cbPdEchoType->setCurrentText(EchoTypeText(s.etp));
    edPdEchoLevel1->setText(IntToText(s.el1));
    edPdEchoLevel2->setText(IntToText(s.el2));
}

// With no project open the settings are only the defaults of a closed project:
// an edit there would mark a project modified that does not exist.
PdSettings *TfrPdDop::target() {
    if (m_main.IsFilling() || !m_main.IsProjectOpen())
        return nullptr;
    return &m_main.project().settings;
}

void TfrPdDop::storeNumber(uint16_t &field, QLineEdit *edit) {
    if (StoreChanged(field, uint16_t(ClampIntText(edit->text().toStdString(), 0, kPdDopMax))))
        m_main.MarkModified();
}

void TfrPdDop::storeEcho(int16_t &field, QLineEdit *edit) {
    if (StoreChanged(field, int16_t(ClampIntText(edit->text().toStdString(), 0, kEchoTimeMax))))
        m_main.MarkModified();
}

void TfrPdDop::cbPdAruEnableClick() {
    if (PdSettings *s = target(); s && StoreChanged(s->aru, cbPdAruEnable->isChecked()))
        m_main.MarkModified();
}

void TfrPdDop::edPdAruLevelChange() {
    if (PdSettings *s = target())
        storeNumber(s->arl, edPdAruLevel);
}

void TfrPdDop::edPdAruTimeOnChange() {
    if (PdSettings *s = target())
        storeNumber(s->ton, edPdAruTimeOn);
}

void TfrPdDop::edPdAruTimeOffChange() {
    if (PdSettings *s = target())
        storeNumber(s->tof, edPdAruTimeOff);
}

void TfrPdDop::cbPdAruSpdEnableClick() {
    if (PdSettings *s = target(); s && StoreChanged(s->spd, cbPdAruSpdEnable->isChecked()))
        m_main.MarkModified();
}

void TfrPdDop::cbPdAruSpdLevelChange() {
    if (PdSettings *s = target())
        storeNumber(s->spl, cbPdAruSpdLevel);
}

void TfrPdDop::cbPdEchoTypeChange() {
    if (PdSettings *s = target(); s && StoreChanged(s->etp, EchoTypeFromText(cbPdEchoType->currentText().toStdString())))
        m_main.MarkModified();
}

void TfrPdDop::edPdEchoLevel1Change() {
    if (PdSettings *s = target())
        storeEcho(s->el1, edPdEchoLevel1);
}

void TfrPdDop::edPdEchoLevel2Change() {
    if (PdSettings *s = target())
        storeEcho(s->el2, edPdEchoLevel2);
}

void TfrPdDop::btNotifysClick() {
    if (TfrNotifys *editor = m_main.notifyEditor())
        editor->ShowEditor();
}
