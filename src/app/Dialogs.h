#pragma once
// Every modal question the program asks goes through this one interface, so a test
// can answer in order and check the exact caption and text without a blocking dialog.
#include <QString>

class QDialog;
class QWidget;
class TfrInputVal;

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Yes/No question; true for Yes.
    virtual bool askYesNo(const QString &caption, const QString &text) = 0;
    virtual void information(const QString &caption, const QString &text) = 0;
    virtual void error(const QString &caption, const QString &text) = 0;
    // The one-value input dialog: the typed text, or "INPUTVAL_CANCEL" when not closed with OK.
    virtual QString inputValue(const QString &prompt, const QString &defaultText) = 0;
    // A file name, or an empty text when the dialog was cancelled.
    virtual QString openFileName(const QString &filter) = 0;
    virtual QString saveFileName(const QString &filter) = 0;
    // Runs a filled dialog modally; true when it was closed with OK. A test fills in
    // the controls and accepts or rejects instead; an answerer that cannot show
    // dialogs cancels, which changes nothing.
    virtual bool execDialog(QDialog &dialog);

    // The one-value dialog under a caption of its own ("Введите название файла").
    virtual QString inputValueCaptioned(const QString & /*caption*/, const QString &prompt,
                                        const QString &defaultText) {
        return inputValue(prompt, defaultText);
    }
    // The save dialog with a file name already filled in.
    virtual QString saveFileNameSuggesting(const QString &filter, const QString & /*suggestedName*/) {
        return saveFileName(filter);
    }
};

// The real dialogs: message boxes, TfrInputVal, and the toolkit's file dialogs.
class QtDialogs : public Dialogs {
public:
    QtDialogs(QWidget *owner, TfrInputVal *input) : m_owner(owner), m_input(input) {}
    void setInputWindow(TfrInputVal *input) { m_input = input; }

    bool askYesNo(const QString &caption, const QString &text) override;
    void information(const QString &caption, const QString &text) override;
    void error(const QString &caption, const QString &text) override;
    QString inputValue(const QString &prompt, const QString &defaultText) override;
    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;
    bool execDialog(QDialog &dialog) override;
    QString inputValueCaptioned(const QString &caption, const QString &prompt, const QString &defaultText) override;
    QString saveFileNameSuggesting(const QString &filter, const QString &suggestedName) override;

private:
    QWidget *m_owner;
    TfrInputVal *m_input;
};
