#include <gtest/gtest.h>

#include <string>

#include "date_time.h"

struct DateCase {
    const char *name;
    const char *text;
    PackedDateTime expected;
};

class TextToDateTimeTest : public testing::TestWithParam<DateCase> {};

TEST_P(TextToDateTimeTest, Reads) {
    const auto &c = GetParam();
    PackedDateTime dt = TextToDateTime(c.text);
    EXPECT_EQ(dt.year, c.expected.year);
    EXPECT_EQ(dt.month, c.expected.month);
    EXPECT_EQ(dt.day, c.expected.day);
    EXPECT_EQ(dt.hour, c.expected.hour);
    EXPECT_EQ(dt.minute, c.expected.minute);
    EXPECT_EQ(dt.second, c.expected.second);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToDateTimeTest,
    testing::Values(DateCase{"date_and_time", "2024-05-06 12:30", {2024, 5, 6, 12, 30, 0}},
                    DateCase{"date_only", "2024-05-06", {2024, 5, 6, 0, 0, 0}},
                    DateCase{"empty", "", {0, 0, 0, 0, 0, 0}},
                    DateCase{"with_seconds", "2024-05-06 12:30:45", {2024, 5, 6, 12, 30, 45}},
                    // Inside a notify record the seconds search meets the colon of "src:".
                    DateCase{"record_tail", "2024-05-06 12:30, src:false}", {2024, 5, 6, 12, 30, 0}},
                    DateCase{"out_of_range_keeps_low_bits", "2024-300-06", {2024, 44, 6, 0, 0, 0}},
                    DateCase{"missing_separator_ends_parse", "2024-05 06 12:30", {2024, 5, 0, 0, 0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DateTimeToText, Formats) {
    EXPECT_STREQ(DateTimeToText(PackedDateTime{}), "0000-00-00 00:00");
    EXPECT_STREQ(DateTimeToText(PackedDateTime{2024, 5, 6, 12, 30, 59}), "2024-05-06 12:30");
    EXPECT_STREQ(DateTimeToText(PackedDateTime{65535, 255, 255, 255, 255, 255}), "65535-255-255 255:255");
    EXPECT_EQ(TextToDateTime(nullptr).year, 0);
}
