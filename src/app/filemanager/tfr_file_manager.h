#pragma once
// The device file manager window: one modeless window for the whole run, reused for
// whichever PD or BC it is opened on. It shows and asks; FileManagerLogic decides what
// goes on the line and what a reply means.
#include <QWidget>
#include <memory>

#include "file_manager_api.h"
#include "filemanager/file_manager_io.h"
#include "filemanager/file_manager_logic.h"
#include "protocol_timings.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TfrMain;
class MainWindowFileLine;

class TfrFileManager : public QWidget, public FileManagerApi, private FileManagerView {
    Q_OBJECT
public:
    TfrFileManager(TfrMain &main, const ProtocolTimings &timings = kRealTimings);
    ~TfrFileManager() override;

    // FileManagerApi
    void OpenForDevice(uint8_t address) override;
    void ShowFileManager() override;
    void ClearLog() override;
    void LogFileLine(const QString &text) override;
    void SetDeviceAddress(uint8_t address) override;
    void StartUpload(const QString &path, const QString &deviceName) override;
    bool HandleFileReply(const uint8_t *payload, int length) override;
    void CloseTransferFiles() override;

    FileManagerLogic &logic() { return *m_logic; }

public slots:
    void btListClick();
    void btDeleteClick();
    void btUploadClick();
    void btFormatClick();
    void btRebootClick();
    void btDownloadClick();

protected:
    void showEvent(QShowEvent *event) override;   // FormShow
    void closeEvent(QCloseEvent *event) override; // FormClose

private:
    // FileManagerView
    void ShowListing(const QString &text) override;
    void SetProgress(int percent) override;
    void ShowWait(int secondsLeft) override;
    void HideWait() override;
    void ShowMessage(const QString &text) override;

    void buildLayout();

    TfrMain &m_main;
    std::unique_ptr<MainWindowFileLine> m_line;
    std::unique_ptr<FileManagerLogic> m_logic;
    bool m_placed = false;

    QPlainTextEdit *mmInfo;
    QPushButton *btList, *btDelete, *btUpload, *btFormat, *btReboot, *btDownload, *brClose;
    QProgressBar *pbFileMng;
    QLabel *lbProc;
    QFrame *pnWaitSec;
    QLabel *lbWatSec;
};
