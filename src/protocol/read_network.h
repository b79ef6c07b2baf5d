#pragma once
// Reading a device into the compare windows and copying what was read into the project,
// as pure functions over the project, the received records and the tree's selection.
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "project.h"
#include "read_kind.h"
#include "reply_dispatcher.h"

// The kind of the selected tree node, as far as the read button cares.
enum class ReadTarget { None, Pd, Bc, Al };

struct ReadRequest {
    bool send = false; // false: nothing to read for this selection
    ReadKind kind = ReadNone;
    uint8_t address = 0;
    QByteArray command;
};

// What the read button sends for the selected node: GETSETTING to the project's PD,
// GETDEVICE to the selected BC, GETZONE<n> to the selected AL line's BC.
ReadRequest ReadRequestFor(ReadTarget target, const Project &project, const BcUnit *selectedBc,
                           const AlLine *selectedAl);

// The record a read was sent for, remembered when it goes out. A compare window often
// stays open while the user clicks other nodes, so the copy must not follow the tree's
// selection: it writes here, or nowhere when this record is gone.
struct ReadFor {
    ReadKind kind = ReadNone; // ReadPd, ReadBc or ReadAl; ReadNone before the first read
    uint8_t bc = 0;           // the BC unit's address (BC and AL reads)
    uint16_t prt = 0;         // the AL line's number on that BC (AL reads)
    bool projectGone = false; // the project was closed or replaced since the read
};
ReadFor ReadForRequest(const ReadRequest &request, const AlLine *selectedAl);

// Where a copy of the received record goes. `ok` false: the copy is refused, and
// `refusal` is the log line that says why.
struct CopyTarget {
    bool ok = true;
    BcUnit *bc = nullptr;
    AlLine *al = nullptr;
    QString refusal;
};
CopyTarget FindCopyTarget(Project &project, const ReadFor &readFor, ReadKind current);

// What a copy did and what the window layer still has to do about it, in this order:
// open the project, rebuild the tree, reshow the scenario editor, mark modified, log,
// and then offer the AL sweep.
struct CopyOutcome {
    bool copied = false;
    bool setProjectOpen = false;
    bool rebuildTree = false;
    bool reshowNotifyEditor = false;
    bool setModified = false; // only when a stored value really changed
    QString log;
    bool askReadPorts = false;
};

// Takes the received record chosen by `kind` into the project. A BC copied over the
// selected unit takes its AL lines along when the device reports another address; a
// copied AL line keeps its own AL number.
CopyOutcome CopyReceivedToProject(Project &project, ReadKind kind, const ReceivedRecords &received, BcUnit *selectedBc,
                                  AlLine *selectedAl);
