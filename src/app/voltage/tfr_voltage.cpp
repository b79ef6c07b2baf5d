#include "tfr_voltage.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TfrMain.h"

TfrVoltage::TfrVoltage(TfrMain &main) : VoltageWindow(main, "TfrVoltage", QStringLiteral("Напряжения")) {
    auto *outer = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    outer->addLayout(form);
    edUb = AddBox(form, "edUb", QStringLiteral("Напряжение на СЛ Ub"));
    btOk = AddButton("btOk", QStringLiteral("Скопировать в проект"));
    outer->addWidget(btOk);
    connect(btOk, &QPushButton::clicked, this, &TfrVoltage::btOkClick);
}

void TfrVoltage::Open() {
    VoltageRequest request;
    if (!Prepare(ReadTarget::Pd, request))
        return;
    edUb->setText(NoData());
    m_targets = VoltageTargets::ForPd(m_main.ProjectEpoch());
    Poll().Start(request.address, request.command);
    ShowNearMain();
}

void TfrVoltage::ShowUb(float ub) {
    ShowVolts(edUb, ub);
}

void TfrVoltage::btOkClick() {
    Poll().Stop();
    if (!TargetsPresent())
        return;
    if (!Finish(CopyPdVoltage(*m_targets.Pd(m_main.project(), m_main.ProjectEpoch()), edUb->text()))) {
        Poll().Start(Poll().Address(), Poll().Request()); // still open: it goes on measuring
        return;
    }
    close();
    m_main.ShowSelectedNodeAgain();
}
