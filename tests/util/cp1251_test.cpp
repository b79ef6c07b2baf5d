#include <gtest/gtest.h>

#include <string>

#include "cp1251.h"

TEST(Cp1251, EveryByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

struct Cp1251Case {
    const char *name;
    std::string cp1251;
    std::string utf8;
};

class Cp1251Table : public testing::TestWithParam<Cp1251Case> {};

TEST_P(Cp1251Table, MapsBothWays) {
    const auto &c = GetParam();
    EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    std::string out;
    ASSERT_TRUE(Utf8ToCp1251(c.utf8, out));
    EXPECT_EQ(out, c.cp1251);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Cp1251Table,
    testing::Values(Cp1251Case{"ascii", "pd.cfg", "pd.cfg"},
                    Cp1251Case{"russian_letters", "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"},
                    Cp1251Case{"capital_a_and_small_ya", "\xC0\xFF", "Ая"}, Cp1251Case{"yo", "\xA8\xB8", "Ёё"},
                    Cp1251Case{"numero_sign", "\xB9", "№"}, Cp1251Case{"euro_and_dashes", "\x88\x96\x97", "€–—"},
                    Cp1251Case{"ukrainian_letters", "\xB2\xB3\xAA\xBA\xAF\xBF\xA5\xB4", "ІіЄєЇїҐґ"},
                    Cp1251Case{"serbian_letters", "\x80\x8A\x9A", "ЂЉљ"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Cp1251, RefusesWhatItCannotHold) {
    std::string out = "unchanged";
    for (std::string text : {std::string("日本"), std::string("ü"), std::string("a😀"),
                             std::string("\xC3"),            // cut sequence
                             std::string("\xC0\x80"),        // overlong NUL
                             std::string("\xED\xA0\x80")}) { // surrogate
        SCOPED_TRACE(text);
        EXPECT_FALSE(Utf8ToCp1251(text, out));
        EXPECT_EQ(out, "unchanged");
    }
}
