#include "tfr_select.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrSelect::TfrSelect(QWidget *owner) : QDialog(owner) {
    setObjectName("TfrSelect");
    setWindowTitle(QStringLiteral("Выберите"));
    setModal(true);
    lbSelect = new QLabel(this);
    lbSelect->setObjectName("lbSelect");
    cbSelect = new QComboBox(this);
    cbSelect->setObjectName("cbSelect");
    cbSelect->setEditable(true);
    // A typed text stays a text: it must not be added to the list of disks.
    cbSelect->setInsertPolicy(QComboBox::NoInsert);
    lbSelect->setBuddy(cbSelect);
    btOk = new QPushButton(QStringLiteral("&OK"), this);
    btOk->setObjectName("btOk");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbSelect);
    layout->addWidget(cbSelect);
    layout->addWidget(btOk, 0, Qt::AlignHCenter);
    setMinimumWidth(320);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrSelect::Fill(const QString &label, const QStringList &items) {
    cbSelect->clear();
    lbSelect->setText(label);
    cbSelect->setAccessibleName(label);
    cbSelect->addItems(items);
    cbSelect->setEditText(items.isEmpty() ? QString() : items.first());
}

QString TfrSelect::SelectedText() const {
    return cbSelect->currentText();
}
