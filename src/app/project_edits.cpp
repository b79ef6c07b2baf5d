#include "project_edits.h"

#include "records.h"
#include "text_utils.h"

namespace {
constexpr int kBcAdrMin = 238, kBcAdrMax = 249;
constexpr int kAlPortMin = 1, kAlPortMax = 16;
} // namespace

AddResult AddBcUnitFromText(Project &p, const std::string &text) {
    const int adr = TextToInt(text.c_str());
    if (adr < kBcAdrMin || adr > kBcAdrMax)
        return AddResult::BadNumber;
    if (FindBcUnit(p, uint8_t(adr)))
        return AddResult::NumberTaken;
    BcUnit unit;
    InitDeviceRecord(unit);
    unit.adr = uint8_t(adr);
    return AppendBcUnit(p, unit) ? AddResult::Added : AddResult::TableFull;
}

AddResult AddAlLineFromText(Project &p, uint8_t bcAdr, const std::string &text, std::mt19937 &rng) {
    const int prt = TextToInt(text.c_str());
    if (prt < kAlPortMin || prt > kAlPortMax)
        return AddResult::BadNumber;
    if (FindAlLine(p, bcAdr, uint16_t(prt)))
        return AddResult::NumberTaken;
    if (p.alCount >= kAlCapacity)
        return AddResult::TableFull;
    AlLine line;
    InitZoneRecord(line);
    line.prt = uint8_t(prt);
    line.num = NewZoneNumber(p, rng);
    if (line.num == 0)
        return AddResult::NoFreeZone;
    line.adr = bcAdr;
    return AppendAlLine(p, line) ? AddResult::Added : AddResult::TableFull;
}

bool ApplyBcAddressText(Project &p, int bcIndex, const std::string &text) {
    if (bcIndex < 0 || bcIndex >= p.bcCount)
        return false;
    const int adr = TextToInt(text.c_str());
    if (adr < kBcAdrMin || adr > kBcAdrMax || FindBcUnit(p, uint8_t(adr)))
        return false;
    const uint8_t old = p.bcUnits[bcIndex].adr;
    p.bcUnits[bcIndex].adr = uint8_t(adr);
    MoveAlLinesToBc(p, old, uint8_t(adr));
    return true;
}

bool ApplyAlNumberText(Project &p, int alIndex, uint8_t bcAdr, const std::string &text) {
    if (alIndex < 0 || alIndex >= p.alCount)
        return false;
    // Devices keep the port number in one byte: 257 arrives as 1.
    const int prt = uint8_t(TextToInt(text.c_str()));
    if (prt < kAlPortMin || prt > kAlPortMax || FindAlLine(p, bcAdr, uint16_t(prt)))
        return false;
    p.alLines[alIndex].prt = uint8_t(prt);
    return true;
}

bool ApplyAlZoneText(Project &p, int alIndex, const std::string &text) {
    if (alIndex < 0 || alIndex >= p.alCount)
        return false;
    const int zone = TextToInt(text.c_str());
    if (zone < 1 || zone > 65535 || FindAlLineByZone(p, uint16_t(zone)))
        return false;
    p.alLines[alIndex].num = uint16_t(zone);
    return true;
}
