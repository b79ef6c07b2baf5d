#pragma once
// A line that records what the file manager sends and a view that records what it shows,
// and timings shrunk so waits and resends take milliseconds. No test framework here: the
// benchmark uses them too.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "filemanager/file_manager_io.h"
#include "filemanager/file_manager_logic.h"

class FakeFileLine : public FileManagerLine {
public:
    struct Frame {
        uint8_t address;
        std::string payload;
        qint64 atMs;
    };
    FakeFileLine() { clock.start(); }
    bool SendFrame(uint8_t address, const QByteArray &payload) override {
        frames.push_back({address, payload.toStdString(), clock.elapsed()});
        events.push_back("send " + payload.left(16).toStdString());
        return portOpen;
    }
    bool SetPortOpen(bool open) override {
        portOpen = open;
        events.push_back(open ? "open" : "close");
        return true;
    }
    std::vector<std::string> payloads() const {
        std::vector<std::string> out;
        for (const Frame &f : frames)
            out.push_back(f.payload);
        return out;
    }

    std::vector<Frame> frames;
    std::vector<std::string> events; // sends and port changes, in order
    bool portOpen = true;
    QElapsedTimer clock;
};

class FakeFileView : public FileManagerView {
public:
    void LogFileLine(const QString &text) override { log.push_back(text.toStdString()); }
    void ClearLog() override {
        ++cleared;
        log.clear();
    }
    void ShowListing(const QString &text) override { listing.push_back(text.toStdString()); }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void ShowWait(int secondsLeft) override {
        waitShown = true;
        countdown.push_back(secondsLeft);
    }
    void HideWait() override { waitShown = false; }
    void ShowMessage(const QString &text) override { messages.push_back(text.toStdString()); }

    std::vector<std::string> log, listing, messages;
    std::vector<int> progress, countdown;
    int cleared = 0;
    bool waitShown = false;
};

// Repeats every 60 ms, part resends every 40 ms, a wait's second lasts 3 ms.
inline ProtocolTimings FastFileTimings() {
    ProtocolTimings t;
    t.fileRepeatIntervalMs = 60;
    t.uploadPartResendMs = 40;
    t.fileWaitTickMs = 3;
    return t;
}

inline void WaitMs(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline bool WaitUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        WaitMs(1);
    }
    return true;
}
