#include "tfr_read_params_bc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QStringList>

#include "shown_values.h"

using namespace readback;

TfrReadParamsBc::TfrReadParamsBc(QWidget *parent) : ReadBackWindow(QStringLiteral("Полученные данные с БС"), parent)
{
    setObjectName(QStringLiteral("TfrReadParamsBc"));
    QFormLayout *net = AddGroup(QStringLiteral("Параметры сети"), 0, 0);
    edBcAddr = AddEdit(net, "edBcAddr", QStringLiteral("Адрес  БС в сети (238...249)"));
    cbBcRsSpeed = AddCombo(net, "cbBcRsSpeed", QStringLiteral("Скорость RS485"), SpeedItems());
    cbBcLog = AddCheck(net, "cbBcLog", QStringLiteral("Логи в RS485"));
    edBcName = AddEdit(net, "edBcName", QStringLiteral("Описание БС (64 символа)"));

    QFormLayout *line = AddGroup(QStringLiteral("Параметры СЛ"), 1, 0);
    edBcUbWest = AddEdit(line, "edBcUbWest", QStringLiteral("Установить Ub, WEST"));
    edBcUbEast = AddEdit(line, "edBcUbEast", QStringLiteral("Установить Ub, EAST"));
    cbBypass = AddCheck(line, "cbBypass", QStringLiteral("Режим BYPASS"));
    cbBcDir = AddCombo(line, "cbBcDir", QStringLiteral("Направление ведущего ПД"),
                       {DirectionShown(false), DirectionShown(true)});
    edBcMasterAddr = AddEdit(line, "edBcMasterAddr", QStringLiteral("Адрес ведущего ПД"));
    edBcSlaveAddr = AddEdit(line, "edBcSlaveAddr", QStringLiteral("Адрес ведомого ПД"));
}

void TfrReadParamsBc::Fill(const BcUnit &r)
{
    edBcAddr->setText(IntShown(r.adr));
    ShowText(cbBcRsSpeed, IntShown(r.rss));
    cbBcLog->setChecked(r.rsl);
    edBcName->setText(NameShown(r.nam, sizeof r.nam));
    edBcUbWest->setText(VoltageShown(r.ubw));
    edBcUbEast->setText(VoltageShown(r.ube));
    cbBypass->setChecked(r.byp);
    ShowText(cbBcDir, DirectionShown(r.drw));
    edBcMasterAddr->setText(IntShown(r.pad));
    edBcSlaveAddr->setText(IntShown(r.pas));
}
