#pragma once
// The one project: PD settings, BC units, AL lines and scenarios in fixed tables.
// Deleting moves the last record into the hole, so order follows the table.
#include <cstdint>
#include <random>

#include "records.h"

constexpr int kBcCapacity = 256;      // the 8-bit bus address space
constexpr int kAlCapacity = 65536;    // the 16-bit zone number space
constexpr int kNotifyCount = 11;      // index = scenario number; 1..10 used

struct Project {
    PdSettings settings;
    BcUnit bcUnits[kBcCapacity];
    int32_t bcCount;
    AlLine alLines[kAlCapacity];
    int32_t alCount;
    NotifyScenario notifies[kNotifyCount];
};

void ResetProject(Project &p);
BcUnit *FindBcUnit(Project &p, uint8_t adr);
AlLine *FindAlLine(Project &p, uint8_t bcAdr, uint16_t prt);
AlLine *FindAlLineByZone(Project &p, uint16_t zone);
bool DeleteAlLine(Project &p, uint8_t bcAdr, uint16_t prt);
void MoveAlLinesToBc(Project &p, uint8_t oldAdr, uint8_t newAdr);
// Append refuses (returns false, table unchanged) when the table is full.
bool AppendBcUnit(Project &p, const BcUnit &unit);
bool AppendAlLine(Project &p, const AlLine &line);
// `unit` / `line` must point into the project's table.
void DeleteBcUnit(Project &p, BcUnit *unit);
void DeleteAlLineAt(Project &p, AlLine *line);

// A zone number for a new line: drawn from 1..32767 among the numbers no line has
// (0 means "no zone" to a device); 0 only when every number is taken.
uint16_t NewZoneNumber(const Project &p, std::mt19937 &rng);
