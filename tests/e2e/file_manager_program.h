#pragma once
// The program's side for the file manager, without widgets: the real TCommPort at the
// line's speed, the command exchange and the reply dispatcher over it, and the file
// manager's logic receiving what the dispatcher does not know, as in the program.
#include <QElapsedTimer>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "TCommPort.h"
#include "device_protocol.h"
#include "file_manager_fakes.h"
#include "sim_demo.h"
#include "tcommport_link.h"

class FileManagerProgram : public ProtocolView, public FileManagerLine {
public:
    FileManagerProgram(int comNumber, int baud, const ProtocolTimings &timings)
        : project(MakeDemoProject()), m_link(port),
          protocol(
              project.get(), this, [this](const QString &t) { mainLog.push_back(t.toStdString()); }, timings),
          logic(*this, view, timings) {
        port.SetComNumber(comNumber);
        port.SetBaud(baud);
        // One part and its reply are far below these; the rings of the main window.
        port.SetIBuffSize(2048);
        port.SetOBuffSize(4096);
        port.SetOpen(true);
        if (!port.IsEnabled())
            throw std::runtime_error("the program's port did not open: " + port.LastOpenError().toStdString());
        protocol.Exchange().SetPort(&m_link);
        ConnectDataReceived(port, protocol.Exchange());
        logic.SetDeviceAddress(250);
    }
    ~FileManagerProgram() override {
        logic.Stop();
        port.SetOpen(false);
    }

    // ProtocolView: the file manager's seams, as the main window's view forwards them.
    bool FileManagerTakeReply(const uint8_t *payload, int length, uint8_t) override {
        return logic.HandleFileReply(payload, length);
    }
    void FileManagerCloseFiles() override { logic.CloseFiles(); }

    // FileManagerLine over the real port.
    bool SendFrame(uint8_t address, const QByteArray &payload) override {
        return protocol.Exchange().SendFrame(address, payload);
    }
    bool SetPortOpen(bool open) override {
        port.SetOpen(open);
        portChanges.push_back(open);
        return port.IsEnabled() == open;
    }

    bool WaitFor(const std::function<bool()> &done, int timeoutMs) { return WaitUntil(done, timeoutMs); }
    bool Logged(const std::string &line) const {
        return std::find(view.log.begin(), view.log.end(), line) != view.log.end();
    }

    TCommPort port;
    std::unique_ptr<Project> project;
    std::vector<std::string> mainLog;
    std::vector<bool> portChanges;
    FakeFileView view;

private:
    TCommPortLink m_link;

public:
    DeviceProtocol protocol;
    FileManagerLogic logic;
};
