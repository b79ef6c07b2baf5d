#include "file_manager_logic.h"

#include <QFileInfo>
#include <cstring>
#include <utility>

#include "checksum.h"
#include "device_file_name.h"
#include "file_manager_texts.h"
#include "text_utils.h"

namespace {
constexpr char kUploadPart[] = "UPLOAD_PART";
constexpr char kDownloadPart[] = "DOWNLOAD_PART";
constexpr char kList[] = "LIST";

bool IsPdAddress(uint8_t address) {
    return address >= 250 && address <= 254;
}

int Percent(qint64 part, qint64 whole) {
    return whole > 0 ? static_cast<int>(part * 100 / whole) : 100;
}
} // namespace

FileManagerLogic::FileManagerLogic(FileManagerLine &line, FileManagerView &view, const ProtocolTimings &timings,
                                   QObject *parent)
    : QObject(parent), m_line(line), m_view(view), m_timings(timings) {
    // Precise: a coarse timer may fire 5% early, and the pace is what the device expects.
    for (QTimer *t : {&tmRepeat, &tmAfterCmd, &TimerSendUploadPart})
        t->setTimerType(Qt::PreciseTimer);
    tmRepeat.setObjectName(QStringLiteral("tmRepeat"));
    tmAfterCmd.setObjectName(QStringLiteral("tmAfterCmd"));
    TimerSendUploadPart.setObjectName(QStringLiteral("TimerSendUploadPart"));
    tmRepeat.setInterval(m_timings.fileRepeatIntervalMs);
    tmAfterCmd.setInterval(m_timings.fileWaitTickMs);
    TimerSendUploadPart.setInterval(m_timings.uploadPartResendMs);
    connect(&tmRepeat, &QTimer::timeout, this, &FileManagerLogic::tmRepeatTimer);
    connect(&tmAfterCmd, &QTimer::timeout, this, &FileManagerLogic::tmAfterCmdTimer);
    connect(&TimerSendUploadPart, &QTimer::timeout, this, &FileManagerLogic::TimerSendUploadPartTimer);
}

void FileManagerLogic::Log(const char *text) {
    m_view.LogFileLine(QString::fromUtf8(text));
}

void FileManagerLogic::SetProgress(int percent) {
    m_view.SetProgress(percent);
}

bool FileManagerLogic::WireName(const QString &name, QByteArray &wire) {
    if (DeviceNameToWire(name, wire))
        return true;
    m_view.ShowMessage(QString::fromUtf8(FileManagerText::kNameNotCp1251) + name);
    return false;
}

// --- repeats ---------------------------------------------------------------------------

void FileManagerLogic::SendFileCommand(const QByteArray &text, int count) {
    tmRepeat.stop();
    // Kept whole: a command cut to a fixed buffer would name another file.
    m_repeatCommand = text;
    m_repeatTag = count;
    tmRepeat.setInterval(m_timings.fileRepeatIntervalMs);
    tmRepeatTimer();
    if (m_repeatTag > 0)
        tmRepeat.start();
}

void FileManagerLogic::tmRepeatTimer() {
    if (m_repeatTag != 0) {
        m_line.SendFrame(m_address, m_repeatCommand);
        --m_repeatTag;
        return;
    }
    tmRepeat.stop();
    Log(FileManagerText::kNoReply);
}

// --- the wait that ends in a new listing ------------------------------------------------

void FileManagerLogic::WaitThenList(int milliseconds, bool reconnect) {
    tmAfterCmd.stop();
    m_afterWaitCommand = kList;
    tmAfterCmd.setInterval(m_timings.fileWaitTickMs);
    tmAfterCmd.start();
    m_secondsLeft = milliseconds / 1000;
    m_view.ShowWait(m_secondsLeft);
    m_reconnect = reconnect;
}

void FileManagerLogic::tmAfterCmdTimer() {
    if (m_secondsLeft > 0) {
        --m_secondsLeft;
        m_view.ShowWait(m_secondsLeft);
        return;
    }
    tmAfterCmd.stop();
    if (m_reconnect) {
        // A rebooted PD re-enumerates its USB port: the old handle is dead.
        m_line.SetPortOpen(false);
        m_line.SetPortOpen(true);
    }
    m_view.ClearLog();
    m_line.SendFrame(m_address, m_afterWaitCommand);
    SetProgress(0);
    m_view.HideWait();
}

