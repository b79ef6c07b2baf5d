#pragma once
// The device file manager without its window: what each button sends, its own repeats,
// the wait that ends in a new listing (closing and reopening the port around a PD's
// reboot), the upload in parts and the download into a temporary file, and what each of
// the nine replies it knows means. Runs on the UI thread; its three timers tick there.
#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

#include "download_target.h"
#include "file_manager_io.h"
#include "protocol_timings.h"

class FileManagerLogic : public QObject {
    Q_OBJECT
public:
    // 11 bytes of "UPLOAD_PART" and at most 489 file bytes: 500 bytes a part.
    static constexpr int kUploadPartData = 489;

    FileManagerLogic(FileManagerLine &line, FileManagerView &view, const ProtocolTimings &timings = kRealTimings,
                     QObject *parent = nullptr);

    uint8_t DeviceAddress() const { return m_address; }
    void SetDeviceAddress(uint8_t address) { m_address = address; }

    // The buttons, once the window has asked what it needs. Each returns false when it
    // sent nothing (an empty or unsendable name, a file that cannot be opened).
    void List();
    void Format();
    bool Delete(const QString &name);
    void Reboot();
    bool StartUpload(const QString &path, const QString &deviceName);
    bool StartDownload(const QString &deviceName, const QString &localPath);

    // Every reply the dispatcher does not know itself. True when it is one of the nine
    // file replies. Stops the repeats whatever it is. Never waits and never asks.
    bool HandleFileReply(const uint8_t *payload, int length);
    // A device error ended the transfers: the upload file is closed, the download's
    // temporary file removed.
    void CloseFiles();
    // The window was shown or closed: repeats and the wait stop, both transfers end.
    void Stop();

    // State, for the window and for tests.
    bool RepeatsActive() const { return tmRepeat.isActive(); }
    int RepeatTag() const { return m_repeatTag; }
    bool WaitActive() const { return tmAfterCmd.isActive(); }
    int SecondsLeft() const { return m_secondsLeft; }
    bool UploadRunning() const { return m_upload.isOpen(); }
    bool DownloadRunning() const { return m_download.IsOpen(); }
    bool PartResendActive() const { return TimerSendUploadPart.isActive(); }
    const ProtocolTimings &Timings() const { return m_timings; }

private slots:
    void tmRepeatTimer();
    void tmAfterCmdTimer();
    void TimerSendUploadPartTimer();

private:
    void SendFileCommand(const QByteArray &text, int count);
    void WaitThenList(int milliseconds, bool reconnect);
    void SetProgress(int percent);
    void Log(const char *text);
    // The name on the wire, or a message and false when the device could not hold it.
    bool WireName(const QString &name, QByteArray &wire);

    void OnUploadReply();
    void OnUploadFinish();
    void OnDownloadStart(const char *rest);
    void OnDownloadPart(const uint8_t *data, int count);
    void FinishDownload();
    void CloseUpload();

    FileManagerLine &m_line;
    FileManagerView &m_view;
    ProtocolTimings m_timings;
    uint8_t m_address = 0;

    QTimer tmRepeat;
    QByteArray m_repeatCommand;
    int m_repeatTag = 0; // transmissions still due

    QTimer tmAfterCmd;
    QByteArray m_afterWaitCommand;
    int m_secondsLeft = 0;
    bool m_reconnect = false;

    QFile m_upload;
    qint64 m_uploadSize = 0;
    qint64 m_bytesSent = 0;
    QString m_uploadName;
    QByteArray m_lastPart;
    QTimer TimerSendUploadPart;
    int m_partResendTag = 0;

    DownloadTarget m_download;
    qint64 m_downloadSize = 0;
    qint64 m_bytesReceived = 0;
    uint64_t m_expectedSum = 0;
};
