#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text_utils.h"

struct CutCase {
    const char *name;
    std::string text;
    size_t maxBytes;
    size_t expected;
};

class Utf8CutTest : public testing::TestWithParam<CutCase> {};

TEST_P(Utf8CutTest, CutsAtACharacterBoundary) {
    const auto &c = GetParam();
    EXPECT_EQ(Utf8CutLength(c.text.data(), c.text.size(), c.maxBytes), c.expected);
}

// "Ж" is two bytes, "€" three, "😀" four.
INSTANTIATE_TEST_SUITE_P(Cases, Utf8CutTest,
                         testing::Values(CutCase{"fits_whole", "abc", 5, 3}, CutCase{"ascii_cut", "abcdef", 4, 4},
                                         CutCase{"cut_between_characters", "ЖЖЖ", 4, 4},
                                         CutCase{"cut_inside_two_byte_character", "ЖЖЖ", 5, 4},
                                         CutCase{"cut_inside_three_byte_character", "a€", 3, 1},
                                         CutCase{"cut_inside_four_byte_character", "a😀", 4, 1},
                                         CutCase{"room_for_nothing", "Ж", 1, 0},
                                         CutCase{"stray_continuation_bytes_cut_plainly", "\x80\x80\x80\x80\x80", 3, 3},
                                         CutCase{"lone_lead_byte_then_ascii", "a\xC3z", 2, 2}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CopyTextUtf8, DropsTheWholeCharacterAtTheEnd) {
    // 31 ASCII bytes and a two-byte letter: a 33-byte field (32 + NUL) would split it.
    std::string name = std::string(31, 'a') + "ЖЖ";
    char field[33];
    CopyTextUtf8(field, sizeof field, name.c_str());
    EXPECT_EQ(std::string(field), std::string(31, 'a'));

    char bigger[64];
    CopyTextUtf8(bigger, sizeof bigger, name.c_str());
    EXPECT_EQ(std::string(bigger), name);
}
