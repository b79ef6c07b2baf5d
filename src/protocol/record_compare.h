#pragma once
// Field-by-field equality of the configuration records. Comparing whole structs with
// memcmp would also compare padding and the bytes behind a name's NUL, which differ
// between a record read from a file and the same record read from a device.
#include "records.h"

bool SameRecord(const PdSettings &a, const PdSettings &b);
bool SameRecord(const BcUnit &a, const BcUnit &b);
bool SameRecord(const AlLine &a, const AlLine &b);
bool SameRecord(const NotifyScenario &a, const NotifyScenario &b);
