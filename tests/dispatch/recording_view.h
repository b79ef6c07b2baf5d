#pragma once
// A window layer that writes down every call as one short line, answers questions from
// a script, and keeps a scanner list, so a test can compare whole sequences of effects.
#include <QString>
#include <QStringList>
#include <deque>
#include <string>
#include <vector>

#include "protocol_view.h"
#include "text_utils.h"

class RecordingView : public ProtocolView {
public:
    void ShowPdCompare(const PdSettings &r) override { Note("pd adr=" + std::to_string(r.adr) + " nam=" + r.nam); }
    void ShowBcCompare(const BcUnit &r) override { Note("bc adr=" + std::to_string(r.adr) + " nam=" + r.nam); }
    void ShowAlCompare(const AlLine &r) override {
        Note("al prt=" + std::to_string(r.prt) + " num=" + std::to_string(r.num));
    }
    void ShowNotifyCompare(const NotifyScenario &r) override { Note("notify num=" + std::to_string(r.num)); }
    void ShowPdSupplyVoltage(float ub) override { Note(std::string("ub ") + FloatToText(ub)); }
    void ShowBcLineVoltages(float east, float west) override {
        Note(std::string("bcvolts ") + FloatToText(east) + " " + FloatToText(west));
    }
    AlVoltageSet AlVoltageTarget() const override { return alTarget; }
    void ShowAlVoltages(AlVoltageSet set, float a, float b, float c) override {
        Note(std::string(set == AlVoltageSet::Connected ? "alvolts uvp " : "alvolts uk ") + FloatToText(a) + " " +
             FloatToText(b) + " " + FloatToText(c));
    }
    QStringList ScanLines() const override { return scanLines; }
    void AppendScanLine(const QString &line) override {
        scanLines << line;
        Note("scan " + line.toStdString());
    }
    bool FileManagerTakeReply(const uint8_t *payload, int length, uint8_t) override {
        const std::string text(reinterpret_cast<const char *>(payload), static_cast<size_t>(length));
        for (const std::string &prefix : fileManagerClaims) {
            if (text.rfind(prefix, 0) == 0) {
                Note("fm take " + text);
                return true;
            }
        }
        return false;
    }
    void FileManagerCloseFiles() override { Note("fm close"); }
    void RebuildNetworkTree() override { Note("tree"); }
    void MarkProjectModified() override { Note("modified"); }
    void SetProjectOpen(bool open) override { Note(open ? "project open" : "project closed"); }
    void ReshowNotifyEditor() override { Note("notify editor"); }
    bool AskYesNo(const QString &caption, const QString &text) override {
        Note("ask " + caption.toStdString() + ": " + text.toStdString());
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }

    void Note(const std::string &line) { events.push_back(line); }

    std::vector<std::string> events;
    std::deque<bool> answers;
    QStringList scanLines;
    std::vector<std::string> fileManagerClaims; // payload prefixes the file manager takes
    AlVoltageSet alTarget = AlVoltageSet::Disconnected;
};
