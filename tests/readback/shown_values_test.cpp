#include "shown_values.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace readback;

TEST(ShownValues, CodedValuesUseTheWordsOfTheParameterPages)
{
    struct Row {
        const char *what;
        QString shown;
        const char *expected;
    } const rows[] = {
        {"master", PdStatusShown(true), "Ведущий"},
        {"slave", PdStatusShown(false), "Ведомый"},
        {"west", DirectionShown(true), "WEST"},
        {"east", DirectionShown(false), "EAST"},
        {"latched microphone", MicSwitchShown(true), "С фиксацией"},
        {"momentary microphone", MicSwitchShown(false), "Без фиксации"},
        {"usb as com port", UsbModeShown(true), "COM порт"},
        {"usb as flash disk", UsbModeShown(false), "USB Flash"},
        {"echo type 1", EchoTypeShown(1), "Динамик"},
        {"echo type 2", EchoTypeShown(2), "Микрофон"},
        {"echo type 0", EchoTypeShown(0), "Выключено"},
        {"unknown echo type 3 reads as off", EchoTypeShown(3), "Выключено"},
        {"unknown echo type 255 reads as off", EchoTypeShown(255), "Выключено"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.shown, QString::fromUtf8(row.expected));
    }
}

TEST(ShownValues, NumbersAreDecimalAndVoltagesCutToOneDecimal)
{
    EXPECT_EQ(IntShown(115200), "115200");
    EXPECT_EQ(IntShown(-3), "-3");
    EXPECT_EQ(VoltageShown(12.99f), "12.9");  // cut, not rounded up to 13.0
    EXPECT_EQ(VoltageShown(13.7f), "13.7");   // the digit the device sent, not 13.6
    EXPECT_EQ(VoltageShown(5.0f), "5.0");
    EXPECT_EQ(VoltageShown(0.0f), "0.0");
}

TEST(ShownValues, NamesAreDecodedFromUtf8WithinTheirField)
{
    char field[16] = {};
    std::strcpy(field, "Зона 1");
    EXPECT_EQ(NameShown(field, sizeof field), QString::fromUtf8("Зона 1"));

    // A field filled to the last byte has no terminator; the shown name stops at its end.
    char full[4] = {'A', 'B', 'C', 'D'};
    EXPECT_EQ(NameShown(full, sizeof full), "ABCD");

    EXPECT_EQ(NameShown(nullptr, 8), "");
}

TEST(ShownValues, DateTimeLeavesOutSeconds)
{
    PackedDateTime dt;
    dt.year = 2024;
    dt.month = 3;
    dt.day = 7;
    dt.hour = 9;
    dt.minute = 5;
    dt.second = 33;
    EXPECT_EQ(DateTimeShown(dt), "2024-03-07 09:05");
    EXPECT_EQ(DateTimeShown(PackedDateTime{}), "0000-00-00 00:00");
}
