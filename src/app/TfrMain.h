#pragma once
// The main window: project tree, parameter pages, log and the file commands.
// It owns what lives for the whole run: the project, the serial port, the selection.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <random>

#include "Dialogs.h"
#include "node_text.h"
#include "project.h"
#include "protocol_timings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class DeviceProtocol;
class MainWindowView;
class TCommPort;
class TCommPortLink;
class PortReturnWatch;
class TfrComSetting;
class TfrInputVal;
struct CompareWindows;
struct ComSettingStep;
class TfrPdDop;
class TfrAlDop;
class FileManagerApi;
struct ScanVoltageWindows;
class NetworkWriteTool;
class TfrNotifys;
class TfrNetworkCheck;

class TfrMain : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate: reads the settings file and opens the port.
    // It touches no other window; those are attached after they are created. `timings`
    // paces the command repeats and the AL sweep (tests shrink them).
    explicit TfrMain(const ProtocolTimings &timings = kRealTimings, QWidget *parent = nullptr);
    ~TfrMain() override;

    void AttachWindows(TfrInputVal *inputVal, TfrPdDop *pdDop, TfrAlDop *alDop);
    // The device file manager: the scanner, writing the network and the firmware update
    // send and open through it. Null until it is attached.
    void AttachFileManager(FileManagerApi *fileManager) { m_fileManager = fileManager; }
    FileManagerApi *fileManager() { return m_fileManager; }
    // Writing the project into the network and the firmware update. While a write paces
    // through its commands nothing else may talk on the line: the write, firmware, scanner
    // and device buttons stay disabled until it ends.
    void AttachNetworkWrite(NetworkWriteTool *tool);
    bool NetworkWriteRunning() const { return m_networkWriteRunning; }
    // The scenario editor: TfrPdDop opens it, a scenario copied from the PD reshows it.
    void AttachNotifyEditor(TfrNotifys *editor) { m_notifys = editor; }
    TfrNotifys *notifyEditor() { return m_notifys; }
    // "Сверить сеть с проектом": the check's reading and its report window.
    void AttachNetworkCheck(TfrNetworkCheck *check) { m_networkCheck = check; }
    TfrNetworkCheck *networkCheck() { return m_networkCheck; }
    // The compare windows' copy buttons copy into the project through this window.
    void AttachReadBackWindows(const CompareWindows &windows, TfrComSetting *comSetting);
    // Tests put a scripted answerer here; nullptr restores the real dialogs.
    void SetDialogs(Dialogs *dialogs);
    Dialogs &dialogs() { return m_dialogs ? *m_dialogs : *m_qtDialogs; }

    // Services used by the other windows.
    void LogInfo(const QString &text);
    void SetProjectOpen(bool open);
    bool SetPortOpen(bool open);
    QString InputValue(const QString &prompt, const QString &defaultText);
    // Asks "Сохранить изменения ?" when the project is modified. False when the user
    // wanted to save and the save did not happen: the caller must then abandon its action.
    bool AskSaveChanges();
    void RebuildNetworkTree();
    void ExpandNodeByText(const QString &text);
    NodeKind SelectedNodeKind() const;
    // Closes the port and writes the settings file; runs once (at destruction at the latest).
    void FormDestroy();

    Project &project() { return *m_project; }
    TCommPort &ComPort() { return *m_comPort; }
    bool IsFilling() const { return m_filling; }
    bool IsModified() const { return m_modified; }
    void MarkModified() { m_modified = true; }
    bool IsProjectOpen() const { return m_projectOpen; }
    const QString &ProjectFileName() const { return m_projectFileName; }
    // The records the last tree click chose; null once that record is gone or the tree rebuilt.
    BcUnit *SelectedBcUnit();
    AlLine *SelectedAlLine();
    // The PC's own bus address, kept as set (300 stays 300); frames carry its low byte.
    int Addr() const;
    void SetAddr(int addr);
    // The command exchange, reply dispatcher and AL sweep of this window.
    DeviceProtocol &protocol() { return *m_protocol; }
    const QString &ScanStart() const { return m_scanStart; }
    const QString &ScanStop() const { return m_scanStop; }
    void SetScanRange(const QString &start, const QString &stop);
    bool SaveProject();
    // Opens a project file as "Загрузить проект" does once a file is chosen (the save question
    // first, the same messages on a bad file); also a file named on the command line.
    bool LoadProject(const QString &path);

    // Scanner and voltage windows. The epoch changes whenever the project is closed,
    // replaced or reloaded, so a window holding a record of the old one can tell.
    void AttachScanVoltageWindows(const ScanVoltageWindows &windows);
    uint64_t ProjectEpoch() const { return m_projectEpoch; }
    // tvNetworkClick on the node selected now: its page shows the values just copied.
    void ShowSelectedNodeAgain();

