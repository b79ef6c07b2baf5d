#include "Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "TfrInputVal.h"
#include "app_texts.h"

bool QtDialogs::askYesNo(const QString &caption, const QString &text) {
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::information(const QString &caption, const QString &text) {
    QMessageBox::information(m_owner, caption, text);
}

void QtDialogs::error(const QString &caption, const QString &text) {
    QMessageBox::critical(m_owner, caption, text);
}

QString QtDialogs::inputValue(const QString &prompt, const QString &defaultText) {
    if (!m_input)
        return QString::fromUtf8(kInputCancel);
    return m_input->Execute(prompt, defaultText);
}

QString QtDialogs::openFileName(const QString &filter) {
    return QFileDialog::getOpenFileName(m_owner, QString(), QString(), filter);
}

QString QtDialogs::saveFileName(const QString &filter) {
    return QFileDialog::getSaveFileName(m_owner, QString(), QString(), filter);
}

QString QtDialogs::inputValueCaptioned(const QString &caption, const QString &prompt, const QString &defaultText) {
    if (!m_input)
        return QString::fromUtf8(kInputCancel);
    return m_input->Execute(caption, prompt, defaultText);
}

QString QtDialogs::saveFileNameSuggesting(const QString &filter, const QString &suggestedName) {
    return QFileDialog::getSaveFileName(m_owner, QString(), suggestedName, filter);
}

bool Dialogs::execDialog(QDialog &) {
    return false;
}

bool QtDialogs::execDialog(QDialog &dialog) {
    return dialog.exec() == QDialog::Accepted;
}
