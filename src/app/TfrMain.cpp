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
#include "file_version.h"

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
    const QString stamp = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
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
    miCheckNetwork->setEnabled(open);
    if (open) {
        RebuildNetworkTree();
    } else {
        setDeviceButtonsEnabled(false);
        pcMain->setCurrentWidget(tsEmpty);
        m_modified = false;
        m_projectFileName.clear();
        ResetProject(*m_project);
        clearSelection();
        tvNetwork->clear();
        pnFooter->clear();
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
void TfrMain::btGetVoltageClick() {}
void TfrMain::miScanerClick() {}
void TfrMain::miUpgradePDClick() {}
void TfrMain::miUpgradeBCClick() {}
void TfrMain::miSaveTALVIKClick() {}

// The file manager on the selected PD or BC; other nodes have no files.
void TfrMain::btFileManagerClick() {
    const BcUnit *bc = SelectedBcUnit();
    const NodeKind kind = SelectedNodeKind();
    if (m_fileManager && (kind == NodeKind::Pd || (kind == NodeKind::Bc && bc)))
        m_fileManager->OpenForDevice(kind == NodeKind::Pd ? m_project->settings.adr : bc->adr);
}
