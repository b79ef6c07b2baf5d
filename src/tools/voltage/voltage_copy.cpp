#include "voltage_copy.h"

#include <cstring>

#include "display_text.h"
#include "record_compare.h"

namespace {

// Assigns the boxes one field at a time and stops at the first that holds no number.
class FieldCopier {
public:
    bool Assign(float &field, const QString &text) {
        if (!m_result.ok())
            return false;
        float value = 0;
        try {
            value = static_cast<float>(TextToFloatDef(text.toUtf8().toStdString(), 0));
        } catch (const NumberConversionError &) {
            // Every message the user sees is Russian, worded as the COM settings word theirs.
            m_result.error = QStringLiteral("«") + text + QStringLiteral("» — не число");
            return false;
        }
        // Bitwise, as the record comparison does: 0.0 over -0.0 is a change too.
        if (std::memcmp(&field, &value, sizeof value) != 0) {
            field = value;
            m_result.changed = true;
        }
        return true;
    }
    bool ok() const { return m_result.ok(); }
    VoltageCopyResult Result() const { return m_result; }
    void Merge(const VoltageCopyResult &r) {
        m_result.changed = m_result.changed || r.changed;
        if (m_result.ok())
            m_result.error = r.error;
    }

private:
    VoltageCopyResult m_result;
};

} // namespace

VoltageCopyResult CopyPdVoltage(PdSettings &pd, const QString &edUb) {
    FieldCopier c;
    c.Assign(pd.ubs, edUb);
    return c.Result();
}

VoltageCopyResult CopyBcVoltages(BcUnit &bc, const QString &edUbw, const QString &edUbe) {
    FieldCopier c;
    c.Assign(bc.ubw, edUbw) && c.Assign(bc.ube, edUbe);
    return c.Result();
}

VoltageCopyResult CopyAlVoltages(AlLine &line, const AlVoltageTexts &t) {
    const AlLine before = line;
    FieldCopier c;
    if (c.Assign(line.uvp, t.uvp) && c.Assign(line.tuv, t.utvp) && c.Assign(line.usp, t.uspv) &&
        c.Assign(line.ukn, t.uk) && c.Assign(line.tuk, t.utk) && line.usp == 0.0f)
        c.Assign(line.usp, t.uspk);
    // usp may pass through 0 on its way back to the value it had: judge the end result.
    VoltageCopyResult r = c.Result();
    r.changed = !SameRecord(before, line);
    return r;
}

VoltageCopyResult CopyAlVoltagesToBc(Project &project, uint8_t bcAdr, const AlVoltageTexts &t) {
    FieldCopier all;
    for (int i = 0; i < project.alCount && all.ok(); ++i) {
        if (project.alLines[i].adr == bcAdr)
            all.Merge(CopyAlVoltages(project.alLines[i], t));
    }
    return all.Result();
}

VoltageTargets VoltageTargets::ForPd(uint64_t epoch) {
    VoltageTargets t;
    t.m_kind = Kind::Pd;
    t.m_epoch = epoch;
    return t;
}

VoltageTargets VoltageTargets::ForBc(const BcUnit &bc, uint64_t epoch) {
    VoltageTargets t;
    t.m_kind = Kind::Bc;
    t.m_bcAdr = bc.adr;
    t.m_epoch = epoch;
    return t;
}

VoltageTargets VoltageTargets::ForAl(const BcUnit &bc, const AlLine &line, uint64_t epoch) {
    VoltageTargets t;
    t.m_kind = Kind::Al;
    t.m_bcAdr = bc.adr;
    t.m_prt = line.prt;
    t.m_epoch = epoch;
    return t;
}

PdSettings *VoltageTargets::Pd(Project &project, uint64_t epoch) const {
    return m_kind != Kind::None && epoch == m_epoch ? &project.settings : nullptr;
}

BcUnit *VoltageTargets::Bc(Project &project, uint64_t epoch) const {
    if ((m_kind != Kind::Bc && m_kind != Kind::Al) || epoch != m_epoch)
        return nullptr;
    return FindBcUnit(project, m_bcAdr);
}

AlLine *VoltageTargets::Al(Project &project, uint64_t epoch) const {
    if (m_kind != Kind::Al || !Bc(project, epoch))
        return nullptr;
    return FindAlLine(project, m_bcAdr, m_prt);
}

bool VoltageTargets::Present(Project &project, uint64_t epoch) const {
    switch (m_kind) {
    case Kind::Pd:
        return Pd(project, epoch) != nullptr;
    case Kind::Bc:
        return Bc(project, epoch) != nullptr;
    case Kind::Al:
        return Al(project, epoch) != nullptr;
    case Kind::None:
        break;
    }
    return false;
}
