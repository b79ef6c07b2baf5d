#pragma once
// The rules that keep identifiers unique while the user adds devices or edits their
// numbers: BC address, AL number on its BC, zone number across the project.
// Pure functions on the project tables, so the rules are tested without a window.
#include <cstdint>
#include <random>
#include <string>

#include "project.h"

// NoFreeZone: every zone number 1..32767 is taken by a line (zone 0 would clear the port).
enum class AddResult { Added, BadNumber, NumberTaken, TableFull, NoFreeZone };

// A BC typed as text: 238..249 and not yet used ("abc" reads as 0 and is refused).
AddResult AddBcUnitFromText(Project &p, const std::string &text);
// An AL line typed as text under BC `bcAdr`: 1..16 and not used on that BC. Its zone
// number is a free one drawn with `rng`.
AddResult AddAlLineFromText(Project &p, uint8_t bcAdr, const std::string &text, std::mt19937 &rng);

// Edits of the BC and AL pages. Each returns true when the value was taken; a refused
// value leaves the project as it was.
// The BC's address: 238..249 and used by no BC (its own included); its lines follow it.
bool ApplyBcAddressText(Project &p, int bcIndex, const std::string &text);
// The AL number: the low 8 bits of the number, 1..16, used by no line of that BC.
bool ApplyAlNumberText(Project &p, int alIndex, uint8_t bcAdr, const std::string &text);
// The zone number: 1..65535, used by no line in the project (its own included).
bool ApplyAlZoneText(Project &p, int alIndex, const std::string &text);
