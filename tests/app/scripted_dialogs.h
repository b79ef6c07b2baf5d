#pragma once
// Answers the program's questions in the order a test lists them and records every
// caption and text asked, so a test checks the exact words without a blocking dialog.
#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "Dialogs.h"

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { YesNo, Information, Error, Input, OpenFile, SaveFile, Modal };
    struct Asked {
        Kind kind;
        QString caption;
        QString text;
    };

    // Queue the next answer: "yes"/"no" for questions, the typed text for inputs,
    // a file name (empty = cancelled) for file dialogs.
    void answer(Kind kind, const QString &reply) { m_script.push_back({kind, reply}); }
    void yes() { answer(Kind::YesNo, "yes"); }
    void no() { answer(Kind::YesNo, "no"); }
    void input(const QString &text) { answer(Kind::Input, text); }
    void cancelInput() { answer(Kind::Input, "INPUTVAL_CANCEL"); }
    void openFile(const QString &path) { answer(Kind::OpenFile, path); }
    void saveFile(const QString &path) { answer(Kind::SaveFile, path); }
    // The next modal dialog: `handle` sees it filled, may change its controls, and
    // returns true to close it with OK.
    void modal(std::function<bool(QDialog &)> handle) {
        m_script.push_back({Kind::Modal, QString(), std::move(handle)});
    }

    // Runs `f` while the next Yes/No question is open, as events do behind a modal box.
    void whileNextQuestion(std::function<void()> f) { m_whileAsking = std::move(f); }

    const std::vector<Asked> &asked() const { return m_asked; }
    void clearAsked() { m_asked.clear(); }
    bool scriptDone() const { return m_script.empty(); }
    // Texts of the message boxes shown (information and error), in order.
    std::vector<QString> messages() const {
        std::vector<QString> out;
        for (const Asked &a : m_asked)
            if (a.kind == Kind::Information || a.kind == Kind::Error)
                out.push_back(a.text);
        return out;
    }

    bool askYesNo(const QString &caption, const QString &text) override {
        if (auto f = std::exchange(m_whileAsking, {}))
            f();
        return next(Kind::YesNo, caption, text) == "yes";
    }
    void information(const QString &caption, const QString &text) override { record(Kind::Information, caption, text); }
    void error(const QString &caption, const QString &text) override { record(Kind::Error, caption, text); }
    QString inputValue(const QString &prompt, const QString &defaultText) override {
        m_lastInputDefault = defaultText;
        return next(Kind::Input, QString(), prompt);
    }
    QString inputValueCaptioned(const QString &caption, const QString &prompt, const QString &defaultText) override {
        m_lastInputDefault = defaultText;
        return next(Kind::Input, caption, prompt);
    }
    QString saveFileNameSuggesting(const QString &filter, const QString &suggestedName) override {
        m_lastSuggestedSave = suggestedName;
        return next(Kind::SaveFile, QString(), filter);
    }
    QString openFileName(const QString &filter) override { return next(Kind::OpenFile, QString(), filter); }
    QString saveFileName(const QString &filter) override { return next(Kind::SaveFile, QString(), filter); }
    bool execDialog(QDialog &dialog) override {
        record(Kind::Modal, dialog.windowTitle(), dialog.objectName());
        if (m_script.empty() || m_script.front().kind != Kind::Modal) {
            ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
            return false;
        }
        Step s = m_script.front();
        m_script.pop_front();
        return s.handle && s.handle(dialog);
    }

    QString m_lastInputDefault;
    QString m_lastSuggestedSave;

private:
    struct Step {
        Kind kind;
        QString reply;
        std::function<bool(QDialog &)> handle = {};
    };
    void record(Kind kind, const QString &caption, const QString &text) { m_asked.push_back({kind, caption, text}); }
    QString next(Kind kind, const QString &caption, const QString &text) {
        record(kind, caption, text);
        if (m_script.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return kind == Kind::Input ? QString("INPUTVAL_CANCEL") : QString();
        }
        Step s = m_script.front();
        m_script.pop_front();
        EXPECT_EQ(int(s.kind), int(kind)) << "asked: " << text.toStdString();
        return s.reply;
    }
    std::deque<Step> m_script;
    std::function<void()> m_whileAsking;
    std::vector<Asked> m_asked;
};
