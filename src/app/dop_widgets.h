#pragma once
// Small builders shared by the two additional-parameter windows.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app_texts.h"

inline QLabel *DopHeading(const QString &text) {
    auto *l = new QLabel(text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

inline QLineEdit *DopEdit(const char *name) {
    auto *e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

inline QComboBox *DopEchoTypeCombo(const char *name) {
    auto *c = new QComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems({kEchoOff, kEchoSpeaker, kEchoMic});
    return c;
}
