// What the scenario editor stores from each edit, what it shows, and the commands it sends.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "notify/notify_rules.h"
#include "records.h"

namespace {

NotifyScenario Scenario(uint8_t num) {
    NotifyScenario s;
    InitNotifyRecord(s);
    s.num = num;
    return s;
}

std::string Repeat(const std::string &piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The field a row looks at, as a text so one table covers numbers, names and dates.
std::string FieldText(const NotifyScenario &s, NotifyField field) {
    switch (field) {
    case NotifyField::Zone:
        return std::to_string(s.zon);
    case NotifyField::FileName:
        return s.wav;
    case NotifyField::DateTime:
        return std::to_string(s.dtm.year) + "/" + std::to_string(s.dtm.month) + "/" + std::to_string(s.dtm.day) + " " +
               std::to_string(s.dtm.hour) + ":" + std::to_string(s.dtm.minute) + ":" + std::to_string(s.dtm.second);
    case NotifyField::Period:
        return std::to_string(s.per);
    case NotifyField::Count:
        return std::to_string(s.cnt);
    }
    return {};
}

TEST(NotifyRules, EachEditStoresByItsRule) {
    const std::string cyrillic70 = Repeat("ж", 70); // 140 bytes
    const struct {
        const char *what;
        NotifyField field;
        std::string typed;
        std::string stored;
    } rows[] = {
        {"zone above the range", NotifyField::Zone, "70000", "65535"},
        {"zone 0 is no zone", NotifyField::Zone, "0", "1"},
        {"zone letters", NotifyField::Zone, "abc", "1"},
        {"zone negative", NotifyField::Zone, "-5", "1"},
        {"zone with a tail", NotifyField::Zone, "12 abc", "12"},
        {"period above the range", NotifyField::Period, "300", "255"},
        {"period empty", NotifyField::Period, "", "0"},
        {"count", NotifyField::Count, "7", "7"},
        {"count above the range", NotifyField::Count, "256", "255"},
        {"date and time", NotifyField::DateTime, "2025-03-01 08:30", "2025/3/1 8:30:0"},
        {"seconds are not kept", NotifyField::DateTime, "2025-03-01 08:30:45", "2025/3/1 8:30:0"},
        {"date only", NotifyField::DateTime, "2024-12-31", "2024/12/31 0:0:0"},
        {"date letters", NotifyField::DateTime, "завтра", "0/0/0 0:0:0"},
        {"file name", NotifyField::FileName, "обед.wav", "обед.wav"},
        // 63 bytes end in the middle of the 32nd letter: 31 letters (62 bytes) are kept.
        {"70 Cyrillic letters", NotifyField::FileName, cyrillic70, Repeat("ж", 31)},
        {"one ASCII byte shifts the cut", NotifyField::FileName, "a" + cyrillic70, "a" + Repeat("ж", 31)},
        {"line end stored as a blank", NotifyField::FileName, "a\nb\r.wav", "a b .wav"},
        {"empty file name", NotifyField::FileName, "", ""},
    };
    for (const auto &r : rows) {
        NotifyScenario s = Scenario(4);
        std::strcpy(s.wav, "старое.wav");
        StoreNotifyField(s, r.field, r.typed);
        EXPECT_EQ(FieldText(s, r.field), r.stored) << r.what;
        EXPECT_LE(std::strlen(s.wav), size_t(kNotifyWavSize - 1)) << r.what;
        EXPECT_EQ(s.num, 4) << r.what << ": the slot keeps its number";
    }
}

TEST(NotifyRules, OnlyARealChangeReportsChanged) {
    NotifyScenario s = Scenario(2);
    s.zon = 1;
    EXPECT_FALSE(StoreNotifyField(s, NotifyField::Zone, "0")) << "0 stores 1, which is there already";
    EXPECT_TRUE(StoreNotifyField(s, NotifyField::Zone, "201"));
    EXPECT_FALSE(StoreNotifyField(s, NotifyField::Zone, "201"));
    EXPECT_TRUE(StoreNotifyField(s, NotifyField::FileName, Repeat("ж", 40)));
    EXPECT_FALSE(StoreNotifyField(s, NotifyField::FileName, Repeat("ж", 50))) << "both cut to the same 31 letters";
    EXPECT_TRUE(StoreNotifyField(s, NotifyField::DateTime, "2025-03-01 08:30"));
    EXPECT_FALSE(StoreNotifyField(s, NotifyField::DateTime, "2025-03-01 08:30:59"));
    EXPECT_TRUE(StoreNotifyEnabled(s, !s.nte));
    EXPECT_FALSE(StoreNotifyEnabled(s, s.nte));
}

TEST(NotifyRules, ShownTextsAreTheStoredValuesWithoutSeconds) {
    NotifyScenario s = Scenario(2);
    s.nte = true;
    s.zon = 0; // as a hand-edited file may hold it: shown, not corrected
    std::strcpy(s.wav, "начало_смены.wav");
    s.per = 5;
    s.cnt = 255;
    s.dtm = {2025, 3, 1, 9, 5, 42};
    const NotifyTexts t = NotifyShownTexts(s);
    EXPECT_TRUE(t.enabled);
    EXPECT_EQ(t.zone, "0");
    EXPECT_EQ(t.fileName, "начало_смены.wav");
    EXPECT_EQ(t.dateTime, "2025-03-01 09:05");
    EXPECT_EQ(t.period, "5");
    EXPECT_EQ(t.count, "255");
}

TEST(NotifyRules, ReadCommandCarriesTheNumber) {
    EXPECT_EQ(ReadNotifyCommand(1), "GETNOTIFY1");
    EXPECT_EQ(ReadNotifyCommand(3), "GETNOTIFY3");
    EXPECT_EQ(ReadNotifyCommand(10), "GETNOTIFY10");
}

// The longest scenario's record is far beyond 118 bytes; the PD must get all of it, so
// that what it parses is what the project holds.
TEST(NotifyRules, WriteCommandCarriesTheWholeRecord) {
    NotifyScenario s = Scenario(10);
    s.nte = true;
    s.zon = 65535;
    StoreNotifyField(s, NotifyField::FileName, "a" + Repeat("ж", 70));
    s.per = s.cnt = 255;
    s.dtm = {2025, 3, 1, 8, 30, 0};
    s.num = 0; // a slot the opened file did not name
    const QByteArray command = WriteNotifyCommand(s, 10);
    ASSERT_TRUE(command.startsWith("SETNOTIFY"));
    const QByteArray record = command.mid(9);
    EXPECT_GT(record.size(), 118);
    EXPECT_TRUE(record.endsWith("src:false}")) << record.toStdString();

    char built[kRecordBufferSize];
    BuildNotifyRecord(s, built, sizeof built);
    EXPECT_EQ(record, QByteArray(built).replace("num:0,", "num:10,"));
    NotifyScenario back;
    ASSERT_TRUE(ParseNotifyRecord(record.constData(), back));
    EXPECT_STREQ(back.wav, s.wav);
    EXPECT_EQ(back.zon, 65535);
    EXPECT_EQ(back.num, 10);
}

} // namespace