signals:
    // Every line LogInfo writes, without its date, as it is written.
    void infoLogged(const QString &text);
    // The tree was rebuilt or the project closed: records may have gone or moved.
    void projectTablesChanged();
    // The project was closed (also as the first step of creating or opening one).
    void projectClosed();

public slots:
    void tvNetworkClick(QTreeWidgetItem *item);
    void btDeviceAddClick();
    void btDeviceDelClick();

    void miNewClick();
    void miLoadClick();
    void miSaveClick();
    void miSaveKakClick();
    void miCloseProjectClick();
    void miChangeProjectNameClick();
    void miAboutClick();
    void btPdDopClick();
    void btAlDopClick();

    // The port's data-received notification: bytes into ReceiveBuffer, frames to the dispatcher.
    void ComPortDataReceived(TCommPort *sender, unsigned count);
    void bdReadComClick();
    // The copy button of any compare window.
    void CopyToProject();
    // Places for the tool windows.
    void btGetVoltageClick();
    void btFileManagerClick();
    void miSettingComClick();
    void miScanerClick();
    void miUpgradePDClick();
    void miUpgradeBCClick();
    void miSaveTALVIKClick();
    void miCheckNetworkClick();

    // PD page.
    void edPdAddrChange();
    void cbPdRsSpeedChange();
    void edPdStatusChange();
    void edPDLogClick();
    void edPdShowErrClick();
    void cbUSBModeChange();
    void edPdUbChange();
    void edPdDirChange();
    void edPdMicChange();
    void edPdSpkChange();
    void edPdSigChange();
    void cbPdMicChange();
    // BC page.
    void edBcAddrChange();
    void cbBcRsSpeedChange();
    void cbBcLogClick();
    void edBcNameChange();
    void edBcUbWestChange();
    void edBcUbEastChange();
    void cbBypassClick();
    void cbBcDirChange();
    void edBcMasterAddrChange();
    void edBcSlaveAddrChange();
    // AL page.
    void edAlNumberChange();
    void edAlZoneChange();
    void edAlNameChange();
    void edAlUvpChange();
    void edAlUkChange();
    void edAlTUvpChange();
    void edAlTUkChange();
    void edAlUspChange();
    void edAlMicChange();
    void edAlSpkChange();
    void edAlSigChange();

protected:
    void closeEvent(QCloseEvent *event) override; // FormCloseQuery

