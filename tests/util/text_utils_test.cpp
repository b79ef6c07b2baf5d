#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text_utils.h"

TEST(CopyBytes, CutsLongInputAndAlwaysTerminates) {
    std::string src(70, 'x');
    char field[64];
    std::memset(field, '#', sizeof field);
    CopyText(field, sizeof field, src.c_str());
    EXPECT_EQ(std::string(field), std::string(63, 'x'));
}

TEST(CopyBytes, ZeroCountEmptiesAndNoneSourceKeepsOldContent) {
    char field[8] = "old";
    CopyBytes(field, sizeof field, "abc", 0);
    EXPECT_STREQ(field, "");

    std::strcpy(field, "old");
    CopyText(field, sizeof field, nullptr);
    EXPECT_STREQ(field, "old");
    CopyBytes(field, 0, "abc", 3); // no room at all: nothing written
    EXPECT_STREQ(field, "old");
}

TEST(CopyBytes, NeverWritesPastTheField) {
    char block[8];
    std::memset(block, '#', sizeof block);
    CopyBytes(block, 4, "abcdef", 6);
    EXPECT_STREQ(block, "abc");
    EXPECT_EQ(block[4], '#');
}

struct FindCase {
    const char *name;
    std::string range;
    const char *key;
    int expectedOffset; // -1: none
};

class FindAfterTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindAfterTest, PointsBehindTheFirstOccurrence) {
    const auto &c = GetParam();
    const char *p = FindAfter(c.range.data(), c.range.size(), c.key);
    if (c.expectedOffset < 0)
        EXPECT_EQ(p, nullptr);
    else
        EXPECT_EQ(p, c.range.data() + c.expectedOffset);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindAfterTest,
                         testing::Values(FindCase{"key_found", "x adr:5, ", "adr:", 6},
                                         FindCase{"key_missing", "nam:abc", "adr:", -1},
                                         FindCase{"first_of_two", "adr:1 adr:2", "adr:", 4},
                                         FindCase{"inside_a_longer_key", "xadr:9", "adr:", 5},
                                         FindCase{"key_at_the_very_end", "abc adr:", "adr:", 8},
                                         FindCase{"pattern_longer_than_range", "adr", "adr:", -1},
                                         FindCase{"empty_range", "", "adr:", -1},
                                         FindCase{"empty_key", "adr:5", "", -1},
                                         // The range ends before the NUL; a key across the end is not seen.
                                         FindCase{"key_crossing_range_end", std::string("ad\0r:", 5), "adr:", -1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FindText, NeverReadsPastTheRange) {
    // Only the first four bytes belong to the range; the key follows right behind.
    const char text[] = "abcdadr:";
    EXPECT_EQ(FindText(text, 4, "adr:"), nullptr);
    EXPECT_EQ(FindText(text, 8, "adr:"), text + 4);
    EXPECT_EQ(FindText(nullptr, 8, "a"), nullptr);
    EXPECT_EQ(FindText(text, 8, nullptr), nullptr);
}

TEST(StartsWith, Cases) {
    EXPECT_TRUE(StartsWith("OK_FORMAT x", 11, "OK_FORMAT"));
    EXPECT_FALSE(StartsWith("OK_FOR", 6, "OK_FORMAT")); // shorter than the prefix
    EXPECT_FALSE(StartsWith("OK_FORMAT", 9, ""));
    EXPECT_FALSE(StartsWith("OK_FORMAT", 0, "OK"));
    EXPECT_FALSE(StartsWith("ok_format", 9, "OK_FORMAT")); // case-sensitive
    EXPECT_FALSE(StartsWith(nullptr, 9, "OK"));
}

TEST(TrimText, ShortensInPlaceAndKeepsLeadingBytes) {
    char text[] = "  ab  ";
    char *first = TrimText(text);
    ASSERT_EQ(first, text + 2);
    EXPECT_STREQ(first, "ab");
    EXPECT_EQ(text[0], ' ');
    EXPECT_EQ(text[4], '\0');
}

TEST(TrimText, OnlyBlanksGiveNone) {
    char blanks[] = " \t\r\n\x01 ";
    EXPECT_EQ(TrimText(blanks), nullptr);
    char empty[] = "";
    EXPECT_EQ(TrimText(empty), nullptr);
    EXPECT_EQ(TrimText(nullptr), nullptr);
}

TEST(TrimText, HighBytesAreNotBlanks) {
    char text[] = "\xC0 \xFF";
    EXPECT_STREQ(TrimText(text), "\xC0 \xFF");
}