// --- buttons ---------------------------------------------------------------------------

void FileManagerLogic::List() {
    SendFileCommand(kList, m_timings.fileRepeatTransmissions);
}

void FileManagerLogic::Format() {
    SendFileCommand("FORMAT", m_timings.fileRepeatTransmissions);
}

bool FileManagerLogic::Delete(const QString &name) {
    QByteArray wire;
    if (name.isEmpty() || !WireName(name, wire))
        return false;
    SendFileCommand("DELETE" + wire, m_timings.fileRepeatTransmissions);
    return true;
}

void FileManagerLogic::Reboot() {
    const bool reconnect = IsPdAddress(m_address);
    m_line.SendFrame(m_address, "REBOOT");
    if (reconnect)
        m_line.SetPortOpen(false);
    Log(FileManagerText::kRebooting);
    WaitThenList(m_timings.fileRebootWaitMs, reconnect);
}

bool FileManagerLogic::StartUpload(const QString &path, const QString &deviceName) {
    QByteArray wireName;
    if (!WireName(deviceName, wireName))
        return false;
    const uint64_t sum = FileByteSum(QFile::encodeName(path).toStdString());
    CloseUpload();
    m_upload.setFileName(path);
    if (!QFileInfo(path).isFile() || !m_upload.open(QIODevice::ReadOnly)) {
        m_view.ShowMessage(QString::fromUtf8(FileManagerText::kCannotOpenUpload));
        return false;
    }
    m_uploadSize = m_upload.size();
    m_uploadName = deviceName;
    SetProgress(0);
    m_bytesSent = 0;
    const QByteArray command = "UPLOAD size:" + QByteArray::number(m_uploadSize) +
                               " crc:" + QByteArray::number(static_cast<qulonglong>(sum)) + " file:" + wireName;
    SendFileCommand(command, m_timings.fileRepeatTransmissions);
    SetProgress(0);
    return true;
}

bool FileManagerLogic::StartDownload(const QString &deviceName, const QString &localPath) {
    QByteArray wireName;
    if (deviceName.isEmpty() || !WireName(deviceName, wireName))
        return false;
    if (!m_download.Begin(localPath)) {
        m_view.ShowMessage(QString::fromUtf8(FileManagerText::kCannotCreateDownload));
        return false;
    }
    m_expectedSum = 0;
    m_downloadSize = 0;
    m_bytesReceived = 0;
    // Sent twice in a row, as the devices have always been asked: once on its own and once
    // under repeats.
    const QByteArray command = "DOWNLOAD" + wireName;
    m_line.SendFrame(m_address, command);
    SendFileCommand(command, m_timings.fileRepeatTransmissions);
    return true;
}

// --- replies ---------------------------------------------------------------------------

bool FileManagerLogic::HandleFileReply(const uint8_t *payload, int length) {
    tmRepeat.stop();
    if (!payload || length <= 0)
        return false;
    // A private copy ends with a NUL, so the text tests stop at the payload's end.
    const QByteArray copy(reinterpret_cast<const char *>(payload), length);
    const char *text = copy.constData();
    const size_t size = static_cast<size_t>(length);
    auto starts = [&](const char *keyword) { return StartsWith(text, size, keyword); };
    auto behind = [&](const char *keyword) {
        return std::pair(payload + std::strlen(keyword), length - static_cast<int>(std::strlen(keyword)));
    };

    if (starts("OK_FORMAT")) {
        Log(FileManagerText::kFormatDone);
        WaitThenList(m_timings.fileListAfterChangeMs, false);
    } else if (starts("OK_LIST")) {
        const auto [rest, count] = behind("OK_LIST");
        m_view.ShowListing(ListingFromWire(rest, count));
    } else if (starts("OK_REBOOT")) {
        Log(FileManagerText::kRebootDone);
        WaitThenList(m_timings.fileRebootWaitMs, true);
    } else if (starts("OK_DELETE")) {
        Log(FileManagerText::kDeleteDone);
        WaitThenList(m_timings.fileListAfterDeleteMs, false);
    } else if (starts("OK_UPLOAD_FINISH")) {
        OnUploadFinish();
    } else if (starts("OK_UPLOAD")) {
        OnUploadReply();
    } else if (starts("OK_DOWNLOAD_FINISH")) {
        if (m_download.IsOpen())
            FinishDownload();
    } else if (starts("OK_DOWNLOAD_PART")) {
        const auto [rest, count] = behind("OK_DOWNLOAD_PART");
        OnDownloadPart(rest, count);
    } else if (starts("OK_DOWNLOAD")) {
        OnDownloadStart(text + std::strlen("OK_DOWNLOAD"));
    } else {
        return false;
    }
    return true;
}

