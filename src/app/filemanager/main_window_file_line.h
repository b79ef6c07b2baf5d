#pragma once
// The file manager sends on the main window's port, through its command exchange (so its
// frames carry the PC's own address), and closes and reopens that port around a reboot.
#include "TfrMain.h"
#include "device_protocol.h"
#include "filemanager/file_manager_io.h"

class MainWindowFileLine : public FileManagerLine {
public:
    explicit MainWindowFileLine(TfrMain &main) : m_main(main) {}
    bool SendFrame(uint8_t address, const QByteArray &payload) override {
        return m_main.protocol().Exchange().SendFrame(address, payload);
    }
    bool SetPortOpen(bool open) override { return m_main.SetPortOpen(open); }

private:
    TfrMain &m_main;
};
