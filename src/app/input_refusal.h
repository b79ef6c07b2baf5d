#pragma once
// Why the text typed into a number edit is not what the project keeps. The pages store
// every keystroke leniently (limited, or ignored when refused); these say, in the
// user's words, what is wrong with the text as typed, so the edit can be marked while
// it shows something other than the stored value. Empty text: nothing is wrong.
#include <string>

#include "project.h"

// A whole number min..max ("12abc", "" and "300" for 250..254 are refused).
std::string IntegerRefusal(const std::string &text, int min, int max);
// A decimal number 0..max, with a point or a comma ("1,5" and "1.5" are both fine).
std::string DecimalRefusal(const std::string &text, float max);
// The BC address of unit `bcIndex`: 238..249 and no other unit's.
std::string BcAddressRefusal(Project &p, int bcIndex, const std::string &text);
// The AL number of line `alIndex`: 1..16 and no other line's on the same BC.
std::string AlNumberRefusal(Project &p, int alIndex, const std::string &text);
// The zone number of line `alIndex`: 1..65535 and no other line's in the project.
std::string ZoneRefusal(Project &p, int alIndex, const std::string &text);
