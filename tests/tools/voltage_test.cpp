// What the voltage windows ask and of whom, their polling on shrunk ticks, the copy
// rules into the project records, and finding the records a window was opened for.
#include <gtest/gtest.h>

#include <memory>

#include "command_exchange.h"
#include "fake_link.h"
#include "text_utils.h"
#include "voltage/voltage_copy.h"
#include "voltage/voltage_poll.h"
#include "voltage/voltage_request.h"

namespace {

std::unique_ptr<Project> MakeProject() {
    auto p = std::make_unique<Project>(); // ~5 MB: not on the stack
    ResetProject(*p);
    InitSettingRecord(p->settings);
    p->settings.adr = 251;
    for (uint8_t adr : {238, 240}) {
        BcUnit u;
        InitDeviceRecord(u);
        u.adr = adr;
        AppendBcUnit(*p, u);
    }
    for (uint16_t prt : {1, 2, 5, 9}) {
        AlLine l;
        InitZoneRecord(l);
        l.adr = 238;
        l.prt = prt;
        l.num = uint16_t(100 + prt);
        AppendAlLine(*p, l);
    }
    AlLine other;
    InitZoneRecord(other);
    other.adr = 240;
    other.prt = 1;
    other.num = 201;
    AppendAlLine(*p, other);
    return p;
}

TEST(VoltageRequest, EachNodeAsksItsDevice) {
    auto p = MakeProject();
    BcUnit *bc = FindBcUnit(*p, 240);
    AlLine *al = FindAlLine(*p, 238, 5);
    BcUnit *bcOfAl = FindBcUnit(*p, 238);
    const struct {
        const char *name;
        ReadTarget target;
        BcUnit *bc;
        AlLine *al;
        bool send;
        int address;
        const char *command;
    } cases[] = {
        {"pd_supply_to_the_projects_pd", ReadTarget::Pd, nullptr, nullptr, true, 251, "UBVOLT"},
        {"bc_line_sides_to_the_unit", ReadTarget::Bc, bc, nullptr, true, 240, "ELWLVOLTS"},
        {"bc_node_without_a_unit", ReadTarget::Bc, nullptr, nullptr, false, 0, ""},
        {"al_on_port_5_to_its_bc", ReadTarget::Al, bcOfAl, al, true, 238, "ALVOLTS5"},
        {"al_without_its_bc", ReadTarget::Al, nullptr, al, false, 0, ""},
        {"al_node_without_a_line", ReadTarget::Al, bcOfAl, nullptr, false, 0, ""},
        {"no_node", ReadTarget::None, bc, al, false, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const VoltageRequest r = VoltageRequestFor(c.target, *p, c.bc, c.al);
        EXPECT_EQ(r.send, c.send);
        if (!c.send)
            continue;
        EXPECT_EQ(r.address, c.address);
        EXPECT_EQ(r.command, QByteArray(c.command));
    }
}

TEST(VoltagePoll, AsksOncePerTickWhileRunningAndNeverAfter) {
    constexpr int kTickMs = 20;
    FakeLink link;
    CommandExchange exchange{LogSink{}};
    exchange.SetPort(&link);
    VoltagePoll poll(exchange, kTickMs);
    poll.Start(238, "ELWLVOLTS");
    EXPECT_TRUE(link.sent.empty()) << "the first request waits one tick";
    exchange.WaitWithEvents(5 * kTickMs + kTickMs / 2);
    poll.Stop();
    const size_t sent = link.sent.size();
    // Five ticks fit; a loaded machine may run one or two late, never one early.
    EXPECT_GE(sent, 3u);
    EXPECT_LE(sent, 5u);
    for (size_t i = 0; i < sent; ++i) {
        EXPECT_EQ(uint8_t(link.sent[i].bytes[0]), 238);
        EXPECT_EQ(link.SentPayload(i), "ELWLVOLTS");
    }
    exchange.WaitWithEvents(4 * kTickMs);
    EXPECT_EQ(link.sent.size(), sent) << "nothing after the stop";
    EXPECT_FALSE(exchange.RepeatsActive()) << "sent once each, never repeated";

    poll.SendOnce();
    EXPECT_EQ(link.SentPayload(sent), "ELWLVOLTS") << "a measurement on demand";
}

const char *kNoData = "Нет данных";

struct AlCopyCase {
    const char *name;
    AlVoltageTexts texts;
    // uvp, tuv, usp, ukn, tuk after the copy; every field starts at 1.0
    float uvp, tuv, usp, ukn, tuk;
    bool changed;
    const char *error;
};

class AlCopy : public testing::TestWithParam<AlCopyCase> {};

TEST_P(AlCopy, FieldsTakeTheirBoxes) {
    const AlCopyCase &c = GetParam();
    AlLine line;
    InitZoneRecord(line);
    line.uvp = line.tuv = line.usp = line.ukn = line.tuk = 1.0f;
    const VoltageCopyResult r = CopyAlVoltages(line, c.texts);
    EXPECT_FLOAT_EQ(line.uvp, c.uvp);
    EXPECT_FLOAT_EQ(line.tuv, c.tuv);
    EXPECT_FLOAT_EQ(line.usp, c.usp);
    EXPECT_FLOAT_EQ(line.ukn, c.ukn);
    EXPECT_FLOAT_EQ(line.tuk, c.tuk);
    EXPECT_EQ(r.changed, c.changed);
    EXPECT_EQ(r.error, QString::fromUtf8(c.error));
}

QString T(const char *s) {
    return QString::fromUtf8(s);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlCopy,
    testing::Values(
        AlCopyCase{"measured_values",
                   {T("9.6"), T("11.8"), T("3.3"), T("7.2"), T("10.4"), T("2.0")},
                   9.6f,
                   11.8f,
                   3.3f,
                   7.2f,
                   10.4f,
                   true,
                   ""},
        AlCopyCase{"no_data_copies_as_0",
                   {T(kNoData), T(kNoData), T(kNoData), T(kNoData), T(""), T(kNoData)},
                   0,
                   0,
                   0,
                   0,
                   0,
                   true,
                   ""},
        AlCopyCase{"usp_from_group_2_when_group_1_gives_0",
                   {T("9.6"), T("11.8"), T("0.0"), T("7.2"), T("10.4"), T("3.5")},
                   9.6f,
                   11.8f,
                   3.5f,
                   7.2f,
                   10.4f,
                   true,
                   ""},
        AlCopyCase{"group_2_usp_unread_when_group_1_has_one",
                   {T("9.6"), T("11.8"), T("3.3"), T("7.2"), T("10.4"), T("junk")},
                   9.6f,
                   11.8f,
                   3.3f,
                   7.2f,
                   10.4f,
                   true,
                   ""},
        AlCopyCase{"decimal_comma", {T("9,6"), T("1"), T("1"), T("1"), T("1"), T("1")}, 9.6f, 1, 1, 1, 1, true, ""},
        AlCopyCase{"no_number_stops_the_copy_at_that_field",
                   {T("9.6"), T("abc"), T("3.3"), T("7.2"), T("10.4"), T("3.5")},
                   9.6f,
                   1,
                   1,
                   1,
                   1,
                   true,
                   "«abc» — не число"},
        AlCopyCase{"group_2_usp_that_is_no_number_fails_last",
                   {T("1"), T("1"), T(kNoData), T("1"), T("1"), T("?")},
                   1,
                   1,
                   0,
                   1,
                   1,
                   true,
                   "«?» — не число"},
        AlCopyCase{"same_values_change_nothing",
                   {T("1.0"), T("1"), T("1"), T("1"), T("1"), T("1")},
                   1,
                   1,
                   1,
                   1,
                   1,
                   false,
                   ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(VoltageCopy, PdAndBcBoxesLandInTheirFields) {
    PdSettings pd;
    InitSettingRecord(pd);
    pd.ubs = 12.0f;
    VoltageCopyResult r = CopyPdVoltage(pd, T(kNoData));
    EXPECT_EQ(pd.ubs, 0.0f) << "copying before any reply stores 0";
    EXPECT_TRUE(r.changed);
    EXPECT_FALSE(CopyPdVoltage(pd, T("0.0")).changed);

    BcUnit bc;
    InitDeviceRecord(bc);
    r = CopyBcVoltages(bc, T("45.6"), T("12.3")); // WEST box, EAST box
    EXPECT_STREQ(FloatToText(bc.ubw), "45.6");
    EXPECT_STREQ(FloatToText(bc.ube), "12.3");
    EXPECT_TRUE(r.ok());

    r = CopyBcVoltages(bc, T("13"), T("x"));
    EXPECT_EQ(bc.ubw, 13.0f) << "the field before the bad box keeps its new value";
    EXPECT_STREQ(FloatToText(bc.ube), "12.3");
    EXPECT_EQ(r.error, T("«x» — не число"));
    EXPECT_TRUE(r.changed);
}

TEST(VoltageCopy, AllLinesOfTheBcTakeTheSameValues) {
    auto p = MakeProject();
    const AlVoltageTexts t{T("9.6"), T("11.8"), T("0"), T("7.2"), T("10.4"), T("3.5")};
    const VoltageCopyResult r = CopyAlVoltagesToBc(*p, 238, t);
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.changed);
    int lines = 0;
    for (int i = 0; i < p->alCount; ++i) {
        const AlLine &l = p->alLines[i];
        if (l.adr != 238) {
            EXPECT_EQ(l.uvp, 0.0f) << "another BC's line is left alone";
            continue;
        }
        ++lines;
        EXPECT_FLOAT_EQ(l.uvp, 9.6f);
        EXPECT_FLOAT_EQ(l.tuv, 11.8f);
        EXPECT_FLOAT_EQ(l.usp, 3.5f);
        EXPECT_FLOAT_EQ(l.ukn, 7.2f);
        EXPECT_FLOAT_EQ(l.tuk, 10.4f);
    }
    EXPECT_EQ(lines, 4);
    EXPECT_FALSE(CopyAlVoltagesToBc(*p, 238, t).changed) << "the same values again change nothing";
}

TEST(VoltageTargets, RecordsAreFoundByTheirKeysInTheSameProjectOnly) {
    const struct {
        const char *name;
        std::function<void(Project &)> change;
        int epochStep;
        bool bcPresent, alPresent;
    } cases[] = {
        {"unchanged", [](Project &) {}, 0, true, true},
        {"another_line_deleted_moves_the_table", [](Project &p) { DeleteAlLine(p, 238, 1); }, 0, true, true},
        {"another_unit_deleted", [](Project &p) { DeleteBcUnit(p, FindBcUnit(p, 240)); }, 0, true, true},
        {"the_line_deleted", [](Project &p) { DeleteAlLine(p, 238, 5); }, 0, true, false},
        {"the_unit_deleted", [](Project &p) { DeleteBcUnit(p, FindBcUnit(p, 238)); }, 0, false, false},
        {"the_unit_moved_to_another_address", [](Project &p) { FindBcUnit(p, 238)->adr = 239; }, 0, false, false},
        {"project_closed_or_reloaded", [](Project &) {}, 1, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto p = MakeProject();
        const VoltageTargets bc = VoltageTargets::ForBc(*FindBcUnit(*p, 238), 7);
        const VoltageTargets al = VoltageTargets::ForAl(*FindBcUnit(*p, 238), *FindAlLine(*p, 238, 5), 7);
        const VoltageTargets pd = VoltageTargets::ForPd(7);
        c.change(*p);
        const uint64_t epoch = 7 + c.epochStep;
        EXPECT_EQ(bc.Present(*p, epoch), c.bcPresent);
        EXPECT_EQ(al.Present(*p, epoch), c.alPresent);
        EXPECT_EQ(pd.Present(*p, epoch), c.epochStep == 0);
        if (c.alPresent) {
            ASSERT_NE(al.Al(*p, epoch), nullptr);
            EXPECT_EQ(al.Al(*p, epoch)->num, 105) << "the very line, wherever the table moved it";
        }
    }
}

} // namespace
