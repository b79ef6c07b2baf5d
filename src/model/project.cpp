#include "project.h"

#include <bitset>

void ResetProject(Project &p) {
    InitSettingRecord(p.settings);
    for (auto &unit : p.bcUnits)
        InitDeviceRecord(unit);
    p.bcCount = 0;
    for (auto &line : p.alLines)
        InitZoneRecord(line);
    p.alCount = 0;
    for (int i = 0; i < kNotifyCount; ++i) {
        InitNotifyRecord(p.notifies[i]);
        p.notifies[i].num = static_cast<uint8_t>(i);
    }
}

BcUnit *FindBcUnit(Project &p, uint8_t adr) {
    for (int i = 0; i < p.bcCount; ++i)
        if (p.bcUnits[i].adr == adr)
            return &p.bcUnits[i];
    return nullptr;
}

AlLine *FindAlLine(Project &p, uint8_t bcAdr, uint16_t prt) {
    for (int i = 0; i < p.alCount; ++i)
        if (p.alLines[i].adr == bcAdr && p.alLines[i].prt == prt)
            return &p.alLines[i];
    return nullptr;
}

AlLine *FindAlLineByZone(Project &p, uint16_t zone) {
    for (int i = 0; i < p.alCount; ++i)
        if (p.alLines[i].num == zone)
            return &p.alLines[i];
    return nullptr;
}

namespace {
// Keeps the used entries contiguous: the last one moves into the hole.
void RemoveAlLineAt(Project &p, int index) {
    p.alLines[index] = p.alLines[p.alCount - 1];
    --p.alCount;
}

template <typename T, size_t N> int IndexIn(const T (&table)[N], int count, const T *entry) {
    if (!entry || entry < table || entry >= table + count)
        return -1;
    return static_cast<int>(entry - table);
}
} // namespace

bool DeleteAlLine(Project &p, uint8_t bcAdr, uint16_t prt) {
    if (p.alCount == 0)
        return false;
    AlLine *line = FindAlLine(p, bcAdr, prt);
    if (!line)
        return false;
    RemoveAlLineAt(p, static_cast<int>(line - p.alLines));
    return true;
}

void MoveAlLinesToBc(Project &p, uint8_t oldAdr, uint8_t newAdr) {
    for (int i = 0; i < p.alCount; ++i)
        if (p.alLines[i].adr == oldAdr)
            p.alLines[i].adr = newAdr;
}

bool AppendBcUnit(Project &p, const BcUnit &unit) {
    if (p.bcCount < 0 || p.bcCount >= kBcCapacity)
        return false;
    p.bcUnits[p.bcCount++] = unit;
    return true;
}

bool AppendAlLine(Project &p, const AlLine &line) {
    if (p.alCount < 0 || p.alCount >= kAlCapacity)
        return false;
    p.alLines[p.alCount++] = line;
    return true;
}

void DeleteBcUnit(Project &p, BcUnit *unit) {
    int index = IndexIn(p.bcUnits, p.bcCount, unit);
    if (index < 0)
        return; // not a unit in use: a stale reference after a reload changes nothing
    uint8_t adr = unit->adr;
    // The line moved into a hole may belong to this unit too, so the same index is examined again.
    for (int i = 0; i < p.alCount;) {
        if (p.alLines[i].adr == adr)
            RemoveAlLineAt(p, i);
        else
            ++i;
    }
    p.bcUnits[index] = p.bcUnits[p.bcCount - 1];
    --p.bcCount;
}

void DeleteAlLineAt(Project &p, AlLine *line) {
    int index = IndexIn(p.alLines, p.alCount, line);
    if (index >= 0)
        RemoveAlLineAt(p, index);
}

uint16_t NewZoneNumber(const Project &p, std::mt19937 &rng) {
    // Devices read zone 0 as "no zone on this port", and the number names the line
    // across the project, so only free numbers of 1..32767 are drawn, all alike likely.
    constexpr int kHighest = 32767;
    std::bitset<kHighest + 1> used;
    used.set(0);
    for (int i = 0; i < p.alCount; ++i)
        if (p.alLines[i].num <= kHighest)
            used.set(p.alLines[i].num);
    int free = kHighest + 1 - static_cast<int>(used.count());
    if (free == 0)
        return 0;
    int pick = std::uniform_int_distribution<int>(0, free - 1)(rng);
    for (int n = 1; n <= kHighest; ++n)
        if (!used.test(static_cast<size_t>(n)) && pick-- == 0)
            return static_cast<uint16_t>(n);
    return 0;
}