void FileManagerLogic::CloseFiles() {
    CloseUpload();
    m_download.Abort();
}

void FileManagerLogic::Stop() {
    tmAfterCmd.stop();
    tmRepeat.stop();
    m_view.HideWait();
    CloseFiles();
}

void FileManagerLogic::CloseUpload() {
    // A closed upload has no part left to resend.
    TimerSendUploadPart.stop();
    if (m_upload.isOpen())
        m_upload.close();
}

// --- upload ----------------------------------------------------------------------------

// The answer to the start command and to every part: the next part, or the end.
void FileManagerLogic::OnUploadReply() {
    TimerSendUploadPart.stop();
    if (!m_upload.isOpen())
        return;
    char data[kUploadPartData];
    const qint64 n = m_upload.read(data, sizeof data);
    if (n < 0) {
        CloseUpload();
        Log(FileManagerText::kUploadReadError);
        return;
    }
    if (n == 0) {
        CloseUpload();
        SetProgress(100);
        Log(FileManagerText::kUploadDone);
        WaitThenList(m_timings.fileListAfterChangeMs, false);
        return;
    }
    m_lastPart = QByteArray(kUploadPart) + QByteArray(data, static_cast<qsizetype>(n));
    m_line.SendFrame(m_address, m_lastPart);
    m_bytesSent += n;
    SetProgress(Percent(m_bytesSent, m_uploadSize));
    m_partResendTag = m_timings.uploadPartResends;
    TimerSendUploadPart.start();
}

void FileManagerLogic::TimerSendUploadPartTimer() {
    if (m_partResendTag == 0) {
        TimerSendUploadPart.stop();
        return;
    }
    --m_partResendTag;
    m_line.SendFrame(m_address, m_lastPart);
}

// Nothing to finish when no upload runs: a late or repeated FINISH must not report a
// success the user did not ask for.
void FileManagerLogic::OnUploadFinish() {
    if (!m_upload.isOpen())
        return;
    CloseUpload();
    SetProgress(100);
    Log(FileManagerText::kUploadDone);
    WaitThenList(m_timings.fileListAfterChangeMs, false);
}

// --- download --------------------------------------------------------------------------

// "OK_DOWNLOAD size:%d crc:%s file:%s". Both DOWNLOAD requests are answered, and each
// answer asks for a part: two parts are in flight, which the device serves in order.
void FileManagerLogic::OnDownloadStart(const char *rest) {
    if (!m_download.IsOpen())
        return;
    const size_t restLength = std::strlen(rest);
    if (const char *size = FindAfter(rest, restLength, "size:"))
        m_downloadSize = TextToInt(size);
    if (const char *crc = FindAfter(rest, restLength, "crc:"))
        m_expectedSum = TextToUInt64(crc);
    SetProgress(0);
    m_line.SendFrame(m_address, kDownloadPart);
}

void FileManagerLogic::OnDownloadPart(const uint8_t *data, int count) {
    if (!m_download.IsOpen())
        return;
    m_download.Write(reinterpret_cast<const char *>(data), count);
    m_bytesReceived += count;
    if (m_bytesReceived < m_downloadSize) {
        SetProgress(Percent(m_bytesReceived, m_downloadSize));
        m_line.SendFrame(m_address, kDownloadPart);
        return;
    }
    FinishDownload();
}

void FileManagerLogic::FinishDownload() {
    const QString path = m_download.Path();
    if (!m_download.Commit()) {
        Log(FileManagerText::kDownloadSaveError);
        return;
    }
    SetProgress(100);
    Log(FileManagerText::kDownloadEnded);
    // A file whose sum differs stays on disk: the user may still want to look at it.
    const bool sumOk = m_expectedSum == 0 || FileByteSum(QFile::encodeName(path).toStdString()) == m_expectedSum;
    Log(sumOk ? FileManagerText::kDownloadSumOk : FileManagerText::kDownloadSumBad);
    WaitThenList(m_timings.fileListAfterChangeMs, false);
}
