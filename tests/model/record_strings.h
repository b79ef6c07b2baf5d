#pragma once
// Record <-> std::string helpers for the tests: a record is compared by the text it builds.
#include <string>

#include "records.h"

inline std::string Text(const PdSettings &r) {
    char buf[kRecordBufferSize];
    return std::string(buf, static_cast<size_t>(BuildSettingRecord(r, buf, sizeof buf)));
}
inline std::string Text(const BcUnit &r) {
    char buf[kRecordBufferSize];
    return std::string(buf, static_cast<size_t>(BuildDeviceRecord(r, buf, sizeof buf)));
}
inline std::string Text(const AlLine &r) {
    char buf[kRecordBufferSize];
    return std::string(buf, static_cast<size_t>(BuildZoneRecord(r, buf, sizeof buf)));
}
inline std::string Text(const NotifyScenario &r) {
    char buf[kRecordBufferSize];
    return std::string(buf, static_cast<size_t>(BuildNotifyRecord(r, buf, sizeof buf)));
}

// Whichever parser takes the line, the parsed record's own text; "<rejected>" when none does.
inline std::string ParsedText(const std::string &line) {
    PdSettings s;
    BcUnit d;
    AlLine z;
    NotifyScenario n;
    if (ParseSettingRecord(line.c_str(), s))
        return Text(s);
    if (ParseDeviceRecord(line.c_str(), d))
        return Text(d);
    if (ParseZoneRecord(line.c_str(), z))
        return Text(z);
    if (ParseNotifyRecord(line.c_str(), n))
        return Text(n);
    return "<rejected>";
}
