#pragma once
// What the other tools ask of the device file manager: the scanner opens it on a found
// device, writing the network and the firmware update send a file through its upload.
// The file manager window implements it; tests of those tools use a fake.
#include <QString>
#include <cstdint>

class FileManagerApi {
public:
    virtual ~FileManagerApi() = default;
    // Clears the log, sets the device address, sends "LIST" and shows the window. Opens the
    // port first; when it cannot be opened nothing else happens.
    virtual void OpenForDevice(uint8_t address) = 0;
    // Shows the window (modeless) without sending anything.
    virtual void ShowFileManager() = 0;
    virtual void ClearLog() = 0;
    // One dated line in the file manager's own log.
    virtual void LogFileLine(const QString &text) = 0;
    virtual void SetDeviceAddress(uint8_t address) = 0;
    // Uploads the local file `path` under `deviceName`; progress and the end are shown and
    // logged by the file manager itself.
    virtual void StartUpload(const QString &path, const QString &deviceName) = 0;

    // The dispatcher's side: every reply it does not know itself, whether the window is
    // shown or not; true when it was a file reply. Never blocks.
    virtual bool HandleFileReply(const uint8_t * /*payload*/, int /*length*/) { return false; }
    // A device error ended the transfers: no file stays open, no partial download remains.
    virtual void CloseTransferFiles() {}
};
