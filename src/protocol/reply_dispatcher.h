#pragma once
// DispatchReply: the one place where device replies are interpreted. The reply keyword,
// the frame's source and ReadKind decide everything; there is no pairing with requests.
#include <cstdint>
#include <functional>

#include "project.h"
#include "protocol_log.h"
#include "protocol_view.h"
#include "read_kind.h"
#include "records.h"

// The last record of each kind a device reported; a copy into the project reads them.
struct ReceivedRecords {
    PdSettings ReceivedPd;
    BcUnit ReceivedBc;
    AlLine ReceivedAl;
    NotifyScenario ReceivedNotify;
};

class ReplyDispatcher {
public:
    // `project` and `view` must outlive the dispatcher (a null view shows nothing); `stopRepeats` ends SendCommand's
    // repeats (every accepted frame does, whatever it says).
    ReplyDispatcher(Project *project, ProtocolView *view, LogSink log, std::function<void()> stopRepeats);

    void SetProject(Project *project) { m_project = project; }
    void DispatchReply(const uint8_t *payload, int length, uint8_t source);

    ReadKind readKind() const { return m_readKind; }
    void SetReadKind(ReadKind kind) { m_readKind = kind; }
    // The BC the AL sweep reads: only its replies, for ports 1..16, are merged.
    void SetSweptBc(uint8_t adr) { m_sweptBc = adr; }
    ReceivedRecords &Received() { return m_received; }
    const ReceivedRecords &Received() const { return m_received; }

private:
    void Log(const QString &text) const;
    void OnGetZone(const char *rest);
    // Why a sweep reply cannot be merged ("" when it can): it must name the swept BC and a
    // port 1..16 and carry a zone number a line can hold.
    QString SweepReplyMisfit(const char *rest) const;
    void OnGetNotify(const char *rest);
    void OnService(const char *rest, int restLength, uint8_t source);
    void OnOther(const uint8_t *payload, int length, uint8_t source, const char *text);

    ProtocolView m_noView; // stands in while no window layer is attached
    Project *m_project;
    ProtocolView *m_view;
    LogSink m_log;
    std::function<void()> m_stopRepeats;
    ReadKind m_readKind = ReadNone;
    uint8_t m_sweptBc = 0;
    ReceivedRecords m_received;
};
