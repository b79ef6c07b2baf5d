#include "com_setting_logic.h"

#include "baud_index.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

// Failure messages name the steps instead of dumping their bytes.
void PrintTo(const ComSettingStep &s, std::ostream *os)
{
    static const char *const names[] = {"SetComNumber", "SetBaudRate", "SetAddr", "SetPortOpen", "RefreshTree"};
    *os << names[static_cast<int>(s.kind)] << "(" << s.value << ")";
}

namespace {

using K = ComSettingStepKind;

TEST(BaudIndexFromSpeed, MapsTheComponentsRateTable)
{
    struct Row {
        int bitsPerSecond;
        int index;
    } const rows[] = {
        {110, 0},   {300, 1},    {9600, 6},    {14400, 7},   {19200, 8},     {56000, 10},
        {115200, 12}, {256000, 14}, {12345, 8}, {0, 8},      {-9600, 8},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.bitsPerSecond);
        EXPECT_EQ(BaudIndexFromSpeed(row.bitsPerSecond, kComSpeedDefaultIndex), row.index);
    }
    EXPECT_EQ(BaudIndexFromSpeed(12345, 3), 3) << "an unknown rate gives the caller's default";
}

TEST(ComSettingFill, PortBoxIsEmptyWithoutAConfiguredPort)
{
    struct Row {
        const char *what;
        int comNumber;
        const char *port;
    } const rows[] = {
        {"never configured", -1, ""},
        {"number 0 is no port", 0, ""},
        {"first port", 1, "COM1"},
        {"port not among the links", 9, "COM9"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const ComSettingTexts t = ComSettingFillTexts(row.comNumber, 19200, 254, {1, 7, 12});
        EXPECT_EQ(t.port, row.port);
        EXPECT_EQ(t.portItems, QStringList({"COM1", "COM7", "COM12"}));
    }
}

TEST(ComSettingFill, SpeedAndAddressAreDecimal)
{
    const ComSettingTexts t = ComSettingFillTexts(3, 115200, 300, {});
    EXPECT_EQ(t.speed, "115200");
    EXPECT_EQ(t.addr, "300");
    EXPECT_TRUE(t.portItems.isEmpty());
}

struct ApplyCase {
    const char *what;
    const char *port;
    const char *speed;
    const char *addr;
    std::vector<ComSettingStep> steps;
    const char *error;  // "" when every text converted
};

const ComSettingStep kReopen[] = {{K::SetPortOpen, 0}, {K::RefreshTree, 0}};

std::vector<ComSettingStep> ThenReopen(std::vector<ComSettingStep> steps)
{
    steps.insert(steps.end(), std::begin(kReopen), std::end(kReopen));
    return steps;
}

class ComSettingApply : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ComSettingApply, StepsRunInOrderUpToTheFirstBadText)
{
    const ApplyCase &c = GetParam();
    const ComSettingPlan plan = ComSettingApplyPlan({{}, c.port, c.speed, c.addr});
    EXPECT_EQ(plan.steps, c.steps);
    EXPECT_EQ(plan.error, QString::fromUtf8(c.error));
    EXPECT_EQ(plan.ok(), *c.error == '\0');
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ComSettingApply,
    ::testing::Values(
        ApplyCase{"all three taken", "COM7", "9600", "250",
                  ThenReopen({{K::SetComNumber, 7}, {K::SetBaudRate, 6}, {K::SetAddr, 250}}), ""},
        ApplyCase{"blanks around each text are ignored", "  COM12 ", " 57600 ", " 251\t",
                  ThenReopen({{K::SetComNumber, 12}, {K::SetBaudRate, 11}, {K::SetAddr, 251}}), ""},
        ApplyCase{"a list item with what the port is", "COM3 (usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0)", "", "",
                  ThenReopen({{K::SetComNumber, 3}}), ""},
        ApplyCase{"a typed text after the number is still refused", "COM3abc", "", "", {},
                  "Номер COM порта «3abc» — не целое число"},
        ApplyCase{"a blank between COM and its number is allowed", "COM 7", "", "",
                  ThenReopen({{K::SetComNumber, 7}}), ""},
        ApplyCase{"a typed rate outside the table becomes 19200", "COM1", "12345", "254",
                  ThenReopen({{K::SetComNumber, 1}, {K::SetBaudRate, 8}, {K::SetAddr, 254}}), ""},
        ApplyCase{"an address is kept as typed, without a range test", "COM1", "19200", "300",
                  ThenReopen({{K::SetComNumber, 1}, {K::SetBaudRate, 8}, {K::SetAddr, 300}}), ""},
        ApplyCase{"an empty port box keeps the port number", "", "19200", "254",
                  ThenReopen({{K::SetBaudRate, 8}, {K::SetAddr, 254}}), ""},
        ApplyCase{"a port text without COM keeps the port number", "ttyUSB0", "", "",
                  ThenReopen({}), ""},
        ApplyCase{"lower-case com is not a port name", "com3", "", "", ThenReopen({}), ""},
        ApplyCase{"empty speed and address only reopen the port", "COM2", "", "",
                  ThenReopen({{K::SetComNumber, 2}}), ""},
        ApplyCase{"a bad port number stops everything", "COMx", "9600", "254", {},
                  "Номер COM порта «x» — не целое число"},
        ApplyCase{"COM alone has no number", "COM", "9600", "254", {}, "Номер COM порта «» — не целое число"},
        ApplyCase{"a bad speed keeps the port step and stops before the address", "COM2", "fast", "250",
                  {{K::SetComNumber, 2}}, "Скорость COM порта «fast» — не целое число"},
        ApplyCase{"a bad address keeps port and speed but does not reopen", "COM1", "9600", "25o",
                  {{K::SetComNumber, 1}, {K::SetBaudRate, 6}}, "Адрес ПК в сети TALVIK «25o» — не целое число"},
        ApplyCase{"a number beyond 32 bits is not an integer", "", "99999999999", "254", {},
                  "Скорость COM порта «99999999999» — не целое число"},
        ApplyCase{"a sign alone is not an integer", "", "", "-", {}, "Адрес ПК в сети TALVIK «-» — не целое число"},
        ApplyCase{"Cyrillic text is quoted back as typed", "", "", "адрес", {},
                  "Адрес ПК в сети TALVIK «адрес» — не целое число"}),
    [](const ::testing::TestParamInfo<ApplyCase> &info) {
        std::string name;
        for (const char *p = info.param.what; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

}  // namespace
