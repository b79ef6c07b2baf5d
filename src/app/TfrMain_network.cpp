// Talking to the network: received bytes to the dispatcher, the read button, the copy
// button of the compare windows and the COM port settings dialog.
#include <QTreeWidget>

#include "TCommPort.h"
#include "TfrMain.h"
#include "app_texts.h"
#include "available_com_ports.h"
#include "device_protocol.h"
#include "main_window_view.h"
#include "protocol_texts.h"
#include "read_back_window.h"
#include "read_network.h"
#include "tfr_com_setting.h"
#include "tfr_read_params.h"
#include "tfr_read_params_bc.h"
#include "tfr_read_params_notify.h"
#include "tfr_read_params_zone.h"

void TfrMain::AttachReadBackWindows(const CompareWindows &windows, TfrComSetting *comSetting) {
    m_view->SetCompareWindows(windows);
    m_comSetting = comSetting;
    for (ReadBackWindow *w :
         std::initializer_list<ReadBackWindow *>{windows.pd, windows.bc, windows.al, windows.notify})
        if (w)
            connect(w, &ReadBackWindow::copyRequested, this, &TfrMain::CopyToProject);
}

void TfrMain::ComPortDataReceived(TCommPort *, unsigned count) {
    m_protocol->Exchange().ComPortDataReceived(static_cast<int>(count));
}

namespace {
ReadTarget TargetOf(NodeKind kind) {
    switch (kind) {
    case NodeKind::Pd:
        return ReadTarget::Pd;
    case NodeKind::Bc:
        return ReadTarget::Bc;
    case NodeKind::Al:
        return ReadTarget::Al;
    case NodeKind::None:
        break;
    }
    return ReadTarget::None;
}
} // namespace

void TfrMain::bdReadComClick() {
    if (!SetPortOpen(true))
        return;
    m_protocol->ReadSelectedDevice(TargetOf(SelectedNodeKind()), SelectedBcUnit(), SelectedAlLine());
}

void TfrMain::CopyToProject() {
    const CopyOutcome out = m_protocol->CopyToProject();
    // A PD record carries the project name.
    if (out.copied)
        showProjectName();
}

void TfrMain::miSettingComClick() {
    if (!m_comSetting)
        return;
    const std::vector<int> ports = AvailableComPorts();
    m_comSetting->Fill(
        ComSettingFillTexts(m_comPort->ComNumber(), m_comPort->GetBaud(), Addr(), ports, ComPortDescriptions(ports)));
    if (!dialogs().execDialog(*m_comSetting))
        return;
    const ComSettingPlan plan = m_comSetting->Plan();
    for (const ComSettingStep &step : plan.steps)
        runComSettingStep(step);
    if (!plan.ok()) {
        // The steps before the bad text have run; a port closed by a new number stays
        // closed until the next command, and the buttons already say so.
        refreshPortControls();
        dialogs().error(QString::fromUtf8(kAppTitle), plan.error);
    }
}

void TfrMain::runComSettingStep(const ComSettingStep &step) {
    switch (step.kind) {
    case ComSettingStepKind::SetComNumber:
        m_comPort->SetComNumber(step.value);
        break;
    case ComSettingStepKind::SetBaudRate:
        m_comPort->SetBaudRate(TCommPort::TBaudRate(step.value));
        break;
    case ComSettingStepKind::SetAddr:
        SetAddr(step.value);
        break;
    case ComSettingStepKind::SetPortOpen:
        SetPortOpen(true);
        break;
    case ComSettingStepKind::RefreshTree:
        tvNetworkClick(tvNetwork->currentItem());
        break;
    }
}
