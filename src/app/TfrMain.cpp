// The main window's life cycle and the small services the other windows call.
#include "TfrMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeWidget>

#include "TfrAlDop.h"
#include "TfrInputVal.h"
#include "TfrPdDop.h"
#include "file_manager_api.h"
#include "app_texts.h"
#include "device_protocol.h"
#include "file_version.h"
#include "main_window_view.h"
#include "scanner/tfr_scan.h"
#include "voltage/open_voltage_window.h"
#include "log_stamp.h"
#include "network_write/network_write_tool.h"

void TfrMain::AttachWindows(TfrInputVal *inputVal, TfrPdDop *pdDop, TfrAlDop *alDop) {
    m_inputVal = inputVal;
    m_pdDop = pdDop;
    m_alDop = alDop;
    m_qtDialogs->setInputWindow(inputVal);
}

void TfrMain::SetDialogs(Dialogs *dialogs) {
    m_dialogs = dialogs;
}

void TfrMain::SetScanRange(const QString &start, const QString &stop) {
    m_scanStart = start;
    m_scanStop = stop;
}

void TfrMain::LogInfo(const QString &text) {
    const QString stamp = LogStamp();
    mmInfo->appendPlainText(stamp + ' ' + text);
    mmInfo->verticalScrollBar()->setValue(mmInfo->verticalScrollBar()->maximum());
    emit infoLogged(text);
}

void TfrMain::SetProjectOpen(bool open) {
    m_projectOpen = open;
    for (QAction *a : {bbNew, miNew, bbOpen, miLoad})
        a->setEnabled(true);
    for (QAction *a : {bbSave, bbSaveAs, miSave, miSaveKak, miCloseProject, miChangeProjectName, miSaveTALVIK})
        a->setEnabled(open);
    if (m_networkWriteRunning)
        miSaveTALVIK->setEnabled(false);
    miCheckNetwork->setEnabled(open);
    if (open) {
        RebuildNetworkTree();
    } else {
        // A compare window still open holds data read for the old project.
        if (m_protocol)
            m_protocol->ProjectReplaced();
        setDeviceButtonsEnabled(false);
        pcMain->setCurrentWidget(tsEmpty);
        m_modified = false;
        m_projectFileName.clear();
        ResetProject(*m_project);
        clearSelection();
        tvNetwork->clear();
        pnFooter->clear();
        ++m_projectEpoch;
        emit projectTablesChanged();
        emit projectClosed();
    }
    showProjectName();
}

// The name lives in the PD's settings record, so a PD copied from the device renames the project.
void TfrMain::showProjectName() {
    pnProjectName->setText(QString::fromUtf8(m_project->settings.nam));
}

QString TfrMain::InputValue(const QString &prompt, const QString &defaultText) {
    return dialogs().inputValue(prompt, defaultText);
}

void TfrMain::closeEvent(QCloseEvent *event) {
    // Closing goes on unless the user wanted to save and the save did not happen.
    if (AskSaveChanges())
        event->accept();
    else
        event->ignore();
}

void TfrMain::miAboutClick() {
    FileVersion v;
    const std::string exe = QCoreApplication::applicationFilePath().toStdString();
    QString version = QStringLiteral("?");
    if (GetFileVersion(exe, v))
        version = QString::number(v.major) + '.' + QString::number(v.minor);
    dialogs().information(QString::fromUtf8(kAppTitle), QStringLiteral("Программа: ") + QString::fromUtf8(kAppTitle) +
                                                            "\r\n" + QStringLiteral("Версия: ") + version);
}

void TfrMain::btPdDopClick() {
    if (m_pdDop) {
        m_pdDop->show();
        m_pdDop->raise();
    }
}

void TfrMain::btAlDopClick() {
    if (m_alDop) {
        m_alDop->show();
        m_alDop->raise();
    }
}

BcUnit *TfrMain::SelectedBcUnit() {
    if (m_selBc < 0 || m_selBc >= m_project->bcCount)
        return nullptr;
    return &m_project->bcUnits[m_selBc];
}

AlLine *TfrMain::SelectedAlLine() {
    if (m_selAl < 0 || m_selAl >= m_project->alCount)
        return nullptr;
    return &m_project->alLines[m_selAl];
}

void TfrMain::clearSelection() {
    m_selBc = -1;
    m_selAl = -1;
}

// The tool windows plug in here.
void TfrMain::btGetVoltageClick() {
    OpenVoltageWindow(*this, m_view->ScanVoltage());
}
void TfrMain::miScanerClick() {
    if (TfrScan *scan = m_view->ScanVoltage().scan)
        scan->Open();
}
void TfrMain::miUpgradePDClick() {
    if (m_networkWrite)
        m_networkWrite->UpgradeFirmware(FirmwareTarget::Pd);
}
void TfrMain::miUpgradeBCClick() {
    if (m_networkWrite)
        m_networkWrite->UpgradeFirmware(FirmwareTarget::Bc);
}
void TfrMain::miSaveTALVIKClick() {
    if (m_networkWrite)
        m_networkWrite->SaveToTalvik();
}

void TfrMain::AttachNetworkWrite(NetworkWriteTool *tool) {
    m_networkWrite = tool;
    if (tool)
        connect(tool, &NetworkWriteTool::runningChanged, this, &TfrMain::setNetworkWriteRunning);
}

void TfrMain::setNetworkWriteRunning(bool running) {
    m_networkWriteRunning = running;
    miSaveTALVIK->setEnabled(!running && m_projectOpen);
    refreshPortControls();
}

void TfrMain::AttachScanVoltageWindows(const ScanVoltageWindows &windows) {
    m_view->SetScanVoltageWindows(windows);
}

void TfrMain::ShowSelectedNodeAgain() {
    tvNetworkClick(tvNetwork->currentItem());
}

// The file manager on the selected PD or BC; other nodes have no files.
void TfrMain::btFileManagerClick() {
    const BcUnit *bc = SelectedBcUnit();
    const NodeKind kind = SelectedNodeKind();
    if (m_fileManager && (kind == NodeKind::Pd || (kind == NodeKind::Bc && bc)))
        m_fileManager->OpenForDevice(kind == NodeKind::Pd ? m_project->settings.adr : bc->adr);
}
