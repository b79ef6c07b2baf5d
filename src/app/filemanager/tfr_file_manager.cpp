#include "tfr_file_manager.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include "TfrMain.h"
#include "app_texts.h"
#include "filemanager/file_manager_texts.h"
#include "main_window_file_line.h"

namespace {
QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

const QString kAllFiles = QStringLiteral("Все файлы (*)");
} // namespace

TfrFileManager::TfrFileManager(TfrMain &main, const ProtocolTimings &timings)
    : QWidget(&main, Qt::Window), m_main(main), m_line(std::make_unique<MainWindowFileLine>(main)),
      m_logic(std::make_unique<FileManagerLogic>(*m_line, static_cast<FileManagerView &>(*this), timings)) {
    setObjectName("TfrFileManager");
    setWindowTitle(Text(FileManagerText::kCaption));
    buildLayout();
}

TfrFileManager::~TfrFileManager() = default;

void TfrFileManager::buildLayout() {
    auto button = [this](const char *name, const char *caption, void (TfrFileManager::*slot)()) {
        auto *b = new QPushButton(Text(caption));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    mmInfo = new QPlainTextEdit;
    mmInfo->setObjectName("mmInfo");
    mmInfo->setReadOnly(true);
    mmInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmInfo->setAccessibleName(QStringLiteral("Журнал и список файлов"));
    mmInfo->setMinimumSize(420, 300);

    btList = button("btList", FileManagerText::kList, &TfrFileManager::btListClick);
    btDelete = button("btDelete", FileManagerText::kDelete, &TfrFileManager::btDeleteClick);
    btUpload = button("btUpload", FileManagerText::kUpload, &TfrFileManager::btUploadClick);
    btFormat = button("btFormat", FileManagerText::kFormat, &TfrFileManager::btFormatClick);
    btReboot = button("btReboot", FileManagerText::kReboot, &TfrFileManager::btRebootClick);
    btDownload = button("btDownload", FileManagerText::kDownload, &TfrFileManager::btDownloadClick);
    brClose = new QPushButton(Text(FileManagerText::kClose));
    brClose->setObjectName("brClose");
    brClose->setAutoDefault(false);
    connect(brClose, &QPushButton::clicked, this, &QWidget::close);

    pbFileMng = new QProgressBar;
    pbFileMng->setObjectName("pbFileMng");
    pbFileMng->setRange(0, 100);
    pbFileMng->setValue(0);
    pbFileMng->setTextVisible(false); // lbProc shows the figure
    pbFileMng->setAccessibleName(QStringLiteral("Ход передачи файла"));
    lbProc = new QLabel(QStringLiteral("0%"));
    lbProc->setObjectName("lbProc");
    lbProc->setMinimumWidth(40);

    pnWaitSec = new QFrame;
    pnWaitSec->setObjectName("pnWaitSec");
    pnWaitSec->setFrameShape(QFrame::StyledPanel);
    auto *wait = new QHBoxLayout(pnWaitSec);
    lbWatSec = new QLabel(QStringLiteral("0"));
    lbWatSec->setObjectName("lbWatSec");
    wait->addWidget(new QLabel(Text(FileManagerText::kLeft)));
    wait->addWidget(lbWatSec);
    wait->addWidget(new QLabel(Text(FileManagerText::kSeconds)));
    wait->addStretch(1);
    pnWaitSec->setAccessibleName(Text(FileManagerText::kLeft));
    pnWaitSec->hide();

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {btList, btDelete, btUpload, btFormat, btReboot, btDownload})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(pnWaitSec);
    buttons->addWidget(brClose);

    auto *top = new QHBoxLayout;
    top->addWidget(mmInfo, 1);
    top->addLayout(buttons);
    auto *progress = new QHBoxLayout;
    progress->addWidget(pbFileMng, 1);
    progress->addWidget(lbProc);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(progress);
}

// --- what the other windows ask ----------------------------------------------------------

void TfrFileManager::OpenForDevice(uint8_t address) {
    if (!m_main.SetPortOpen(true))
        return;
    SetDeviceAddress(address);
    ClearLog();
    btListClick();
    ShowFileManager();
}

