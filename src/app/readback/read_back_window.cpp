#include "read_back_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "shown_values.h"

ReadBackWindow::ReadBackWindow(const QString &caption, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(caption);

    auto *outer = new QVBoxLayout(this);
    m_groups = new QGridLayout;
    outer->addLayout(m_groups);
    outer->addStretch(1);

    btCopy = new QPushButton(QStringLiteral("&Скопировать данные в проект"), this);
    btCopy->setObjectName(QStringLiteral("btCopy"));
    btCancel = new QPushButton(QStringLiteral("&Отмена"), this);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btCopy);
    buttons->addWidget(btCancel);
    outer->addLayout(buttons);

    connect(btCopy, &QPushButton::clicked, this, &ReadBackWindow::btCopyClick);
    connect(btCancel, &QPushButton::clicked, this, &ReadBackWindow::btCancelClick);
}

ReadBackWindow::~ReadBackWindow() = default;

QFormLayout *ReadBackWindow::AddGroup(const QString &title, int row, int column)
{
    auto *group = new QGroupBox(title, this);
    auto *form = new QFormLayout(group);
    // Some styles keep fields at their hint width, too narrow for a name or "Без фиксации".
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_groups->addWidget(group, row, column, Qt::AlignTop);
    return form;
}

void ReadBackWindow::AddHeading(QFormLayout *form, const QString &text)
{
    auto *heading = new QLabel(text, form->parentWidget());
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    form->addRow(heading);
}

// Labels are buddies of their controls, so a reader (and a test) finds the caption
// that belongs to each value.
static void AddLabelled(QFormLayout *form, QWidget *control, const char *name, const QString &label)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setEnabled(false);
    control->setMinimumWidth(120);
    auto *caption = new QLabel(label, form->parentWidget());
    caption->setBuddy(control);
    form->addRow(caption, control);
}

QLineEdit *ReadBackWindow::AddEdit(QFormLayout *form, const char *name, const QString &label)
{
    auto *edit = new QLineEdit(form->parentWidget());
    AddLabelled(form, edit, name, label);
    return edit;
}

QComboBox *ReadBackWindow::AddCombo(QFormLayout *form, const char *name, const QString &label,
                                    const QStringList &items)
{
    auto *box = new QComboBox(form->parentWidget());
    box->setEditable(true);
    box->addItems(items);
    AddLabelled(form, box, name, label);
    return box;
}

QCheckBox *ReadBackWindow::AddCheck(QFormLayout *form, const char *name, const QString &label)
{
    auto *check = new QCheckBox(label, form->parentWidget());
    check->setObjectName(QString::fromLatin1(name));
    check->setEnabled(false);
    form->addRow(check);
    return check;
}

void ReadBackWindow::ShowText(QComboBox *box, const QString &text) { box->setCurrentText(text); }

ReadBackWindow::EchoControls ReadBackWindow::AddEchoGroup(int row, int column, const char *device)
{
    const QByteArray d(device);
    QFormLayout *echo = AddGroup(QStringLiteral("Эхоподавление (программное)"), row, column);
    EchoControls c;
    c.type = AddCombo(echo, QByteArray("cb" + d + "EchoType").constData(), QStringLiteral("Тип"),
                      {readback::EchoTypeShown(0), readback::EchoTypeShown(1), readback::EchoTypeShown(2)});
    c.level1 = AddEdit(echo, QByteArray("ed" + d + "EchoLevel1").constData(), QStringLiteral("Время срабатывания, мс"));
    c.level2 = AddEdit(echo, QByteArray("ed" + d + "EchoLevel2").constData(), QStringLiteral("Время запаздывания, мс"));
    return c;
}

void ReadBackWindow::ShowEcho(const EchoControls &echo, uint8_t etp, int16_t el1, int16_t el2)
{
    ShowText(echo.type, readback::EchoTypeShown(etp));
    echo.level1->setText(readback::IntShown(el1));
    echo.level2->setText(readback::IntShown(el2));
}

void ReadBackWindow::btCopyClick()
{
    emit copyRequested();
    hide();
}

void ReadBackWindow::btCancelClick() { hide(); }