private:
    void buildLayout();
    // Sizes and places the window for the screen and font it opens with (window_fit.h).
    void fitToScreen();
    QWidget *buildToolBar();
    void buildMenu();
    QWidget *buildLeftColumn();
    QWidget *buildPdPage();
    QWidget *buildBcPage();
    QWidget *buildAlPage();
    void connectPageHandlers();
    // Marks a number edit whose text is not what is stored, and shows the stored value
    // again on Enter or when the edit is left (TfrMain_feedback.cpp).
    void connectEditFeedback();
    void watchNumberEdit(QLineEdit *edit, std::function<QString()> stored,
                         std::function<std::string(const std::string &)> refusal);
    void markEdit(QLineEdit *edit, const std::string &why, const QString &stored);
    void FormCreate();
    void createProtocol(const ProtocolTimings &timings);
    // Enables what needs the port by whether it is open now; opens and closes nothing.
    void refreshPortControls();
    bool openPortAndLog();
    // The port closed itself because its device vanished: say so and watch for it to return.
    void onPortDeviceGone();
    void runComSettingStep(const ComSettingStep &step);

    void setDeviceButtonsEnabled(bool enabled);
    void setDeviceCaptions(NodeKind kind);
    void fillPdPage();
    void fillBcPage(const BcUnit &bc);
    void fillAlPage(const AlLine &al);
    void clearSelection();
    void showFileError(const QString &message);
    void showFooter();
    void showProjectName();
    void onTreeCurrentChanged(QTreeWidgetItem *current);
    void onTreeItemClicked(QTreeWidgetItem *item);

    // Each stores the control's value and marks the project modified when it really changed.
    template <class T> void store(T &field, T value);
    void storeInt(uint16_t &field, QLineEdit *edit, int min, int max);
    void storeAddr(uint8_t &field, QLineEdit *edit);
    void storeFloat(float &field, QLineEdit *edit);
    void storeBool(bool &field, QCheckBox *box);
    void setCurrentNodeText(NodeKind kind, const std::string &text);

    std::unique_ptr<Project> m_project; // ~5 MB of fixed tables: on the heap
    std::unique_ptr<TCommPort> m_comPort;
    // Declared after the port: destroyed first, so nothing sends on a port that is gone.
    std::unique_ptr<TCommPortLink> m_link;
    PortReturnWatch *m_portWatch = nullptr; // a child: stopped with the window
    std::unique_ptr<MainWindowView> m_view;
    std::unique_ptr<DeviceProtocol> m_protocol;
    TfrComSetting *m_comSetting = nullptr;
    std::unique_ptr<QtDialogs> m_qtDialogs;
    Dialogs *m_dialogs = nullptr;
    TfrInputVal *m_inputVal = nullptr;
    TfrPdDop *m_pdDop = nullptr;
    TfrAlDop *m_alDop = nullptr;
    FileManagerApi *m_fileManager = nullptr;
    NetworkWriteTool *m_networkWrite = nullptr;
    bool m_networkWriteRunning = false;
    void setNetworkWriteRunning(bool running);
    TfrNotifys *m_notifys = nullptr;
    TfrNetworkCheck *m_networkCheck = nullptr;
    QAction *miCheckNetwork = nullptr;

    bool m_filling = false;
    bool m_modified = false;
    bool m_projectOpen = false;
    bool m_destroyed = false;
    QString m_projectFileName;
    // Indexes, not pointers: a deletion moves records, so both are cleared on every
    // rebuild and checked against the counts before use.
    int m_selBc = -1;
    int m_selAl = -1;
    QString m_scanStart, m_scanStop;
    uint64_t m_projectEpoch = 0;
    QString m_settingsPath;
    std::mt19937 m_rng;
    QTreeWidgetItem *m_skipClickFor = nullptr;

    // Controls, named as the users' manuals and the other windows know them.
    QAction *bbNew, *bbOpen, *bbSave, *bbSaveAs;
    QAction *miNew, *miLoad, *miSave, *miSaveKak, *miSaveTALVIK, *miCloseProject, *miChangeProjectName;
    QAction *miSettingCom, *miScaner, *miUpgradePD, *miUpgradeBC, *miAbout;
    QLabel *pnProjectUrl, *pnProjectName, *pnFooter;
    QTreeWidget *tvNetwork;
    QPushButton *btDeviceAdd, *btDeviceDel, *bdReadCom, *btFileManager, *btGetVoltage;
    QStackedWidget *pcMain;
    QWidget *tsEmpty, *tsPD, *tsBC, *tsAL;
    QPlainTextEdit *mmInfo;
    // tmRepeat and tmReadPorts are the command exchange's and the AL sweep's own timers.

    QLineEdit *edPdAddr, *edPdUb, *edPdMic, *edPdSpk, *edPdSig;
    QComboBox *cbPdRsSpeed, *edPdStatus, *cbUSBMode, *edPdDir, *cbPdMic;
    QCheckBox *edPDLog, *edPdShowErr;
    QPushButton *btPdDop;

    QLineEdit *edBcAddr, *edBcName, *edBcUbWest, *edBcUbEast, *edBcMasterAddr, *edBcSlaveAddr;
    QComboBox *cbBcRsSpeed, *cbBcDir;
    QCheckBox *cbBcLog, *cbBypass;

    QLineEdit *edAlNumber, *edAlZone, *edAlName, *edAlUvp, *edAlUk, *edAlTUvp, *edAlTUk, *edAlUsp;
    QLineEdit *edAlMic, *edAlSpk, *edAlSig;
    QPushButton *btAlDop;
};
