#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "record_strings.h"

namespace {
const std::string kDefaultSetting =
    "setting:{adr:250, mst:true, rsl:false, rss:19200, mic:100, spk:100, aru:false, arl:10, ton:30, tof:300, "
    "spd:false, spl:10, ubs:0.0, drw:true, usb:false, mlk:false, etp:0, el1:10, el2:300, sps:100, ers:true, nam:}";
const std::string kDefaultDevice = "device:{adr:238, nam:, ene:true, enw:true, ube:0.0, ubw:0.0, byp:false pad:250, "
                                   "rsl:false, rss:19200, drw:false, pas:251}";
const std::string kDefaultZone = "zone:{num:0, adr:0, prt:0, nam:, uvp:0.0, ukn:0.0, tuv:0.0, tuk:0.0, usp:0.0, "
                                 "spk:100, mic:100, etp:0, el1:10, el2:300, sps:100}";
const std::string kDefaultNotify =
    "notify:{num:0, nte:false, zon:0, wav:, per:0, cnt:0, dtm:0000-00-00 00:00, src:false}";

// The default text with one "key:value" pair replaced.
std::string With(std::string text, const std::string &from, const std::string &to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

template <typename R> R Initialised(void (*init)(R &)) {
    R r;
    init(r);
    return r;
}
} // namespace

TEST(RecordDefaults, BuildExactlyTheDefaultLines) {
    EXPECT_EQ(Text(Initialised(InitSettingRecord)), kDefaultSetting);
    EXPECT_EQ(Text(Initialised(InitDeviceRecord)), kDefaultDevice);
    EXPECT_EQ(Text(Initialised(InitZoneRecord)), kDefaultZone);
    EXPECT_EQ(Text(Initialised(InitNotifyRecord)), kDefaultNotify);
}

struct ParseCase {
    const char *name;
    std::string input;
    std::string expected; // the text the parsed record builds
};

class ParseThenBuild : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseThenBuild, GivesTheExpectedRecord) {
    EXPECT_EQ(ParsedText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseThenBuild,
    testing::Values(
        ParseCase{"default_lines_read_back", kDefaultSetting, kDefaultSetting},
        ParseCase{"default_device_reads_back", kDefaultDevice, kDefaultDevice},
        ParseCase{"default_zone_reads_back", kDefaultZone, kDefaultZone},
        ParseCase{"default_notify_reads_back", kDefaultNotify, kDefaultNotify},
        ParseCase{"missing_keys_keep_defaults", "device:{adr:240}", With(kDefaultDevice, "adr:238", "adr:240")},
        ParseCase{"empty_braces_are_the_defaults", "setting:{}", kDefaultSetting},
        ParseCase{"nothing_after_the_keyword", "zone:", kDefaultZone},
        ParseCase{"pair_order_does_not_matter", "zone:{nam:Hall, num:7}",
                  With(With(kDefaultZone, "num:0", "num:7"), "nam:,", "nam:Hall,")},
        ParseCase{"mst_yes_reads_the_next_number", "setting:{mst:yes, rsl:false, rss:9600}",
                  With(kDefaultSetting, "rss:19200", "rss:9600")},
        ParseCase{"mst_word_then_zero_reads_false", "setting:{mst:no, rss:0}",
                  With(With(kDefaultSetting, "mst:true", "mst:false"), "rss:19200", "rss:0")},
        ParseCase{"byp_and_pad_without_comma", "device:{byp:true pad:249}",
                  With(kDefaultDevice, "byp:false pad:250", "byp:true pad:249")},
        ParseCase{"byp_and_pad_with_comma", "device:{byp:true, pad:249}",
                  With(kDefaultDevice, "byp:false pad:250", "byp:true pad:249")},
        ParseCase{"adr_300_stored_as_44", "setting:{adr:300}", With(kDefaultSetting, "adr:250", "adr:44")},
        ParseCase{"negative_echo_time", "zone:{el1:-5}", With(kDefaultZone, "el1:10", "el1:-5")},
        ParseCase{"repeated_key_read_at_first", "device:{adr:241, adr:242}",
                  With(kDefaultDevice, "adr:238", "adr:241")},
        ParseCase{"key_found_inside_a_longer_key", "setting:{xadr:7}", With(kDefaultSetting, "adr:250", "adr:7")},
        ParseCase{
            "empty_value_reads_the_next_number", "device:{rss:, drw:true, pas:249}",
            With(With(With(kDefaultDevice, "rss:19200", "rss:249"), "drw:false", "drw:true"), "pas:251", "pas:249")},
        ParseCase{"zone_name_hiding_the_mic_key", "zone:{num:1, nam:mic:5, mic:80}",
                  With(With(With(kDefaultZone, "num:0", "num:1"), "nam:,", "nam:mic:5,"), "mic:100", "mic:5")},
        ParseCase{"name_cut_at_comma", "device:{nam:a,b}", With(kDefaultDevice, "nam:,", "nam:a,")},
        ParseCase{"name_trimmed", "zone:{nam: \t Hall  , num:1}",
                  With(With(kDefaultZone, "num:0", "num:1"), "nam:,", "nam:Hall,")},
        ParseCase{"name_without_comma_or_brace_stays_empty", "setting:{nam:abc", kDefaultSetting},
        ParseCase{"last_name_runs_to_the_brace", "setting:{nam:Проект 1}",
                  With(kDefaultSetting, "nam:}", "nam:Проект 1}")},
        ParseCase{"name_cut_at_a_character_boundary", "zone:{nam:" + std::string(15, 'a') + "ЖЖЖЖЖЖЖЖЖЖ}",
                  With(kDefaultZone, "nam:,", "nam:" + std::string(15, 'a') + "ЖЖЖЖЖЖЖЖ,")},
        ParseCase{"date_without_seconds_reads_src", "notify:{num:3, wav:a.wav, dtm:2024-05-06 12:30, src:true}",
                  With(With(With(With(kDefaultNotify, "num:0", "num:3"), "wav:,", "wav:a.wav,"), "0000-00-00 00:00",
                            "2024-05-06 12:30"),
                       "src:false", "src:true")},
        ParseCase{"anything_after_the_brace", "device:{adr:245} trailing, junk",
                  With(kDefaultDevice, "adr:238", "adr:245")},
        ParseCase{"capital_keyword_rejected", "Setting:{adr:251}", "<rejected>"},
        ParseCase{"leading_blank_rejected", " setting:{adr:251}", "<rejected>"},
        ParseCase{"keyword_without_colon_rejected", "zone{num:1}", "<rejected>"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RecordParse, RejectedTextLeavesTheRecordUntouched) {
    PdSettings s;
    InitSettingRecord(s);
    s.adr = 252;
    EXPECT_FALSE(ParseSettingRecord("device:{adr:240}", s));
    EXPECT_FALSE(ParseSettingRecord("", s));
    EXPECT_FALSE(ParseSettingRecord(nullptr, s));
    EXPECT_EQ(s.adr, 252);
}

TEST(RecordRoundTrip, EveryFieldSurvivesBuildAndParse) {
    PdSettings s;
    InitSettingRecord(s);
    s = PdSettings{251,  false, true,  115200, 1,    2,    3, true,  4,      5,     6,
                   true, 7,     12.5f, false,  true, true, 2, 32767, -32768, false, "Сеть №1"};
    BcUnit d{249, "Корпус, этаж 2", true, 9600, false, false, 13.7f, -1.5f, true, 252, true, 253};
    AlLine z{65535, 247, 16, "Зал", 1.1f, 2.2f, 3.3f, 4.4f, 15.9f, 1, 2, 3, 1, 0, 32767};
    NotifyScenario n{10, true, 65535, "тревога.wav", 255, 7, {2024, 12, 31, 23, 59, 0}, true};

    PdSettings s2;
    ASSERT_TRUE(ParseSettingRecord(Text(s).c_str(), s2));
    EXPECT_EQ(Text(s2), Text(s));
    EXPECT_EQ(s2.el2, -32768);
    EXPECT_STREQ(s2.nam, "Сеть №1");

    BcUnit d2;
    ASSERT_TRUE(ParseDeviceRecord(Text(d).c_str(), d2));
    EXPECT_STREQ(d2.nam, "Корпус"); // a name comes back cut at its comma
    std::strcpy(d.nam, "Корпус");
    EXPECT_EQ(Text(d2), Text(d));

    AlLine z2;
    ASSERT_TRUE(ParseZoneRecord(Text(z).c_str(), z2));
    EXPECT_EQ(Text(z2), Text(z));
    EXPECT_EQ(z2.uvp, 1.1f);

    NotifyScenario n2;
    ASSERT_TRUE(ParseNotifyRecord(Text(n).c_str(), n2));
    EXPECT_EQ(Text(n2), Text(n));
    EXPECT_EQ(n2.dtm.minute, 59);
}

// A voltage read from a device as "13.7" and saved must be saved as "13.7".
TEST(RecordRoundTrip, FloatFieldKeepsItsTextFromMinus1000To1000) {
    AlLine zone;
    InitZoneRecord(zone);
    for (int tenths = -10000; tenths <= 10000; ++tenths) {
        zone.uvp = static_cast<float>(tenths) / 10.0f;
        zone.usp = zone.uvp + 0.04f; // a value between tenths: cut, not rounded
        std::string first = Text(zone);
        AlLine back;
        ASSERT_TRUE(ParseZoneRecord(first.c_str(), back));
        ASSERT_EQ(Text(back), first) << tenths;
    }
}

TEST(RecordBuild, NeverWritesPastSize) {
    BcUnit unit;
    InitDeviceRecord(unit);
    std::strcpy(unit.nam, "Корпус");
    const std::string full = Text(unit);
    for (uint16_t size : {0, 1, 2, 17, 50, static_cast<int>(full.size()), static_cast<int>(full.size()) + 1}) {
        SCOPED_TRACE(size);
        char buf[300];
        std::memset(buf, '#', sizeof buf);
        int n = BuildDeviceRecord(unit, buf, size);
        size_t expected = size == 0 ? 0 : std::min<size_t>(full.size(), size - 1u);
        EXPECT_EQ(static_cast<size_t>(n), expected);
        if (size > 0) {
            EXPECT_EQ(std::string(buf, n), full.substr(0, expected));
            EXPECT_EQ(buf[n], '\0');
        }
        EXPECT_EQ(buf[size], '#');
    }
}

TEST(RecordBuild, NameWithoutTerminatorStaysInsideItsField) {
    AlLine zone;
    InitZoneRecord(zone);
    std::memset(zone.nam, 'x', sizeof zone.nam); // no NUL at all
    std::string text = Text(zone);
    EXPECT_NE(text.find("nam:" + std::string(sizeof zone.nam, 'x') + ", uvp:"), std::string::npos);
}
