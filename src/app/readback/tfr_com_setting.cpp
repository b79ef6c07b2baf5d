#include "tfr_com_setting.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shown_values.h"

static void AddLabelled(QVBoxLayout *layout, QWidget *control, const char *name, const QString &label)
{
    control->setObjectName(QString::fromLatin1(name));
    auto *caption = new QLabel(label, control->parentWidget());
    caption->setBuddy(control);
    layout->addWidget(caption);
    layout->addWidget(control);
}

TfrComSetting::TfrComSetting(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrComSetting"));
    setWindowTitle(QStringLiteral("Настройки COM порта"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);

    cbComNumber = new QComboBox(this);
    cbComNumber->setEditable(true);
    AddLabelled(layout, cbComNumber, "cbComNumber", QStringLiteral("Выберите COM порт"));

    cbComSpeed = new QComboBox(this);
    cbComSpeed->setEditable(true);
    cbComSpeed->addItems(readback::SpeedItems());
    AddLabelled(layout, cbComSpeed, "cbComSpeed", QStringLiteral("Выберите скорость COM порта"));

    edPivAddr = new QLineEdit(this);
    AddLabelled(layout, edPivAddr, "edPivAddr", QStringLiteral("Адрес ПК  в сети TALVIK"));

    btOk = new QPushButton(QStringLiteral("OK"), this);
    btOk->setObjectName(QStringLiteral("btOk"));
    layout->addWidget(btOk, 0, Qt::AlignRight);
    connect(btOk, &QPushButton::clicked, this, &TfrComSetting::btOkClick);
}

void TfrComSetting::Fill(const ComSettingTexts &texts)
{
    cbComNumber->clear();
    cbComNumber->addItems(texts.portItems);
    // An editable box would otherwise show its first item for an unconfigured port.
    cbComNumber->setCurrentIndex(-1);
    cbComNumber->setEditText(texts.port);
    cbComSpeed->setEditText(texts.speed);
    edPivAddr->setText(texts.addr);
}

ComSettingTexts TfrComSetting::Texts() const
{
    ComSettingTexts t;
    for (int i = 0; i < cbComNumber->count(); ++i)
        t.portItems << cbComNumber->itemText(i);
    t.port = cbComNumber->currentText();
    t.speed = cbComSpeed->currentText();
    t.addr = edPivAddr->text();
    return t;
}

void TfrComSetting::btOkClick() { accept(); }
