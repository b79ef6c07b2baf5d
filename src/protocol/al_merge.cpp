#include "al_merge.h"

#include "protocol_texts.h"
#include "record_compare.h"

AlMergeOutcome MergeSweptAl(Project &project, const AlLine &received) {
    AlMergeOutcome out;
    if (received.num == 0) {
        if (DeleteAlLine(project, received.adr, received.prt)) {
            out.result = AlMergeResult::Removed;
            out.projectChanged = true;
            out.rebuildTree = true;
            out.log = QString::fromUtf8(ProtocolText::kAlRemovedNoZone) + QString::number(received.prt);
        }
        return out;
    }

    if (AlLine *line = FindAlLine(project, received.adr, received.prt)) {
        out.rebuildTree = true;
        if (SameRecord(*line, received)) {
            out.result = AlMergeResult::Unchanged;
            return out;
        }
        out.result = AlMergeResult::Updated;
        out.projectChanged = true;
        out.log = QString::fromUtf8(ProtocolText::kAlMismatchCopy) + QString::number(received.prt);
        *line = received;
        return out;
    }

    if (!AppendAlLine(project, received)) {
        // Writing past the 65536 slots would corrupt the project; say so instead.
        out.result = AlMergeResult::TableFull;
        out.log = QString::fromUtf8(ProtocolText::kAlTableFull) + QString::number(received.prt) +
                  QString::fromUtf8(ProtocolText::kZoneWrittenForBc) + QString::number(received.adr);
        return out;
    }
    out.result = AlMergeResult::Appended;
    out.projectChanged = true;
    out.rebuildTree = true;
    return out;
}
