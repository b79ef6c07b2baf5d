#pragma once
// What the protocol logic asks of the window layer. Every decision is taken by the
// protocol; the windows only show what they are given and answer questions. Each call
// has a do-nothing default, so a reply whose window does not exist yet changes nothing.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "records.h"

// Which set of AL voltage boxes an OK_ALVOLTS reply fills.
enum class AlVoltageSet {
    Disconnected, // edUk, edUtk, edUspk
    Connected,    // edUvp, edUtvp, edUspv: the window last asked for the "Uvp" measurement
};

class ProtocolView {
public:
    virtual ~ProtocolView() = default;

    // Compare windows: refill in place and show without blocking.
    virtual void ShowPdCompare(const PdSettings &) {}
    virtual void ShowBcCompare(const BcUnit &) {}
    virtual void ShowAlCompare(const AlLine &) {}
    virtual void ShowNotifyCompare(const NotifyScenario &) {}

    // Voltage windows: write the edit boxes only.
    virtual void ShowPdSupplyVoltage(float /*ub*/) {}
    virtual void ShowBcLineVoltages(float /*east*/, float /*west*/) {}
    virtual AlVoltageSet AlVoltageTarget() const { return AlVoltageSet::Disconnected; }
    virtual void ShowAlVoltages(AlVoltageSet, float, float, float) {}

    // Scanner list lbScan.
    virtual QStringList ScanLines() const { return {}; }
    virtual void AppendScanLine(const QString &) {}

    // File manager: whether its reply handler took the payload, and closing its
    // upload/download files when a device error ends a transfer.
    virtual bool FileManagerTakeReply(const uint8_t * /*payload*/, int /*length*/, uint8_t /*source*/) { return false; }
    virtual void FileManagerCloseFiles() {}

    // Main window services.
    virtual void RebuildNetworkTree() {}
    virtual void MarkProjectModified() {}
    virtual void SetProjectOpen(bool) {}
    // Close and show the scenario editor again so it shows copied data (opens it if closed).
    virtual void ReshowNotifyEditor() {}
    // A modal Yes/No question; true for Yes.
    virtual bool AskYesNo(const QString & /*caption*/, const QString & /*text*/) { return false; }
};
