#include "tfr_read_params_notify.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>

#include "shown_values.h"

using namespace readback;

TfrReadParamsNotify::TfrReadParamsNotify(QWidget *parent)
    : ReadBackWindow(QStringLiteral("Данный сценария"), parent)
{
    setObjectName(QStringLiteral("TfrReadParamsNotify"));
    QFormLayout *form = AddGroup(QString(), 0, 0);
    cbNotifyEnable = AddCheck(form, "cbNotifyEnable", QStringLiteral("Включено"));
    edZoneNum = AddEdit(form, "edZoneNum", QStringLiteral("Номер зоны"));
    edFileName = AddEdit(form, "edFileName", QStringLiteral("Имя файла"));
    edDateTime = AddEdit(form, "edDateTime", QStringLiteral("Дата и время"));
    edPeriod = AddEdit(form, "edPeriod", QStringLiteral("Период повторов"));
    edCount = AddEdit(form, "edCount", QStringLiteral("Количество повторов"));
}

void TfrReadParamsNotify::Fill(const NotifyScenario &r)
{
    cbNotifyEnable->setChecked(r.nte);
    edZoneNum->setText(IntShown(r.zon));
    edFileName->setText(NameShown(r.wav, sizeof r.wav));
    edDateTime->setText(DateTimeShown(r.dtm));
    edPeriod->setText(IntShown(r.per));
    edCount->setText(IntShown(r.cnt));
}
