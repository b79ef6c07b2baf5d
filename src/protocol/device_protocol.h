#pragma once
// The protocol half of the main window: the command exchange, the reply dispatcher and
// the AL sweep wired together. The window layer implements ProtocolView, creates one of
// these with its project and LogInfo, gives Exchange() a TCommPortLink over ComPort and
// its data-received signal (tcommport_link.h), keeps Exchange().SetAddr() in step with
// Addr, and forwards its button clicks; everything shown or asked goes through the view.
#include <QObject>

#include "al_sweep.h"
#include "command_exchange.h"
#include "protocol_log.h"
#include "protocol_timings.h"
#include "protocol_view.h"
#include "read_network.h"
#include "reply_dispatcher.h"

class DeviceProtocol : public QObject {
    Q_OBJECT
public:
    DeviceProtocol(Project *project, ProtocolView *view, LogSink log, const ProtocolTimings &timings = kRealTimings,
                   QObject *parent = nullptr);

    CommandExchange &Exchange() { return m_exchange; }
    ReplyDispatcher &Dispatcher() { return m_dispatcher; }
    AlSweep &Sweep() { return m_sweep; }
    ReadKind readKind() const { return m_dispatcher.readKind(); }
    // While set, every accepted frame is offered here first; a true return keeps it from
    // the dispatcher. A tool that reads the devices for itself (the network check) takes
    // its replies here, so they never show a compare window or merge into the project.
    using ReplyTap = std::function<bool(const uint8_t *payload, int length, uint8_t source)>;
    void SetReplyTap(ReplyTap tap) { m_replyTap = std::move(tap); }

    // bdReadComClick once SetPortOpen(true) has succeeded: sends the read for the
    // selected node with repeats. False when the selection has nothing to read.
    bool ReadSelectedDevice(ReadTarget target, const BcUnit *selectedBc, const AlLine *selectedAl);
    // btCopyClick of any compare window (the window hides itself afterwards): asks
    // "Скопировать данные в проект ?" and copies by the current ReadKind onto the record
    // the read was sent for, whatever the tree shows now. That record is looked up only
    // after the answer: while the question is open replies keep arriving, and a sweep
    // merge may move or remove it. A record that is gone refuses the copy with a log line.
    CopyOutcome CopyToProject();
    // Offers the sweep of the BC just copied; on Yes starts it at the reported address.
    void AskReadPorts();
    // The project is closed, replaced or new: a running sweep stops and the read kind is
    // reset, so late replies and a compare window's copy never land in the other project;
    // what was read belongs to the old one.
    void ProjectReplaced();

private:
    void Log(const QString &text) const;

    Project *m_project;
    ProtocolView *m_view;
    LogSink m_log;
    CommandExchange m_exchange;
    ReplyDispatcher m_dispatcher;
    AlSweep m_sweep;
    ReadFor m_readFor;
    ReplyTap m_replyTap;
};
