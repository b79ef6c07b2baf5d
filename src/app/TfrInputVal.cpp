#include "TfrInputVal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app_texts.h"

TfrInputVal::TfrInputVal(QWidget *owner) : QDialog(owner) {
    setObjectName("TfrInputVal");
    setWindowTitle(QStringLiteral("Значение"));
    setModal(true);
    lbVal = new QLabel(QStringLiteral("Введите значение"), this);
    lbVal->setObjectName("lbVal");
    edVal = new QLineEdit(this);
    edVal->setObjectName("edVal");
    btOk = new QPushButton(QStringLiteral("OK"), this);
    btOk->setObjectName("btOk");
    // No default button: Enter in the edit must not accept the dialog.
    btOk->setAutoDefault(false);
    btOk->setDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbVal);
    layout->addWidget(edVal);
    layout->addWidget(btOk, 0, Qt::AlignHCenter);
    setFixedSize(320, 120);
    connect(btOk, &QPushButton::clicked, this, &TfrInputVal::btOkClick);
}

QString TfrInputVal::Execute(const QString &prompt, const QString &defaultText) {
    lbVal->setText(prompt);
    edVal->setText(defaultText);
    edVal->setFocus();
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    if (exec() != QDialog::Accepted)
        return QString::fromUtf8(kInputCancel);
    return edVal->text();
}

QString TfrInputVal::Execute(const QString &caption, const QString &prompt, const QString &defaultText) {
    const QString usual = windowTitle();
    setWindowTitle(caption);
    const QString text = Execute(prompt, defaultText);
    setWindowTitle(usual);
    return text;
}

void TfrInputVal::btOkClick() { accept(); }
