#include "tfr_voltage_al.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TfrMain.h"

TfrVoltageAl::TfrVoltageAl(TfrMain &main) : VoltageWindow(main, "TfrVoltageAl", QStringLiteral("Напряжения на АЛ")) {
    auto *outer = new QVBoxLayout(this);

    auto *group1 = new QGroupBox(QStringLiteral("1. Измерение напряжения на АЛ"), this);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    auto *form1 = new QFormLayout(group1);
    edUvp = AddBox(form1, "edUvp", QStringLiteral("Напряжение на АЛ Uvp (соединение)"));
    edUtvp = AddBox(form1, "edUtvp", QStringLiteral("Напряжение на АЛ Utvp (ожидание)"));
    edUspv = AddBox(form1, "edUspv", QStringLiteral("Напряжение на динамике АЛ Usp"));
    btIzmerUvp = AddButton("btIzmerUvp", QStringLiteral("Выполнить измерение"));
    form1->addRow(btIzmerUvp);
    outer->addWidget(group1);

    auto *group2 = new QGroupBox(QStringLiteral("2. Измерение напряжения на АЛ с нажатой кнопкой"), this);
    group2->setObjectName(QStringLiteral("GroupBox2"));
    auto *form2 = new QFormLayout(group2);
    edUk = AddBox(form2, "edUk", QStringLiteral("Напряжение на АЛ Uk (соединение)"));
    edUtk = AddBox(form2, "edUtk", QStringLiteral("Напряжение на АЛ Utk (ожидание)"));
    edUspk = AddBox(form2, "edUspk", QStringLiteral("Напряжение на динамике АЛ Usp"));
    btIzmerUk = AddButton("btIzmerUk", QStringLiteral("Выполнить измерение"));
    form2->addRow(btIzmerUk);
    outer->addWidget(group2);

    btSaveOne = AddButton("btSaveOne", QStringLiteral("Скопировать в проект значения для выбранной АЛ"));
    btSaveAll = AddButton("btSaveAll", QStringLiteral("Скопировать в проект значения для всех АЛ"));
    outer->addWidget(btSaveOne);
    outer->addWidget(btSaveAll);

    connect(btIzmerUvp, &QPushButton::clicked, this, &TfrVoltageAl::btIzmerUvpClick);
    connect(btIzmerUk, &QPushButton::clicked, this, &TfrVoltageAl::btIzmerUkClick);
    connect(btSaveOne, &QPushButton::clicked, this, &TfrVoltageAl::btSaveOneClick);
    connect(btSaveAll, &QPushButton::clicked, this, &TfrVoltageAl::btSaveAllClick);
}

void TfrVoltageAl::Open() {
    VoltageRequest request;
    if (!Prepare(ReadTarget::Al, request))
        return;
    for (QLineEdit *box : {edUvp, edUtvp, edUspv, edUk, edUtk, edUspk})
        box->setText(NoData());
    m_targets = VoltageTargets::ForAl(*m_main.SelectedBcUnit(), *m_main.SelectedAlLine(), m_main.ProjectEpoch());
    Poll().SetTarget(request.address, request.command); // measured on demand only
    ShowNearMain();
}

void TfrVoltageAl::ShowVoltages(AlVoltageSet set, float connected, float standby, float speaker) {
    const bool group1 = set == AlVoltageSet::Connected;
    ShowVolts(group1 ? edUvp : edUk, connected);
    ShowVolts(group1 ? edUtvp : edUtk, standby);
    ShowVolts(group1 ? edUspv : edUspk, speaker);
}

void TfrVoltageAl::measure(bool group1) {
    m_group1 = group1;
    if (m_main.SetPortOpen(true))
        Poll().SendOnce();
}

void TfrVoltageAl::btIzmerUvpClick() {
    measure(true);
}
void TfrVoltageAl::btIzmerUkClick() {
    measure(false);
}

AlVoltageTexts TfrVoltageAl::Texts() const {
    return {edUvp->text(), edUtvp->text(), edUspv->text(), edUk->text(), edUtk->text(), edUspk->text()};
}

void TfrVoltageAl::btSaveOneClick() {
    if (!TargetsPresent())
        return;
    if (!Finish(CopyAlVoltages(*m_targets.Al(m_main.project(), m_main.ProjectEpoch()), Texts())))
        return;
    m_main.ShowSelectedNodeAgain();
    close();
}

void TfrVoltageAl::btSaveAllClick() {
    if (!TargetsPresent())
        return;
    if (!Finish(CopyAlVoltagesToBc(m_main.project(), m_targets.BcAddress(), Texts())))
        return;
    m_main.ShowSelectedNodeAgain();
    close();
}
