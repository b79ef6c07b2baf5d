// The reasons a number edit gives while the typed text is not what the project keeps.
#include <gtest/gtest.h>

#include <memory>

#include "input_refusal.h"

namespace {

TEST(InputRefusal, NumbersAsTyped) {
    const struct {
        const char *text;
        bool integerRefused; // as a whole number 250..254
        bool decimalRefused; // as a voltage 0..16
    } rows[] = {
        {"252", false, true}, {" 252 ", false, true}, {"300", true, true},  {"12abc", true, true},
        {"", true, true},     {"-5", true, true},     {"1,5", true, false}, {"1.5", true, false},
        {",5", true, false},  {"1,5,", true, true},   {"16", true, false},  {"16,1", true, true},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(!IntegerRefusal(r.text, 250, 254).empty(), r.integerRefused);
        EXPECT_EQ(!DecimalRefusal(r.text, 16.0f).empty(), r.decimalRefused);
    }
}

TEST(InputRefusal, IdentifiersTakenByAnotherRecordButNotByItsOwn) {
    auto p = std::make_unique<Project>();
    ResetProject(*p);
    for (uint8_t adr : {238, 240}) {
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = adr;
        AppendBcUnit(*p, bc);
    }
    for (auto [adr, prt, num] : {std::tuple{238, 1, 5}, {238, 2, 6}, {240, 1, 201}}) {
        AlLine al;
        InitZoneRecord(al);
        al.adr = uint8_t(adr);
        al.prt = uint8_t(prt);
        al.num = uint16_t(num);
        AppendAlLine(*p, al);
    }
    EXPECT_EQ(BcAddressRefusal(*p, 0, "240"), "Адрес 240 уже есть у другого БС");
    EXPECT_EQ(BcAddressRefusal(*p, 0, "238"), "");
    EXPECT_EQ(BcAddressRefusal(*p, 0, "250"), "Введите адрес БС от 238 до 249");
    EXPECT_EQ(AlNumberRefusal(*p, 0, "2"), "АЛ:2 уже есть на этом БС");
    EXPECT_EQ(AlNumberRefusal(*p, 2, "2"), "") << "AL 2 of another BC";
    EXPECT_EQ(AlNumberRefusal(*p, 0, "257"), "Введите номер АЛ от 1 до 16") << "stored as 1, shown otherwise";
    EXPECT_EQ(ZoneRefusal(*p, 0, "201"), "Зона 201 уже есть в проекте: БС:240 АЛ:1");
    EXPECT_EQ(ZoneRefusal(*p, 0, "5"), "");
    EXPECT_EQ(ZoneRefusal(*p, 0, "0"), "Введите номер зоны от 1 до 65535");
}

} // namespace
