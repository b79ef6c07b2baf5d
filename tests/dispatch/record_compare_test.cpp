// A record read back is "the same" as the project's only when every field is: one forgotten
// field would let a changed device value pass as unchanged (no merge, no modified mark).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "record_compare.h"
#include "records.h"

namespace {

template <class T> void Bump(T &v) {
    if constexpr (std::is_same_v<T, bool>)
        v = !v;
    else if constexpr (std::is_floating_point_v<T>)
        v = std::nextafter(v, T(1e9)); // one bit apart
    else
        v = T(v ^ 1);
}

template <class R> struct FieldChange {
    std::string field;
    std::function<void(R &)> change;
};

#define FIELD(f) {#f, [](auto &r) { Bump(r.f); }}
// A name differs in its first byte or in its last one before the NUL.
#define NAME(f)                                                                                                        \
    {#f " first byte", [](auto &r) { r.f[0] = 'b'; }}, {#f " last byte", [](auto &r) { r.f[sizeof r.f - 2] = 'b'; }}

void FillName(char *name, size_t capacity) {
    std::memset(name, 'a', capacity - 1);
    name[capacity - 1] = '\0';
}

template <class R> void ExpectEveryFieldCounts(const R &base, const std::vector<FieldChange<R>> &rows) {
    R copy = base;
    EXPECT_TRUE(SameRecord(base, copy));
    for (const FieldChange<R> &row : rows) {
        R other = base;
        row.change(other);
        EXPECT_FALSE(SameRecord(base, other)) << row.field;
        EXPECT_FALSE(SameRecord(other, base)) << row.field;
    }
}

TEST(SameRecord, EveryFieldOfASettingRecordCounts) {
    PdSettings base;
    InitSettingRecord(base);
    FillName(base.nam, sizeof base.nam);
    ExpectEveryFieldCounts<PdSettings>(
        base, {FIELD(adr), FIELD(mst), FIELD(rsl), FIELD(rss), FIELD(spk), FIELD(mic), FIELD(sps), FIELD(aru),
               FIELD(arl), FIELD(ton), FIELD(tof), FIELD(spd), FIELD(spl), FIELD(ubs), FIELD(drw), FIELD(usb),
               FIELD(mlk), FIELD(etp), FIELD(el1), FIELD(el2), FIELD(ers), NAME(nam)});
}

TEST(SameRecord, EveryFieldOfADeviceRecordCounts) {
    BcUnit base;
    InitDeviceRecord(base);
    FillName(base.nam, sizeof base.nam);
    ExpectEveryFieldCounts<BcUnit>(base, {FIELD(adr), NAME(nam), FIELD(rsl), FIELD(rss), FIELD(ene), FIELD(enw),
                                          FIELD(ube), FIELD(ubw), FIELD(byp), FIELD(pad), FIELD(drw), FIELD(pas)});
}

TEST(SameRecord, EveryFieldOfAZoneRecordCounts) {
    AlLine base;
    InitZoneRecord(base);
    FillName(base.nam, sizeof base.nam);
    ExpectEveryFieldCounts<AlLine>(base, {FIELD(num), FIELD(adr), FIELD(prt), NAME(nam), FIELD(uvp), FIELD(ukn),
                                          FIELD(tuv), FIELD(tuk), FIELD(usp), FIELD(spk), FIELD(mic), FIELD(sps),
                                          FIELD(etp), FIELD(el1), FIELD(el2)});
}

TEST(SameRecord, EveryFieldOfANotifyRecordCounts) {
    NotifyScenario base;
    InitNotifyRecord(base);
    FillName(base.wav, sizeof base.wav);
    ExpectEveryFieldCounts<NotifyScenario>(
        base, {FIELD(num), FIELD(nte), FIELD(zon), NAME(wav), FIELD(per), FIELD(cnt), FIELD(dtm.year),
               FIELD(dtm.month), FIELD(dtm.day), FIELD(dtm.hour), FIELD(dtm.minute), FIELD(dtm.second), FIELD(src)});
}

TEST(SameRecord, BytesBehindTheNameEndDoNotCount) {
    // Names are NUL-terminated text: what lies behind the NUL is not part of the record.
    AlLine a;
    InitZoneRecord(a);
    std::strcpy(a.nam, "Зал");
    AlLine b = a;
    b.nam[sizeof b.nam - 2] = 'x';
    EXPECT_TRUE(SameRecord(a, b));
}

} // namespace
