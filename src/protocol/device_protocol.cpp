#include "device_protocol.h"

#include "protocol_texts.h"

DeviceProtocol::DeviceProtocol(Project *project, ProtocolView *view, LogSink log, const ProtocolTimings &timings,
                               QObject *parent)
    : QObject(parent), m_project(project), m_view(view), m_log(log), m_exchange(log, timings, this),
      m_dispatcher(project, view, log, [this] { m_exchange.StopRepeats(); }),
      m_sweep(m_exchange, m_dispatcher, log, timings.sweepIntervalMs, this) {
    m_exchange.SetReplyHandler([this](const uint8_t *payload, int length, uint8_t source) {
        if (m_replyTap && m_replyTap(payload, length, source))
            return;
        m_dispatcher.DispatchReply(payload, length, source);
    });
}

void DeviceProtocol::Log(const QString &text) const {
    if (m_log && !text.isEmpty())
        m_log(text);
}

bool DeviceProtocol::ReadSelectedDevice(ReadTarget target, const BcUnit *selectedBc, const AlLine *selectedAl) {
    if (!m_project)
        return false;
    const ReadRequest request = ReadRequestFor(target, *m_project, selectedBc, selectedAl);
    if (!request.send)
        return false;
    m_dispatcher.SetReadKind(request.kind);
    m_readFor = ReadForRequest(request, selectedAl);
    m_exchange.SendCommand(request.address, request.command);
    return true;
}

CopyOutcome DeviceProtocol::CopyToProject() {
    if (!m_project || !m_view)
        return {};
    if (!m_view->AskYesNo(QString::fromUtf8(ProtocolText::kCopyCaption),
                          QString::fromUtf8(ProtocolText::kCopyQuestion)))
        return {};
    const CopyTarget target = FindCopyTarget(*m_project, m_readFor, m_dispatcher.readKind());
    if (!target.ok) {
        Log(target.refusal);
        return {};
    }
    const CopyOutcome out =
        CopyReceivedToProject(*m_project, m_dispatcher.readKind(), m_dispatcher.Received(), target.bc, target.al);
    if (out.setProjectOpen)
        m_view->SetProjectOpen(true);
    if (out.rebuildTree)
        m_view->RebuildNetworkTree();
    if (out.reshowNotifyEditor)
        m_view->ReshowNotifyEditor();
    if (out.setModified)
        m_view->MarkProjectModified();
    Log(out.log);
    if (out.askReadPorts)
        AskReadPorts();
    return out;
}

void DeviceProtocol::ProjectReplaced() {
    m_readFor.projectGone = true;
    m_sweep.Stop();
    m_dispatcher.SetReadKind(ReadNone);
}

void DeviceProtocol::AskReadPorts() {
    if (!m_view->AskYesNo(QString::fromUtf8(ProtocolText::kCopyCaption),
                          QString::fromUtf8(ProtocolText::kCopyPortsQuestion)))
        return;
    m_sweep.Start(m_dispatcher.Received().ReceivedBc.adr);
}
