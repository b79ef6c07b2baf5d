#pragma once
// The window layer's side of the device protocol: the dispatcher and the copy action
// decide, this shows. Compare windows are refilled in place and brought up without
// blocking; questions go through the main window's dialogs so a test can answer them.
#include "protocol_view.h"

class TfrMain;
class TfrReadParams;
class TfrReadParamsBc;
class TfrReadParamsZone;
class TfrReadParamsNotify;
class QWidget;

struct CompareWindows {
    TfrReadParams *pd = nullptr;
    TfrReadParamsBc *bc = nullptr;
    TfrReadParamsZone *al = nullptr;
    TfrReadParamsNotify *notify = nullptr;
};

// --- Scanner and voltage windows -------------------------------------------------
class TfrScan;
class TfrVoltage;
class TfrVoltageBc;
class TfrVoltageAl;

struct ScanVoltageWindows {
    TfrScan *scan = nullptr;
    TfrVoltage *pd = nullptr;
    TfrVoltageBc *bc = nullptr;
    TfrVoltageAl *al = nullptr;
};

class MainWindowView : public ProtocolView {
public:
    explicit MainWindowView(TfrMain &main) : m_main(main) {}
    void SetCompareWindows(const CompareWindows &windows) { m_windows = windows; }
    const CompareWindows &Windows() const { return m_windows; }

    void ShowPdCompare(const PdSettings &r) override;
    void ShowBcCompare(const BcUnit &r) override;
    void ShowAlCompare(const AlLine &r) override;
    void ShowNotifyCompare(const NotifyScenario &r) override;

    void RebuildNetworkTree() override;
    void MarkProjectModified() override;
    void SetProjectOpen(bool open) override;
    void ReshowNotifyEditor() override;
    bool AskYesNo(const QString &caption, const QString &text) override;

    // File manager: its replies whether its window is shown or not.
    bool FileManagerTakeReply(const uint8_t *payload, int length, uint8_t source) override;
    void FileManagerCloseFiles() override;

    // Scanner list and voltage boxes.
    void SetScanVoltageWindows(const ScanVoltageWindows &windows) { m_scanVoltage = windows; }
    const ScanVoltageWindows &ScanVoltage() const { return m_scanVoltage; }
    QStringList ScanLines() const override;
    void AppendScanLine(const QString &line) override;
    void ShowPdSupplyVoltage(float ub) override;
    void ShowBcLineVoltages(float east, float west) override;
    AlVoltageSet AlVoltageTarget() const override;
    void ShowAlVoltages(AlVoltageSet set, float a, float b, float c) override;

private:
    TfrMain &m_main;
    CompareWindows m_windows;
    ScanVoltageWindows m_scanVoltage;
};
