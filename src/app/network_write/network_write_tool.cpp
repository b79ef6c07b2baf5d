#include "network_write_tool.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "TfrMain.h"
#include "app_texts.h"
#include "command_exchange.h"
#include "device_protocol.h"
#include "file_manager_api.h"
#include "network_write/network_write_pacer.h"
#include "network_write/network_write_plan.h"
#include "network_write/network_write_texts.h"
#include "network_write/tfr_inpu_file.h"
#include "network_write/tfr_select.h"
#include "progress_window.h"
#include "project_file.h"

namespace T = NetworkWriteText;

namespace {
QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

NetworkWriteTool::NetworkWriteTool(TfrMain &main, TfrInpuFile *inpuFile, TfrSelect *select, TfrProgress *progress)
    : QObject(&main), m_main(main), m_inpuFile(inpuFile), m_select(select), m_progress(progress) {
    setObjectName("NetworkWriteTool");
    CommandExchange &exchange = main.protocol().Exchange();
    m_pacer = std::make_unique<NetworkWritePacer>(
        [&exchange](uint8_t address, const QByteArray &payload) { return exchange.SendFrame(address, payload); },
        [this](const QString &text) { m_main.LogInfo(text); }, exchange.Timings().networkWriteIntervalMs);
    connect(m_pacer.get(), &NetworkWritePacer::commandSent, this, &NetworkWriteTool::onCommandSent);
    connect(m_pacer.get(), &NetworkWritePacer::finished, this, &NetworkWriteTool::onFinished);
    if (m_progress)
        connect(m_progress, &TfrProgress::stopRequested, m_pacer.get(), &NetworkWritePacer::Stop);
    // The plan belongs to the project it was made from: a project closed, replaced or
    // created while the write paces must not get the old one's "pd.cfg" under its name.
    connect(&main, &TfrMain::projectClosed, m_pacer.get(), &NetworkWritePacer::Stop);
}

NetworkWriteTool::~NetworkWriteTool() = default;

bool NetworkWriteTool::IsRunning() const {
    return m_pacer->IsRunning();
}

void NetworkWriteTool::SetDrivePaths(std::string mountTable, std::string sysBlockDir) {
    m_mountTable = std::move(mountTable);
    m_sysBlockDir = std::move(sysBlockDir);
}

QString NetworkWriteTool::title() const {
    return Text(kAppTitle);
}

void NetworkWriteTool::SaveToTalvik() {
    // Two writes at once would interleave two command streams on one line.
    if (IsRunning() || !m_main.IsProjectOpen())
        return;
    // Closed and opened again, so a port that went away since is found again now.
    m_main.SetPortOpen(false);
    const bool portOpen = m_main.SetPortOpen(true);
    if (!portOpen)
        m_main.dialogs().information(title(), Text(T::kPortUnavailable));
    if (!m_main.dialogs().askWarningYesNo(title(), Text(T::kAddressWarning)))
        return;
    if (portOpen)
        writeNetwork();
    else
        writeUsbDisk();
}

void NetworkWriteTool::writeNetwork() {
    if (!m_main.dialogs().askOkCancel(title(), Text(T::kWriteQuestion)))
        return;
    NetworkWritePlan plan = PlanNetworkWrite(m_main.project());
    const int total = int(plan.commands.size());
    if (m_progress)
        m_progress->Start(Text(T::kProgressTitle), total, m_pacer->IntervalMs(), Text(T::kProgressDone));
    emit runningChanged(true);
    m_pacer->Start(std::move(plan.commands));
}

void NetworkWriteTool::onCommandSent(int sent, int total) {
    if (!m_progress)
        return;
    m_progress->SetDone(sent);
    // The upload starts one pause after the last command.
    const qint64 ms = qint64(total - sent + 1) * m_pacer->IntervalMs();
    m_progress->SetSecondsLeft(int((ms + 999) / 1000));
}

void NetworkWriteTool::onFinished(bool completed) {
    if (m_progress)
        m_progress->Finish();
    emit runningChanged(false);
    if (completed)
        uploadPdCfg();
}

void NetworkWriteTool::uploadPdCfg() {
    // A file that was not written now is not the project: uploading it would put an old
    // configuration (or none) on the PD under the name of this one.
    if (!m_main.SaveProject()) {
        m_main.LogInfo(Text(T::kNotSavedNoUpload));
        return;
    }
    m_main.LogInfo(Text(T::kCopyingPdCfg));
    FileManagerApi *fm = m_main.fileManager();
    if (!fm) {
        m_main.LogInfo(Text(T::kNoFileManager));
        return;
    }
    fm->ShowFileManager();
    fm->ClearLog();
    for (const char *line : {T::kPdCfgLine1, T::kPdCfgLine2, T::kPdCfgLine3})
        fm->LogFileLine(Text(line));
    fm->SetDeviceAddress(m_main.project().settings.adr);
    fm->StartUpload(m_main.ProjectFileName(), Text(T::kPdCfg));
}

void NetworkWriteTool::writeUsbDisk() {
    Dialogs &d = m_main.dialogs();
    if (!d.askOkCancel(title(), Text(T::kFlashModeQuestion)))
        return;
    const DriveRoots drives = RemovableDriveRoots(m_mountTable, m_sysBlockDir);
    if (!drives.mountTableRead) {
        d.information(title(), Text(T::kNoDriveList));
        return;
    }
    QStringList roots;
    for (const std::string &r : drives.roots)
        roots << QString::fromStdString(r);
    if (roots.isEmpty() || !m_select) {
        d.information(title(), Text(T::kNoRemovableDrive));
        return;
    }
    m_select->Fill(Text(T::kSelectDrive), roots);
    if (!d.execDialog(*m_select))
        return;
    QString root = m_select->SelectedText().trimmed();
    // An empty choice would put "pd.cfg" into the program's working folder.
    if (root.isEmpty()) {
        d.information(title(), Text(T::kNoRemovableDrive));
        return;
    }
    // A disk typed without its trailing "/" still gets the file inside it.
    if (!root.endsWith('/') && QFileInfo(root).isDir())
        root += '/';
    const QString path = root + Text(T::kPdCfg);
    // The project keeps its own file name and its modified flag: the copy on the PD's
    // disk is not the engineer's project file, which may still hold older work.
    std::string error;
    if (!SaveProjectFile(m_main.project(), QFile::encodeName(path).toStdString(), error)) {
        d.error(title(), QStringLiteral("Не удалось записать файл «%1».").arg(path) + "\n" +
                             QString::fromLocal8Bit(error.c_str()));
        return;
    }
    m_main.LogInfo(QStringLiteral("Файл конфигурации записан"));
}

void NetworkWriteTool::UpgradeFirmware(FirmwareTarget target) {
    if (IsRunning() || !m_inpuFile)
        return;
    const FirmwareTexts &t = FirmwareTextsFor(target);
    Dialogs &d = m_main.dialogs();
    const QString path = InputFile(d, *m_inpuFile, QString(), Text(T::kBinFilter));
    if (path == Text(T::kInputFileCancel))
        return;
    if (!QFileInfo(path).isFile()) {
        d.information(title(), Text(T::kFileMissing));
        return;
    }
    const QString typed = m_main.InputValue(Text(t.addressPrompt), QString());
    if (typed == Text(kInputCancel))
        return;
    const int address = FirmwareAddressFromText(typed);
    if (!IsValidFirmwareAddress(address)) {
        d.information(title(), Text(T::kBadAddress));
        return;
    }
    FileManagerApi *fm = m_main.fileManager();
    if (!fm) {
        m_main.LogInfo(Text(T::kNoFileManagerFirmware));
        return;
    }
    fm->ShowFileManager();
    fm->ClearLog();
    for (const char *line : {t.logLine1, t.logLine2, t.logLine3})
        fm->LogFileLine(Text(line));
    fm->SetDeviceAddress(uint8_t(address));
    fm->StartUpload(path, Text(t.deviceFileName));
}
