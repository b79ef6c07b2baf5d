// Lines from files and devices can be anything: no text may crash a parser, make it read
// past the NUL, or leave a name field without its terminator.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "record_strings.h"

namespace {
// Runs every parser on the text and checks every name field stays inside its array.
void ParseWithEveryParser(const std::string &text) {
    PdSettings s;
    BcUnit d;
    AlLine z;
    NotifyScenario n;
    if (ParseSettingRecord(text.c_str(), s)) {
        ASSERT_LT(strnlen(s.nam, sizeof s.nam), sizeof s.nam);
    }
    if (ParseDeviceRecord(text.c_str(), d)) {
        ASSERT_LT(strnlen(d.nam, sizeof d.nam), sizeof d.nam);
    }
    if (ParseZoneRecord(text.c_str(), z)) {
        ASSERT_LT(strnlen(z.nam, sizeof z.nam), sizeof z.nam);
    }
    if (ParseNotifyRecord(text.c_str(), n)) {
        ASSERT_LT(strnlen(n.wav, sizeof n.wav), sizeof n.wav);
    }
}

const char *const kKeywords[] = {"setting:", "device:", "zone:", "notify:"};
const char *const kKeys[] = {"adr:", "mst:", "rsl:", "rss:", "spk:", "mic:", "sps:", "aru:", "arl:", "ton:", "tof:",
                             "spd:", "spl:", "ubs:", "drw:", "usb:", "mlk:", "etp:", "el1:", "el2:", "ers:", "nam:",
                             "ene:", "enw:", "ube:", "ubw:", "byp:", "pad:", "pas:", "num:", "prt:", "uvp:", "ukn:",
                             "tuv:", "tuk:", "usp:", "nte:", "zon:", "wav:", "per:", "cnt:", "dtm:", "src:"};
} // namespace

TEST(RecordRobustness, BinaryJunkBehindEachKeyword) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 600);
    std::uniform_int_distribution<int> key(0, std::size(kKeys) - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string text = kKeywords[round % 4];
        int n = length(rng);
        for (int i = 0; i < n; ++i) {
            // Mostly keys and separators, so the value readers get exercised, with junk between.
            int r = byte(rng);
            if (r < 40)
                text += kKeys[key(rng)];
            else if (r < 60)
                text += ",}- .:"[r % 6];
            else
                text += static_cast<char>(r);
        }
        ParseWithEveryParser(text);
    }
}

TEST(RecordRobustness, MegabyteLines) {
    const std::string mega(1 << 20, 'x');
    const std::string digits(1 << 20, '9');
    for (const char *keyword : kKeywords) {
        SCOPED_TRACE(keyword);
        ParseWithEveryParser(std::string(keyword) + "{nam:" + mega + "}");
        ParseWithEveryParser(std::string(keyword) + "{wav:" + mega + ", num:1}");
        ParseWithEveryParser(std::string(keyword) + "{adr:" + digits + ", ubs:" + digits + "." + digits + "}");
        ParseWithEveryParser(std::string(keyword) + "{dtm:" + digits + "-" + digits + "}");
        ParseWithEveryParser(std::string(keyword) + mega);
    }
}

TEST(RecordRobustness, TextEndsAtTheNul) {
    // Behind the NUL stands a value the parser must never see.
    std::string text = std::string("device:{adr:241, nam:ab") + '\0' + "cd, pas:7}";
    BcUnit unit;
    ASSERT_TRUE(ParseDeviceRecord(text.c_str(), unit));
    EXPECT_EQ(unit.adr, 241);
    EXPECT_STREQ(unit.nam, ""); // no comma or brace before the NUL
    EXPECT_EQ(unit.pas, 251);
}

TEST(RecordRobustness, EveryKeyRepeatedOrMissingValues) {
    for (const char *keyword : kKeywords) {
        std::string repeated = std::string(keyword) + "{";
        std::string empty = repeated;
        for (int copy = 0; copy < 3; ++copy)
            for (const char *k : kKeys)
                repeated += std::string(k) + std::to_string(copy) + ", ";
        for (const char *k : kKeys)
            empty += std::string(k); // every key, no values at all
        repeated += "}";
        ParseWithEveryParser(repeated);
        ParseWithEveryParser(empty);
    }
    // Repeated keys read their first occurrence.
    AlLine zone;
    ASSERT_TRUE(ParseZoneRecord("zone:{num:5, num:6, nam:a, nam:b, uvp:1.5, uvp:2.5}", zone));
    EXPECT_EQ(zone.num, 5);
    EXPECT_STREQ(zone.nam, "a");
    EXPECT_EQ(zone.uvp, 1.5f);
}