// A hidden window sent "LIST" before it is shown, and showing it cancels the repeats:
// that first LIST goes out once. A window already on show keeps its repeats.
void TfrFileManager::ShowFileManager() {
    if (!m_placed) {
        adjustSize();
        move(m_main.geometry().center() - rect().center());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

void TfrFileManager::ClearLog() {
    mmInfo->clear();
}

void TfrFileManager::LogFileLine(const QString &text) {
    const QString stamp = QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    mmInfo->appendPlainText(stamp + ' ' + text);
    mmInfo->verticalScrollBar()->setValue(mmInfo->verticalScrollBar()->maximum());
}

void TfrFileManager::SetDeviceAddress(uint8_t address) {
    m_logic->SetDeviceAddress(address);
}

void TfrFileManager::StartUpload(const QString &path, const QString &deviceName) {
    m_logic->StartUpload(path, deviceName);
}

bool TfrFileManager::HandleFileReply(const uint8_t *payload, int length) {
    return m_logic->HandleFileReply(payload, length);
}

void TfrFileManager::CloseTransferFiles() {
    m_logic->CloseFiles();
}

// --- buttons -----------------------------------------------------------------------------

void TfrFileManager::btListClick() {
    m_logic->List();
}

void TfrFileManager::btFormatClick() {
    if (m_main.dialogs().askYesNo(Text(FileManagerText::kFormatCaption), Text(FileManagerText::kFormatQuestion)))
        m_logic->Format();
}

void TfrFileManager::btDeleteClick() {
    const QString name = m_main.dialogs().inputValueCaptioned(Text(FileManagerText::kNameCaption),
                                                              Text(FileManagerText::kDeletePrompt), QString());
    if (name == Text(kInputCancel) || name.isEmpty())
        return;
    m_logic->Delete(name);
}

void TfrFileManager::btRebootClick() {
    m_logic->Reboot();
}

void TfrFileManager::btUploadClick() {
    const QString path = m_main.dialogs().openFileName(kAllFiles);
    if (path.isEmpty())
        return;
    m_logic->StartUpload(path, QFileInfo(path).fileName());
}

void TfrFileManager::btDownloadClick() {
    const QString name = m_main.dialogs().inputValueCaptioned(Text(FileManagerText::kNameCaption),
                                                              Text(FileManagerText::kDownloadPrompt), QString());
    if (name == Text(kInputCancel) || name.isEmpty())
        return;
    const QString path = m_main.dialogs().saveFileNameSuggesting(kAllFiles, name);
    if (path.isEmpty())
        return;
    m_logic->StartDownload(name, path);
}

// --- showing and closing -----------------------------------------------------------------

void TfrFileManager::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // Restoring a minimised window is no new showing: a transfer under way goes on.
    if (event->spontaneous())
        return;
    SetProgress(0);
    m_logic->Stop();
}

void TfrFileManager::closeEvent(QCloseEvent *event) {
    m_logic->Stop();
    QWidget::closeEvent(event);
}

// --- what the logic shows ----------------------------------------------------------------

void TfrFileManager::ShowListing(const QString &text) {
    mmInfo->setPlainText(text);
}

void TfrFileManager::SetProgress(int percent) {
    pbFileMng->setValue(percent);
    lbProc->setText(QString::number(percent) + '%');
}

void TfrFileManager::ShowWait(int secondsLeft) {
    lbWatSec->setText(QString::number(secondsLeft));
    pnWaitSec->show();
}

void TfrFileManager::HideWait() {
    lbWatSec->setText(QStringLiteral("0"));
    pnWaitSec->hide();
}

// Queued, never shown from inside a reply: a modal box there would hold every later
// reply in the receive buffer until the user reads it.
void TfrFileManager::ShowMessage(const QString &text) {
    QMetaObject::invokeMethod(
        this, [this, text] { m_main.dialogs().error(Text(kAppTitle), text); }, Qt::QueuedConnection);
}
