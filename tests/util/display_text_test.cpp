#include <gtest/gtest.h>

#include <string>

#include "display_text.h"

struct FloatDefCase {
    const char *name;
    std::string text;
    double expected;
};

class TextToFloatDefTest : public testing::TestWithParam<FloatDefCase> {};

TEST_P(TextToFloatDefTest, Reads) {
    EXPECT_DOUBLE_EQ(TextToFloatDef(GetParam().text, -1.0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextToFloatDefTest,
                         testing::Values(FloatDefCase{"point_with_blanks", "  12.5 ", 12.5},
                                         FloatDefCase{"comma", "12,5", 12.5},
                                         FloatDefCase{"no_data_text", "Нет данных", -1.0},
                                         FloatDefCase{"no_data_text_with_blanks", "\tНет данных \r\n", -1.0},
                                         FloatDefCase{"empty", "", -1.0}, FloatDefCase{"only_blanks", "   ", -1.0},
                                         FloatDefCase{"negative", "-3.25", -3.25}, FloatDefCase{"integer", "7", 7.0},
                                         FloatDefCase{"exponent", "1,5e2", 150.0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TextToFloatDef, NotANumberThrowsWithTheText) {
    for (const char *text : {"12.5V", "abc", "1.2.3", ",", "-", "1e"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(TextToFloatDef(text, 0), NumberConversionError);
    }
    try {
        TextToFloatDef(" 1.2.3 ", 0);
        FAIL();
    } catch (const NumberConversionError &e) {
        EXPECT_STREQ(e.what(), "'1,2,3' is not a valid floating point value");
    }
}

TEST(BytesToDisplayText, LineFeedsAndControlBytes) {
    const uint8_t bytes[] = {'A', 0x0A, 'B', 0x09, 'C', 0xC0, 0x00};
    EXPECT_EQ(BytesToDisplayText(bytes, 5), "A\r\nB C");
    EXPECT_EQ(BytesToDisplayText(bytes, 7), "A\r\nB C\xC0 ");
    EXPECT_EQ(BytesToDisplayText(bytes, 0), "");
    EXPECT_EQ(BytesToDisplayText(bytes, -3), "");
    EXPECT_EQ(BytesToDisplayText(nullptr, 3), "");
}
