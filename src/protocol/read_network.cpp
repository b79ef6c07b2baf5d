#include "read_network.h"

#include "protocol_texts.h"
#include "record_compare.h"

namespace {

QString Text(const char *utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

ReadRequest ReadRequestFor(ReadTarget target, const Project &project, const BcUnit *selectedBc,
                           const AlLine *selectedAl) {
    ReadRequest r;
    switch (target) {
    case ReadTarget::Pd:
        r = {true, ReadPd, project.settings.adr, QByteArrayLiteral("GETSETTING")};
        break;
    case ReadTarget::Bc:
        if (selectedBc)
            r = {true, ReadBc, selectedBc->adr, QByteArrayLiteral("GETDEVICE")};
        break;
    case ReadTarget::Al:
        if (selectedAl) {
            // The line's BC is the selected unit; the line's own adr names it too.
            const uint8_t bc = selectedBc ? selectedBc->adr : selectedAl->adr;
            r = {true, ReadAl, bc, QByteArrayLiteral("GETZONE") + QByteArray::number(selectedAl->prt)};
        }
        break;
    case ReadTarget::None:
        break;
    }
    return r;
}

ReadFor ReadForRequest(const ReadRequest &request, const AlLine *selectedAl) {
    ReadFor r;
    if (!request.send)
        return r;
    r.kind = request.kind;
    if (request.kind == ReadBc || request.kind == ReadAl)
        r.bc = request.address;
    if (request.kind == ReadAl && selectedAl)
        r.prt = selectedAl->prt;
    return r;
}

namespace {
bool IsTreeRead(ReadKind kind) {
    return kind == ReadPd || kind == ReadBc || kind == ReadAl;
}
} // namespace

CopyTarget FindCopyTarget(Project &project, const ReadFor &readFor, ReadKind current) {
    CopyTarget t;
    // A project closed since the read may also have reset the read kind: still say why.
    if (readFor.projectGone && IsTreeRead(readFor.kind) && (current == readFor.kind || current == ReadNone)) {
        t.ok = false;
        t.refusal = Text(ProtocolText::kCopyRefusedProjectGone);
        return t;
    }
    if (!IsTreeRead(current))
        return t; // the other kinds find their record by the received data
    if (readFor.kind != current) {
        t.ok = false; // no read of this kind was sent from the tree: there is no record for it
        return t;
    }
    if (current == ReadPd)
        return t;
    t.bc = FindBcUnit(project, readFor.bc);
    if (!t.bc) {
        t.ok = false;
        t.refusal = Text(ProtocolText::kCopyRefusedNoBc) + QString::number(readFor.bc) +
                    Text(ProtocolText::kCopyRefusedBcSuffix);
        return t;
    }
    if (current == ReadAl) {
        t.al = FindAlLine(project, readFor.bc, readFor.prt);
        if (!t.al) {
            t.ok = false;
            t.refusal = Text(ProtocolText::kCopyRefusedNoAl) + QString::number(readFor.prt) +
                        Text(ProtocolText::kCopyRefusedAlOnBc) + QString::number(readFor.bc) +
                        Text(ProtocolText::kCopyRefusedAlSuffix);
        }
    }
    return t;
}

CopyOutcome CopyReceivedToProject(Project &project, ReadKind kind, const ReceivedRecords &received, BcUnit *selectedBc,
                                  AlLine *selectedAl) {
    CopyOutcome out;
    switch (kind) {
    case ReadPd:
        out.setModified = !SameRecord(project.settings, received.ReceivedPd);
        project.settings = received.ReceivedPd; // the project name lives here and is taken too
        out.copied = out.rebuildTree = true;
        out.log = Text(ProtocolText::kPdCopied);
        break;
    case ReadBc:
        if (!selectedBc)
            break;
        if (received.ReceivedBc.adr != selectedBc->adr && FindBcUnit(project, received.ReceivedBc.adr)) {
            // Two units on one address would merge their lines into duplicate port pairs.
            out.log = Text(ProtocolText::kBcAddressTaken) + QString::number(received.ReceivedBc.adr) +
                      Text(ProtocolText::kBcAddressTakenWhy);
            break;
        }
        out.setModified = !SameRecord(*selectedBc, received.ReceivedBc);
        if (selectedBc->adr != received.ReceivedBc.adr) {
            // The unit's lines are filed under its address: move them with it, or they
            // would stay behind under an address no unit has and vanish from the tree.
            MoveAlLinesToBc(project, selectedBc->adr, received.ReceivedBc.adr);
        }
        *selectedBc = received.ReceivedBc;
        out.copied = out.rebuildTree = out.askReadPorts = true;
        out.log = Text(ProtocolText::kBcCopied);
        break;
    case ReadAl:
        if (!selectedAl)
            break;
        {
            AlLine line = received.ReceivedAl;
            line.prt = selectedAl->prt; // the line stays on its own port
            out.setModified = !SameRecord(*selectedAl, line);
            *selectedAl = line;
        }
        out.copied = out.rebuildTree = true;
        out.log = Text(ProtocolText::kAlCopied);
        break;
    case ReadBcFromScan:
        if (BcUnit *unit = FindBcUnit(project, received.ReceivedBc.adr)) {
            out.setModified = !SameRecord(*unit, received.ReceivedBc);
            *unit = received.ReceivedBc;
        } else if (AppendBcUnit(project, received.ReceivedBc)) {
            out.setModified = out.setProjectOpen = true;
        } else {
            // Every slot is taken; writing past the table would corrupt the project.
            out.log = Text(ProtocolText::kBcTableFull) + QString::number(received.ReceivedBc.adr);
            break;
        }
        out.copied = out.rebuildTree = out.askReadPorts = true;
        out.log = Text(ProtocolText::kBcCopied);
        break;
    case ReadNotify: {
        const int num = received.ReceivedNotify.num;
        if (num < 1 || num > 10)
            break;
        out.setModified = !SameRecord(project.notifies[num], received.ReceivedNotify);
        project.notifies[num] = received.ReceivedNotify;
        out.copied = out.reshowNotifyEditor = true;
        out.log = Text(ProtocolText::kNotifyCopied);
        break;
    }
    case ReadAllAl:
    case ReadNone:
        break;
    }
    return out;
}
