#include "network_write_plan.h"

#include "network_write_texts.h"

namespace {
constexpr int kCommandBufferSize = 1024;

template <class R, class Build> QByteArray CommandText(const char *keyword, const R &r, Build build) {
    char buf[kCommandBufferSize];
    const QByteArray word(keyword);
    const int room = kCommandBufferSize - int(word.size());
    const int n = build(r, buf, uint16_t(room));
    return word + QByteArray(buf, n);
}

QString BcText(int adr) {
    return QString::fromUtf8(NetworkWriteText::kWritingBc) + QString::number(adr);
}
QString PortText(int prt) {
    return QString::fromUtf8(NetworkWriteText::kAlPart) + QString::number(prt);
}
} // namespace

QByteArray WriteCommandText(const char *keyword, const PdSettings &r) {
    return CommandText(keyword, r, BuildSettingRecord);
}
QByteArray WriteCommandText(const char *keyword, const BcUnit &r) {
    return CommandText(keyword, r, BuildDeviceRecord);
}
QByteArray WriteCommandText(const char *keyword, const AlLine &r) {
    return CommandText(keyword, r, BuildZoneRecord);
}

AlLine ClearingRecord(uint8_t adr, uint8_t prt) {
    AlLine r;
    InitZoneRecord(r);
    r.adr = adr;
    r.prt = prt;
    return r;
}

NetworkWritePlan PlanNetworkWrite(const Project &p) {
    NetworkWritePlan plan;
    auto add = [&](uint8_t adr, QByteArray payload, QString log, bool after = false) {
        plan.commands.push_back({adr, std::move(payload), std::move(log), after});
    };
    add(p.settings.adr, WriteCommandText("SETSETTING", p.settings), QString::fromUtf8(NetworkWriteText::kWritingPd));
    // A slave PD takes its BC units' settings from its master: only its own record goes.
    if (!p.settings.mst)
        return plan;

    for (int i = 0; i < p.bcCount; ++i) {
        const BcUnit &bc = p.bcUnits[i];
        add(bc.adr, WriteCommandText("SETDEVICE", bc), BcText(bc.adr));
        plan.written[bc.adr][0] = true;
        ++plan.bcCommands;
    }
    for (int i = 0; i < p.alCount; ++i) {
        const AlLine &al = p.alLines[i];
        add(al.adr, WriteCommandText("SETZONE", al), BcText(al.adr) + PortText(al.prt));
        // A port number outside 1..16 (a hand-edited file) is still sent, but has no flag.
        if (al.prt >= 1 && al.prt <= 16)
            plan.written[al.adr][al.prt] = true;
        ++plan.alCommands;
    }
    // Only the units written get their empty ports cleared: a line whose BC unit is not
    // in the project says nothing about that unit's other ports.
    for (int a = 1; a <= 254; ++a) {
        if (!plan.written[a][0])
            continue;
        for (int prt = 1; prt <= 16; ++prt) {
            if (plan.written[a][prt])
                continue;
            add(uint8_t(a), WriteCommandText("SETZONE", ClearingRecord(uint8_t(a), uint8_t(prt))),
                QString::fromUtf8(NetworkWriteText::kClearingBc) + QString::number(a) + PortText(prt), true);
            ++plan.clearCommands;
        }
    }
    return plan;
}
