#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "text_utils.h"

struct IntCase {
    const char *name;
    const char *text;
    int32_t expected;
};

class TextToIntTest : public testing::TestWithParam<IntCase> {};

TEST_P(TextToIntTest, Reads) {
    EXPECT_EQ(TextToInt(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToIntTest,
                         testing::Values(IntCase{"negative", "-12", -12}, IntCase{"digits_inside_junk", "x7y", 7},
                                         IntCase{"no_digits", "abc", 0}, IntCase{"empty", "", 0},
                                         IntCase{"empty_value_reads_next_field", ", num:2}", 2},
                                         IntCase{"smallest_int32", "-2147483648", INT32_MIN},
                                         IntCase{"keeps_low_32_bits", "4294967297", 1},
                                         IntCase{"minus_then_junk_then_digits", "-ab5", -5},
                                         IntCase{"minus_without_digits", "-", 0},
                                         IntCase{"stops_at_first_non_digit", "12,34", 12}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TextToInt, NoneReadsZero) {
    EXPECT_EQ(TextToInt(nullptr), 0);
    EXPECT_EQ(TextToUInt64(nullptr), 0u);
    EXPECT_EQ(TextToFloat(nullptr), 0.0f);
    EXPECT_FALSE(TextToBool(nullptr));
}

TEST(TextToUInt64, LargestValueAndWrap) {
    EXPECT_EQ(TextToUInt64("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(TextToUInt64("18446744073709551616"), 0u);
    EXPECT_EQ(TextToUInt64("crc:511}"), 511u);
    EXPECT_EQ(TextToUInt64("-5"), 5u); // only digits count here
}

struct FloatCase {
    const char *name;
    const char *text;
    float expected;
};

class TextToFloatTest : public testing::TestWithParam<FloatCase> {};

TEST_P(TextToFloatTest, Reads) {
    EXPECT_FLOAT_EQ(TextToFloat(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToFloatTest,
    testing::Values(FloatCase{"plain", "12.5", 12.5f}, FloatCase{"negative_fraction", "-0.25", -0.25f},
                    FloatCase{"leading_point", ".5", 0.5f}, FloatCase{"second_point_stops", "1.2.3", 1.2f},
                    FloatCase{"unit_behind", "5V", 5.0f}, FloatCase{"leading_blanks_and_tab", "  \t7", 7.0f},
                    FloatCase{"sign_after_digit_drops_minus", "-5-", 5.0f},
                    FloatCase{"second_sign_stops_and_drops_minus", "--5", 0.0f}, FloatCase{"plus_sign", "+3.5", 3.5f},
                    FloatCase{"blank_after_digit_stops", "1 2", 1.0f}, FloatCase{"no_digits", "abc", 0.0f},
                    FloatCase{"comma_stops", "12,5", 12.0f},
                    FloatCase{"many_leading_zeros", "0000000000000000000000000012.5", 12.5f},
                    FloatCase{"many_fraction_digits", "1.00000000000000000000000000001", 1.0f}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TextToFloat, ReadsTheNearestFloat) {
    // The value read from "13.7" is the float nearest to 13.7, so it prints back as 13.7.
    EXPECT_EQ(TextToFloat("13.7"), 13.7f);
    EXPECT_EQ(TextToFloat("0.1"), 0.1f);
    EXPECT_EQ(TextToFloat("-999.9"), -999.9f);
}

TEST(TextToFloat, HugeAndTinyTextsDoNotFail) {
    std::string huge(60, '9');
    EXPECT_TRUE(std::isinf(TextToFloat(huge.c_str())));
    std::string tiny = "0." + std::string(100, '0') + "1";
    EXPECT_EQ(TextToFloat(tiny.c_str()), 0.0f);
    std::string longMantissa = "1" + std::string(30, '0'); // 1e30 fits a float
    EXPECT_FLOAT_EQ(TextToFloat(longMantissa.c_str()), 1e30f);
}

struct BoolCase {
    const char *name;
    const char *text;
    bool expected;
};

class TextToBoolTest : public testing::TestWithParam<BoolCase> {};

TEST_P(TextToBoolTest, Reads) {
    EXPECT_EQ(TextToBool(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToBoolTest,
                         testing::Values(BoolCase{"true_word", "true", true}, BoolCase{"one", "1", true},
                                         BoolCase{"false_word", "false", false}, BoolCase{"zero", "0", false},
                                         BoolCase{"capitalised_is_not_a_word", "True", false},
                                         BoolCase{"word_then_more", "true, x:0", true},
                                         BoolCase{"other_word_reads_next_number", "yes, rss:9600", true}),
                         [](const auto &info) { return std::string(info.param.name); });
