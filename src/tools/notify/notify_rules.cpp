#include "notify_rules.h"

#include <algorithm>
#include <cstring>

#include "text_utils.h"

namespace {
constexpr int kZoneMin = 1; // zone 0 would mean "no zone" to the PD
constexpr int kZoneMax = 65535;
constexpr int kRepeatMax = 255;

int ClampNumberText(const std::string &text, int min, int max) {
    return std::clamp<int32_t>(TextToInt(text.c_str()), min, max);
}

template <class T> bool Store(T &field, T value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

bool SameDateTime(const PackedDateTime &a, const PackedDateTime &b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}

bool StoreFileName(char (&wav)[kNotifyWavSize], const std::string &utf8) {
    char cut[kNotifyWavSize];
    CopyTextUtf8(cut, sizeof cut, utf8.c_str());
    // A line end would split the record's line in the project file.
    for (char *c = cut; *c; ++c)
        if (static_cast<unsigned char>(*c) < 0x20)
            *c = ' ';
    if (std::strcmp(cut, wav) == 0)
        return false;
    std::memcpy(wav, cut, std::strlen(cut) + 1);
    return true;
}
} // namespace

bool StoreNotifyField(NotifyScenario &s, NotifyField field, const std::string &text) {
    switch (field) {
    case NotifyField::Zone:
        return Store(s.zon, uint16_t(ClampNumberText(text, kZoneMin, kZoneMax)));
    case NotifyField::FileName:
        return StoreFileName(s.wav, text);
    case NotifyField::DateTime: {
        PackedDateTime dt = TextToDateTime(text.c_str());
        // Neither the record text nor the edit carries seconds: kept, they would make the
        // project differ from what the PD holds after a write, invisibly.
        dt.second = 0;
        if (SameDateTime(s.dtm, dt))
            return false;
        s.dtm = dt;
        return true;
    }
    case NotifyField::Period:
        return Store(s.per, uint8_t(ClampNumberText(text, 0, kRepeatMax)));
    case NotifyField::Count:
        return Store(s.cnt, uint8_t(ClampNumberText(text, 0, kRepeatMax)));
    }
    return false;
}

bool StoreNotifyEnabled(NotifyScenario &s, bool checked) {
    return Store(s.nte, checked);
}

NotifyTexts NotifyShownTexts(const NotifyScenario &s) {
    NotifyTexts t;
    t.enabled = s.nte;
    t.zone = IntToText(s.zon);
    t.fileName = std::string(s.wav, strnlen(s.wav, sizeof s.wav));
    t.dateTime = DateTimeToText(s.dtm);
    t.period = IntToText(s.per);
    t.count = IntToText(s.cnt);
    return t;
}

QByteArray ReadNotifyCommand(int number) {
    return QByteArray("GETNOTIFY") + QByteArray::number(number);
}

QByteArray WriteNotifyCommand(const NotifyScenario &s, int number) {
    NotifyScenario slot = s;
    slot.num = static_cast<uint8_t>(number);
    char record[kRecordBufferSize];
    const int length = BuildNotifyRecord(slot, record, sizeof record);
    return QByteArray("SETNOTIFY") + QByteArray(record, length);
}

bool EndsRecordValue(char32_t c) {
    return c == U',' || c == U'}';
}
