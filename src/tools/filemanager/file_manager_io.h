#pragma once
// What the file manager's logic needs around it: a line to send frames on, with the port
// it may close and reopen around a device reboot, and a window that shows what happens.
// The program adapts its main window to the first and the file manager window is the
// second; tests use fakes of both.
#include <QByteArray>
#include <QString>
#include <cstdint>

class FileManagerLine {
public:
    virtual ~FileManagerLine() = default;
    // One frame to `address`, sent once; false when it did not go out.
    virtual bool SendFrame(uint8_t address, const QByteArray &payload) = 0;
    // Opens or closes the serial port; false when opening failed.
    virtual bool SetPortOpen(bool open) = 0;
};

class FileManagerView {
public:
    virtual ~FileManagerView() = default;
    // One dated line in the window's log.
    virtual void LogFileLine(const QString &text) = 0;
    virtual void ClearLog() = 0;
    // The log replaced by a device's listing (lines end in "\n").
    virtual void ShowListing(const QString &text) = 0;
    virtual void SetProgress(int percent) = 0;
    // The countdown panel: shown with the seconds left, or hidden.
    virtual void ShowWait(int secondsLeft) = 0;
    virtual void HideWait() = 0;
    // A message box that must not hold up the caller: it may come from inside a reply.
    virtual void ShowMessage(const QString &text) = 0;
};
