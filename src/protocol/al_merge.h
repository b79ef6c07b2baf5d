#pragma once
// Merging one AL line that the sweep read from a BC into the project.
#include <QString>

#include "project.h"

enum class AlMergeResult {
    Updated,         // the project's line differed and was overwritten
    Unchanged,       // the project's line already held exactly this record
    Appended,        // the line was new to the project
    TableFull,       // new, but the AL table has no free slot: refused
    Removed,         // the device has no zone on that port: the project's line was deleted
    NothingToRemove, // no zone on that port and none in the project either
};

struct AlMergeOutcome {
    AlMergeResult result = AlMergeResult::NothingToRemove;
    bool projectChanged = false;
    bool rebuildTree = false;
    QString log; // empty: nothing to log
};

// Zone number 0 means "no zone on this port" to a device, so such a reply removes the
// line; any other reply updates or adds the line of (adr, prt).
AlMergeOutcome MergeSweptAl(Project &project, const AlLine &received);
