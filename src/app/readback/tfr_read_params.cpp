#include "tfr_read_params.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QStringList>

#include "shown_values.h"

using namespace readback;

TfrReadParams::TfrReadParams(QWidget *parent) : ReadBackWindow(QStringLiteral("Полученные данные с ПД"), parent)
{
    setObjectName(QStringLiteral("TfrReadParams"));
    QFormLayout *net = AddGroup(QStringLiteral("Параметры сети"), 0, 0);
    edPdAddr = AddEdit(net, "edPdAddr", QStringLiteral("Адрес  ПД в сети (250...254)"));
    cbPdRsSpeed = AddCombo(net, "cbPdRsSpeed", QStringLiteral("Скорость RS485"), SpeedItems());
    edPdStatus = AddCombo(net, "edPdStatus", QStringLiteral("Статус"), {PdStatusShown(true), PdStatusShown(false)});
    edPDLog = AddCheck(net, "edPDLog", QStringLiteral("Логи в RS485"));
    edPdShowErr = AddCheck(net, "edPdShowErr", QStringLiteral("Уведомление неисправности"));
    cbUSBMode = AddCombo(net, "cbUSBMode", QStringLiteral("Режим USB"), {UsbModeShown(false), UsbModeShown(true)});

    QFormLayout *line = AddGroup(QStringLiteral("Параметры СЛ"), 1, 0);
    edPdUb = AddEdit(line, "edPdUb", QStringLiteral("Установить Ub"));
    edPdDir = AddCombo(line, "edPdDir", QStringLiteral("Направление ПД"), {DirectionShown(true), DirectionShown(false)});
    cbPdMic = AddCombo(line, "cbPdMic", QStringLiteral("Включение микрофона"),
                       {MicSwitchShown(false), MicSwitchShown(true)});

    QFormLayout *volume = AddGroup(QStringLiteral("Уровень громкости"), 2, 0);
    edPdMic = AddEdit(volume, "edPdMic", QStringLiteral("Микрофона, %"));
    edPdSpk = AddEdit(volume, "edPdSpk", QStringLiteral("Динамика, %"));
    edPdSig = AddEdit(volume, "edPdSig", QStringLiteral("Служебных сигналов, %"));

    QFormLayout *aru = AddGroup(QStringLiteral("АРУ (программное)"), 0, 1);
    cbPdAruEnable = AddCheck(aru, "cbPdAruEnable", QStringLiteral("Включено"));
    edPdAruLevel = AddEdit(aru, "edPdAruLevel", QStringLiteral("Уровень сигнала, %"));
    edPdAruTimeOn = AddEdit(aru, "edPdAruTimeOn", QStringLiteral("Время срабатывания, мс"));
    edPdAruTimeOff = AddEdit(aru, "edPdAruTimeOff", QStringLiteral("Время запаздывания, мс"));
    cbPdAruSpdEnable = AddCheck(aru, "cbPdAruSpdEnable", QStringLiteral("Детектор речи"));
    cbPdAruSpdLevel = AddEdit(aru, "cbPdAruSpdLevel", QStringLiteral("Уровень детектора речи, % "));

    const EchoControls echo = AddEchoGroup(1, 1, "Pd");
    cbPdEchoType = echo.type;
    edPdEchoLevel1 = echo.level1;
    edPdEchoLevel2 = echo.level2;
}

void TfrReadParams::Fill(const PdSettings &r)
{
    edPdAddr->setText(IntShown(r.adr));
    ShowText(cbPdRsSpeed, IntShown(r.rss));
    ShowText(edPdStatus, PdStatusShown(r.mst));
    edPDLog->setChecked(r.rsl);
    edPdShowErr->setChecked(r.ers);
    edPdUb->setText(VoltageShown(r.ubs));
    ShowText(edPdDir, DirectionShown(r.drw));
    edPdMic->setText(IntShown(r.mic));
    edPdSpk->setText(IntShown(r.spk));
    edPdSig->setText(IntShown(r.sps));
    ShowText(cbPdMic, MicSwitchShown(r.mlk));
    ShowText(cbUSBMode, UsbModeShown(r.usb));
    cbPdAruEnable->setChecked(r.aru);
    edPdAruLevel->setText(IntShown(r.arl));
    edPdAruTimeOn->setText(IntShown(r.ton));
    edPdAruTimeOff->setText(IntShown(r.tof));
    cbPdAruSpdEnable->setChecked(r.spd);
    cbPdAruSpdLevel->setText(IntShown(r.spl));
    ShowEcho({cbPdEchoType, edPdEchoLevel1, edPdEchoLevel2}, r.etp, r.el1, r.el2);
}
