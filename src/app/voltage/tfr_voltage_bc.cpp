#include "tfr_voltage_bc.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TfrMain.h"

TfrVoltageBc::TfrVoltageBc(TfrMain &main) : VoltageWindow(main, "TfrVoltageBc", QStringLiteral("Напряжения на БС")) {
    auto *outer = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    outer->addLayout(form);
    edUbw = AddBox(form, "edUbw", QStringLiteral("Напряжение на СЛ Ubw (WEST)"));
    edUbe = AddBox(form, "edUbe", QStringLiteral("Напряжение на СЛ Ube (EAST)"));
    btOk = AddButton("btOk", QStringLiteral("Скопировать в проект"));
    outer->addWidget(btOk);
    connect(btOk, &QPushButton::clicked, this, &TfrVoltageBc::btOkClick);
}

void TfrVoltageBc::Open() {
    VoltageRequest request;
    if (!Prepare(ReadTarget::Bc, request))
        return;
    edUbw->setText(NoData());
    edUbe->setText(NoData());
    m_targets = VoltageTargets::ForBc(*m_main.SelectedBcUnit(), m_main.ProjectEpoch());
    Poll().Start(request.address, request.command);
    ShowNearMain();
}

void TfrVoltageBc::ShowLineVoltages(float east, float west) {
    ShowVolts(edUbe, east);
    ShowVolts(edUbw, west);
}

void TfrVoltageBc::btOkClick() {
    Poll().Stop();
    if (!TargetsPresent())
        return;
    BcUnit &bc = *m_targets.Bc(m_main.project(), m_main.ProjectEpoch());
    if (!Finish(CopyBcVoltages(bc, edUbw->text(), edUbe->text()))) {
        Poll().Start(Poll().Address(), Poll().Request()); // still open: it goes on measuring
        return;
    }
    m_main.ShowSelectedNodeAgain();
    close();
}
