#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "text_utils.h"

struct FloatTextCase {
    const char *name;
    float value;
    int decimals;
    const char *expected;
};

class FloatToTextTest : public testing::TestWithParam<FloatTextCase> {};

TEST_P(FloatToTextTest, Writes) {
    const auto &c = GetParam();
    EXPECT_STREQ(FloatToText(c.value, c.decimals), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FloatToTextTest,
    testing::Values(FloatTextCase{"digits_cut_not_rounded", 12.99f, 1, "12.9"},
                    FloatTextCase{"negative_cut", -1.25f, 1, "-1.2"}, FloatTextCase{"whole_number", 5.0f, 1, "5.0"},
                    FloatTextCase{"zero", 0.0f, 1, "0.0"}, FloatTextCase{"value_read_from_13_7", 13.7f, 1, "13.7"},
                    FloatTextCase{"negative_zero", -0.0f, 1, "0.0"},
                    FloatTextCase{"tiny_negative_is_plain_zero", -0.04f, 1, "0.0"},
                    FloatTextCase{"more_decimals_padded", 2.5f, 3, "2.500"}, FloatTextCase{"no_decimals", 7.9f, 0, "7"},
                    FloatTextCase{"large", 1e10f, 1, "10000000000.0"},
                    FloatTextCase{"largest_float_fits_the_ring", -std::numeric_limits<float>::max(), 9,
                                  "-340282346638528859811704183484516925440.000000000"},
                    FloatTextCase{"nan", std::numeric_limits<float>::quiet_NaN(), 1, "nan"},
                    FloatTextCase{"infinity", -std::numeric_limits<float>::infinity(), 1, "-inf"}),
    [](const auto &info) { return std::string(info.param.name); });

// A float field written, read back and written again keeps its text, for every voltage
// a device can report: a value read from "13.7" must not come back as "13.6".
TEST(FloatToText, OneDecimalRoundTripFromMinus1000To1000) {
    float accumulated = -1000.0f; // also the slightly-off values that repeated adding gives
    for (int tenths = -10000; tenths <= 10000; ++tenths, accumulated += 0.1f) {
        for (float value : {static_cast<float>(tenths) / 10.0f, accumulated}) {
            std::string first = FloatToText(value);
            std::string second = FloatToText(TextToFloat(first.c_str()));
            ASSERT_EQ(first, second) << "value " << value;
        }
        std::string exact = FloatToText(static_cast<float>(tenths) / 10.0f);
        ASSERT_EQ(TextToFloat(exact.c_str()), static_cast<float>(tenths) / 10.0f);
    }
}

TEST(IntToText, SmallestIntComesBack) {
    EXPECT_STREQ(IntToText(INT32_MIN), "-2147483648");
    EXPECT_EQ(TextToInt(IntToText(INT32_MIN)), INT32_MIN);
    EXPECT_STREQ(IntToText(0), "0");
    EXPECT_STREQ(UInt64ToText(UINT64_MAX), "18446744073709551615");
    EXPECT_STREQ(UInt64ToText(0), "0");
    EXPECT_STREQ(BoolToText(true), "true");
    EXPECT_STREQ(BoolToText(false), "false");
}

TEST(ConversionRing, EleventhResultOverwritesTheFirst) {
    const char *first = IntToText(1);
    const char *results[9];
    for (int i = 0; i < 9; ++i)
        results[i] = IntToText(i + 2);
    EXPECT_STREQ(first, "1"); // ten results live at once
    for (int i = 0; i < 9; ++i)
        EXPECT_STREQ(results[i], std::to_string(i + 2).c_str());
    const char *eleventh = FloatToText(3.5f);
    EXPECT_EQ(eleventh, first);
    EXPECT_STREQ(first, "3.5");
}
