#pragma once
// Measured voltages taken into the project as reference values. Each box is read as
// the project stores it: "Нет данных" or an empty box is 0, "12,3" reads as 12.3. A box
// holding no number ends the copy at that field; the fields before it keep their new
// values, as the user saw them go in one by one.
#include <QString>
#include <cstdint>

#include "project.h"

struct VoltageCopyResult {
    bool changed = false; // a stored value really changed: the project is modified
    QString error;        // the conversion message when a box held no number
    bool ok() const { return error.isEmpty(); }
};

// PD window: ubs := edUb.
VoltageCopyResult CopyPdVoltage(PdSettings &pd, const QString &edUb);
// BC window: ubw := edUbw (WEST), then ube := edUbe (EAST).
VoltageCopyResult CopyBcVoltages(BcUnit &bc, const QString &edUbw, const QString &edUbe);

// The six boxes of the AL window.
struct AlVoltageTexts {
    QString uvp, utvp, uspv; // group 1: connected, standby, loudspeaker
    QString uk, utk, uspk;   // group 2: the same with the subscriber's button held
};
// uvp, tuv, usp (from group 1), ukn, tuk; then, when usp is still 0, usp from group 2:
// a loudspeaker voltage is only measured in one of the two states.
VoltageCopyResult CopyAlVoltages(AlLine &line, const AlVoltageTexts &t);
// The same values into every line of the BC at `bcAdr`, in table order.
VoltageCopyResult CopyAlVoltagesToBc(Project &project, uint8_t bcAdr, const AlVoltageTexts &t);

// The records a voltage window copies into: those selected when it opened. They are
// found again by their keys (a BC by its address, a line by its BC and port) and only
// within the project that was open then (`epoch`, which changes whenever the project is
// closed, replaced or reloaded); a record that is gone resolves to null, so a copy never
// lands on whatever record took its place in the table.
class VoltageTargets {
public:
    static VoltageTargets ForPd(uint64_t epoch);
    static VoltageTargets ForBc(const BcUnit &bc, uint64_t epoch);
    static VoltageTargets ForAl(const BcUnit &bc, const AlLine &line, uint64_t epoch);

    PdSettings *Pd(Project &project, uint64_t epoch) const;
    BcUnit *Bc(Project &project, uint64_t epoch) const;
    AlLine *Al(Project &project, uint64_t epoch) const;
    // Whether every record this window writes still exists.
    bool Present(Project &project, uint64_t epoch) const;
    uint8_t BcAddress() const { return m_bcAdr; }

private:
    enum class Kind { None, Pd, Bc, Al };
    Kind m_kind = Kind::None;
    uint8_t m_bcAdr = 0;
    uint16_t m_prt = 0;
    uint64_t m_epoch = 0;
};
