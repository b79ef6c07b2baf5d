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
