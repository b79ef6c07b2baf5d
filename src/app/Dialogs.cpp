#include "Dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "TfrInputVal.h"
#include "app_texts.h"
#include "name_validator.h"

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

QString QtDialogs::inputName(const QString &prompt, const QString &defaultText, int fieldSize) {
    if (!m_input)
        return QString::fromUtf8(kInputCancel);
    return m_input->Execute(prompt, defaultText, fieldSize);
}

QString Dialogs::inputName(const QString &prompt, const QString &defaultText, int fieldSize) {
    const QString text = inputValue(prompt, defaultText);
    return text == QString::fromUtf8(kInputCancel) ? text : NameValidator::Mended(text, fieldSize - 1);
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

bool QtDialogs::askWarningYesNo(const QString &caption, const QString &text) {
    return QMessageBox::warning(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::askOkCancel(const QString &caption, const QString &text) {
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
