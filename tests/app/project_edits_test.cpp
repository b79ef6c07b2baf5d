// Uniqueness rules for added devices and for identifiers edited on the pages.
#include <gtest/gtest.h>

#include <memory>

#include "project_edits.h"

namespace {
class ProjectEdits : public ::testing::Test {
protected:
    void SetUp() override { ResetProject(p); }
    AlLine &line(uint8_t bc, uint8_t prt, uint16_t zone) {
        AlLine al;
        InitZoneRecord(al);
        al.adr = bc;
        al.prt = prt;
        al.num = zone;
        AppendAlLine(p, al);
        return p.alLines[p.alCount - 1];
    }
    std::unique_ptr<Project> owner = std::make_unique<Project>();
    Project &p = *owner;
    std::mt19937 rng{1};
};

TEST_F(ProjectEdits, AddBcChecksRangeAndUniqueness) {
    struct {
        const char *text;
        AddResult result;
    } rows[] = {
        {"240", AddResult::Added},       {"238", AddResult::Added},       {"abc", AddResult::BadNumber},
        {"250", AddResult::BadNumber},   {"237", AddResult::BadNumber},   {"240", AddResult::NumberTaken},
        {"249", AddResult::Added},
    };
    for (const auto &r : rows)
        EXPECT_EQ(AddBcUnitFromText(p, r.text), r.result) << r.text;
    ASSERT_EQ(p.bcCount, 3);
    EXPECT_EQ(p.bcUnits[0].adr, 240); // table order, not sorted
    EXPECT_EQ(p.bcUnits[1].adr, 238);
}

TEST_F(ProjectEdits, AddAlChecksRangePortAndGivesFreeZone) {
    line(238, 5, 0);
    EXPECT_EQ(AddAlLineFromText(p, 238, "0", rng), AddResult::BadNumber);
    EXPECT_EQ(AddAlLineFromText(p, 238, "17", rng), AddResult::BadNumber);
    EXPECT_EQ(AddAlLineFromText(p, 238, "x", rng), AddResult::BadNumber);
    EXPECT_EQ(AddAlLineFromText(p, 238, "5", rng), AddResult::NumberTaken);
    EXPECT_EQ(AddAlLineFromText(p, 240, "5", rng), AddResult::Added) << "same port on another BC";
    const AlLine &added = p.alLines[p.alCount - 1];
    EXPECT_EQ(added.adr, 240);
    EXPECT_EQ(added.prt, 5);
    EXPECT_GE(added.num, 1);
    EXPECT_LE(added.num, 32767);
}

TEST_F(ProjectEdits, AddAlRefusedWhenTableFull) {
    p.alCount = kAlCapacity;
    for (int i = 0; i < kAlCapacity; ++i)
        p.alLines[i].adr = 1; // no line on BC 238
    EXPECT_EQ(AddAlLineFromText(p, 238, "1", rng), AddResult::TableFull);
    EXPECT_EQ(p.alCount, kAlCapacity);
}

// Zone 0 would clear the device's port, so with 1..32767 all taken nothing is added.
TEST_F(ProjectEdits, AddAlRefusedWhenEveryZoneNumberIsTaken) {
    for (int n = 1; n <= 32767; ++n)
        line(uint8_t(1 + n / 256), uint8_t(n % 256), uint16_t(n));
    const int before = p.alCount;
    EXPECT_EQ(AddAlLineFromText(p, 240, "1", rng), AddResult::NoFreeZone);
    EXPECT_EQ(p.alCount, before);
    // One number freed is the one drawn.
    p.alLines[4].num = 40000;
    ASSERT_EQ(AddAlLineFromText(p, 240, "1", rng), AddResult::Added);
    EXPECT_EQ(p.alLines[p.alCount - 1].num, 5);
}

TEST_F(ProjectEdits, BcAddressEditMovesLinesOrIsRefused) {
    AddBcUnitFromText(p, "238");
    AddBcUnitFromText(p, "240");
    line(238, 1, 10);
    line(240, 1, 11);
    EXPECT_FALSE(ApplyBcAddressText(p, 0, "240")) << "address of another BC";
    EXPECT_FALSE(ApplyBcAddressText(p, 0, "238")) << "its own address changes nothing";
    EXPECT_FALSE(ApplyBcAddressText(p, 0, "250"));
    EXPECT_EQ(p.bcUnits[0].adr, 238);
    EXPECT_TRUE(ApplyBcAddressText(p, 0, "245"));
    EXPECT_EQ(p.bcUnits[0].adr, 245);
    EXPECT_EQ(p.alLines[0].adr, 245) << "its lines follow";
    EXPECT_EQ(p.alLines[1].adr, 240) << "other lines stay";
    EXPECT_FALSE(ApplyBcAddressText(p, 5, "246")) << "no such unit";
}

TEST_F(ProjectEdits, AlNumberEditTakesLowByteAndRefusesUsed) {
    line(238, 2, 10);
    line(238, 3, 11);
    struct {
        const char *text;
        bool taken;
        int prt;
    } rows[] = {
        {"17", false, 2}, {"0", false, 2}, {"3", false, 2}, {"2", false, 2} /* its own */,
        {"257", true, 1}, {"16", true, 16},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(ApplyAlNumberText(p, 0, 238, r.text), r.taken) << r.text;
        EXPECT_EQ(p.alLines[0].prt, r.prt) << r.text;
    }
}

TEST_F(ProjectEdits, ZoneEditUniqueAcrossProject) {
    line(238, 1, 10);
    line(240, 1, 20);
    struct {
        const char *text;
        bool taken;
        int zone;
    } rows[] = {
        {"0", false, 10}, {"70000", false, 10}, {"20", false, 10} /* another BC's line */,
        {"10", false, 10}, {"65535", true, 65535}, {"30", true, 30},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(ApplyAlZoneText(p, 0, r.text), r.taken) << r.text;
        EXPECT_EQ(p.alLines[0].num, r.zone) << r.text;
    }
}
} // namespace
