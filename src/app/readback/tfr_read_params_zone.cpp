#include "tfr_read_params_zone.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QStringList>

#include "shown_values.h"

using namespace readback;

TfrReadParamsZone::TfrReadParamsZone(QWidget *parent)
    : ReadBackWindow(QStringLiteral("Прочитанные данные с АЛ"), parent)
{
    setObjectName(QStringLiteral("TfrReadParamsZone"));
    QFormLayout *ids = AddGroup(QStringLiteral("Идентификаторы"), 0, 0);
    edAlNumber = AddEdit(ids, "edAlNumber", QStringLiteral("Номер АЛ"));
    edAlZone = AddEdit(ids, "edAlZone", QStringLiteral("Номер зоны"));
    edAlName = AddEdit(ids, "edAlName", QStringLiteral("Описание зоны (64 символа)"));

    QFormLayout *refs = AddGroup(QStringLiteral("Опорные напряжения  АЛ"), 1, 0);
    AddHeading(refs, QStringLiteral("Режим соединения"));
    edAlUvp = AddEdit(refs, "edAlUvp", QStringLiteral("ВП подключено, Uvp"));
    edAlUk = AddEdit(refs, "edAlUk", QStringLiteral("ВП нажата кнопка, Uk"));
    AddHeading(refs, QStringLiteral("Режим ожидания"));
    edAlTUvp = AddEdit(refs, "edAlTUvp", QStringLiteral("ВП подключено, Utvp"));
    edAlTUk = AddEdit(refs, "edAlTUk", QStringLiteral("ВП нажата кнопка, Utk"));
    edAlUsp = AddEdit(refs, "edAlUsp", QStringLiteral("ВП динамик, Usp"));

    QFormLayout *volume = AddGroup(QStringLiteral("Уровень громкости"), 0, 1);
    edAlMic = AddEdit(volume, "edAlMic", QStringLiteral("Микрофона, %"));
    edAlSpk = AddEdit(volume, "edAlSpk", QStringLiteral("Динамика, %"));
    edAlSig = AddEdit(volume, "edAlSig", QStringLiteral("Служебных сигналов, %"));

    const EchoControls echo = AddEchoGroup(1, 1, "Al");
    cbAlEchoType = echo.type;
    edAlEchoLevel1 = echo.level1;
    edAlEchoLevel2 = echo.level2;
}

void TfrReadParamsZone::Fill(const AlLine &r)
{
    edAlNumber->setText(IntShown(r.prt));
    edAlZone->setText(IntShown(r.num));
    edAlName->setText(NameShown(r.nam, sizeof r.nam));
    edAlUvp->setText(VoltageShown(r.uvp));
    edAlUk->setText(VoltageShown(r.ukn));
    edAlTUvp->setText(VoltageShown(r.tuv));
    edAlTUk->setText(VoltageShown(r.tuk));
    edAlUsp->setText(VoltageShown(r.usp));
    edAlMic->setText(IntShown(r.mic));
    edAlSpk->setText(IntShown(r.spk));
    edAlSig->setText(IntShown(r.sps));
    ShowEcho({cbAlEchoType, edAlEchoLevel1, edAlEchoLevel2}, r.etp, r.el1, r.el2);
}
