#pragma once
// Stands in for the file manager window: records what the other tools ask of it, in order.
#include <QString>
#include <QStringList>

#include "file_manager_api.h"

class FakeFileManager : public FileManagerApi {
public:
    void OpenForDevice(uint8_t address) override { calls << QString("open %1").arg(address); }
    void ShowFileManager() override { calls << "show"; }
    void ClearLog() override { calls << "clear"; }
    void LogFileLine(const QString &text) override { calls << "log " + text; }
    void SetDeviceAddress(uint8_t address) override { calls << QString("address %1").arg(address); }
    void StartUpload(const QString &path, const QString &deviceName) override {
        calls << "upload " + path + " as " + deviceName;
    }
    QStringList calls;
};
