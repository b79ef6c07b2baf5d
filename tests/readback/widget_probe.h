#pragma once
// Reads what a named control shows, the way a user sees it, so tables of
// (control, caption, text) can be checked against any window.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

// Check boxes read as "checked"/"unchecked"; combo and edit boxes as their text.
inline QString ShownIn(const QWidget *window, const char *name)
{
    QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
    if (!w)
        return QStringLiteral("<no control>");
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return check->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    return QStringLiteral("<not a value control>");
}

// A check box carries its own caption; other controls have a label whose buddy they are.
inline QString CaptionOf(const QWidget *window, const char *name)
{
    QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
    if (!w)
        return QStringLiteral("<no control>");
    if (auto *check = qobject_cast<QCheckBox *>(w))
        return check->text();
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy() == w)
            return label->text();
    return QStringLiteral("<no caption>");
}

inline bool IsEnabledIn(const QWidget *window, const char *name)
{
    QWidget *w = window->findChild<QWidget *>(QString::fromLatin1(name));
    return w && w->isEnabled();
}
