// Lenient readers, range limits and choices, without any window.
#include <gtest/gtest.h>

#include <cstring>

#include "value_rules.h"

namespace {
struct IntCase {
    const char *name, *text;
    int min, max, expected;
};
const IntCase kIntCases[] = {
    {"letters read as 0 then raised to the minimum", "abc", 250, 254, 250},
    {"above the range gives the maximum", "300", 250, 254, 254},
    {"negative gives the minimum", "-5", 0, 1024, 0},
    {"negative below a positive range", "-5", 250, 254, 250},
    {"inside the range unchanged", "252", 250, 254, 252},
    {"first run of digits counts", "x12y34", 0, 100, 12},
    {"empty text reads as 0", "", 0, 1024, 0},
    {"rs speed above the table", "200000", 300, 115200, 115200},
    {"rs speed below the table", "100", 300, 115200, 300},
    {"typing 2 of 252 is raised", "2", 250, 254, 250},
    {"typing 25 of 252 is raised", "25", 250, 254, 250},
};

class ClampIntTextTest : public ::testing::TestWithParam<IntCase> {};
TEST_P(ClampIntTextTest, LimitsToRange) {
    const IntCase &c = GetParam();
    EXPECT_EQ(ClampIntText(c.text, c.min, c.max), c.expected);
}
INSTANTIATE_TEST_SUITE_P(Rows, ClampIntTextTest, ::testing::ValuesIn(kIntCases),
                         [](const auto &info) {
                             std::string n = info.param.name;
                             for (char &ch : n)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return n;
                         });

TEST(ClampFloatText, ReadsLeadingNumberAndLimits) {
    struct {
        const char *text;
        float expected;
    } rows[] = {
        {"12.34", 12.34f}, // inside: kept
        {"17", 16.0f},     // above the maximum
        {"20", 16.0f},
        {"", 0.0f},        // nothing read
        {"x", 0.0f},
        {"1,5", 1.5f},     // a decimal comma as typed on a Russian keyboard
        {"1.5", 1.5f},
        {"-3", 0.0f},      // below the minimum
    };
    for (const auto &r : rows)
        EXPECT_FLOAT_EQ(ClampFloatText(r.text, 16.0f, 0.0f), r.expected) << r.text;
}

TEST(BaudIndexFromSpeed, TableAndDefault) {
    const int rates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(BaudIndexFromSpeed(rates[i], 8), i) << rates[i];
    EXPECT_EQ(BaudIndexFromSpeed(12345, 8), 8);
    EXPECT_EQ(BaudIndexFromSpeed(0, 3), 3);
}

TEST(Choice, ComparedLetterForLetter) {
    EXPECT_TRUE(ChoiceIs("Ведущий", "Ведущий"));
    EXPECT_FALSE(ChoiceIs("ведущий", "Ведущий"));
    EXPECT_FALSE(ChoiceIs("Ведущий ", "Ведущий"));
    EXPECT_FALSE(ChoiceIs("west", "WEST"));
}

TEST(EchoType, TextToNumberAndBack) {
    EXPECT_EQ(EchoTypeFromText("Динамик"), 1);
    EXPECT_EQ(EchoTypeFromText("Микрофон"), 2);
    EXPECT_EQ(EchoTypeFromText("Выключено"), 0);
    EXPECT_EQ(EchoTypeFromText("микрофон"), 0);
    EXPECT_EQ(EchoTypeFromText("что-то"), 0);
    EXPECT_STREQ(EchoTypeText(1), "Динамик");
    EXPECT_STREQ(EchoTypeText(2), "Микрофон");
    EXPECT_STREQ(EchoTypeText(0), "Выключено");
    EXPECT_STREQ(EchoTypeText(7), "Выключено");
}

TEST(StoreName, CutsAtCharacterBoundaryAndReportsChange) {
    char field[33] = "old";
    // 20 Cyrillic letters = 40 bytes; 32 bytes hold 16 letters whole.
    std::string cyr;
    for (int i = 0; i < 20; ++i)
        cyr += "Ж";
    EXPECT_TRUE(StoreName(field, sizeof field, cyr));
    EXPECT_EQ(std::strlen(field), 32u);
    EXPECT_EQ(std::string(field), cyr.substr(0, 32));
    EXPECT_FALSE(StoreName(field, sizeof field, cyr)) << "same bytes again is no change";

    // An odd capacity must not leave half a letter: 63 bytes hold 31 letters (62 bytes).
    char bc[64] = "";
    std::string longName;
    for (int i = 0; i < 40; ++i)
        longName += "Я";
    EXPECT_TRUE(StoreName(bc, sizeof bc, longName));
    EXPECT_EQ(std::strlen(bc), 62u);
    EXPECT_TRUE(StoreName(bc, sizeof bc, "x"));
    EXPECT_STREQ(bc, "x");
}
} // namespace
