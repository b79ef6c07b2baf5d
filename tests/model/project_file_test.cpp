#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "project_file.h"
#include "project_fixture.h"
#include "record_strings.h"
#include "temp_dir.h"
#include "text_utils.h"

namespace {
const std::string kDefaultSettingLine = [] {
    PdSettings s;
    InitSettingRecord(s);
    return Text(s);
}();

std::string DeviceLine(int adr) {
    return "device:{adr:" + std::to_string(adr) + "}";
}
std::string ZoneLine(int num) {
    return "zone:{num:" + std::to_string(num) + ", adr:240, prt:1}";
}
} // namespace

class ProjectFileTest : public ProjectTest {
protected:
    void Load(const std::string &bytes) { LoadProjectText(p, bytes, report); }
    ProjectLoadReport report;
};

TEST_F(ProjectFileTest, EmptyProjectIsOneSettingLine) {
    EXPECT_EQ(BuildProjectText(p), kDefaultSettingLine + "\r\n");
}

TEST_F(ProjectFileTest, WriterOrderAndScenarioNumbers) {
    CopyTextUtf8(p.settings.nam, sizeof p.settings.nam, "Сеть");
    AppendBcUnit(p, Unit(241));
    AppendBcUnit(p, Unit(240));
    AppendAlLine(p, Line(240, 2, 20));
    AppendAlLine(p, Line(241, 1, 10));
    std::strcpy(p.notifies[9].wav, "b.wav");
    std::strcpy(p.notifies[2].wav, "a.wav");
    p.notifies[2].num = 0;    // the index, not the stored number, goes into the file
    p.notifies[5].nte = true; // enabled but unnamed: not written
    std::strcpy(p.notifies[0].wav, "never.wav");

    std::string expected = Text(p.settings) + "\r\n" + Text(p.bcUnits[0]) + "\r\n" + Text(p.bcUnits[1]) + "\r\n" +
                           Text(p.alLines[0]) + "\r\n" + Text(p.alLines[1]) + "\r\n";
    NotifyScenario two = p.notifies[2];
    two.num = 2;
    expected += Text(two) + "\r\n" + Text(p.notifies[9]) + "\r\n";
    std::string file = BuildProjectText(p);
    EXPECT_EQ(file, expected);
    EXPECT_NE(file.find("nam:Сеть}"), std::string::npos); // UTF-8 bytes as they are

    // Read back, the project writes the same bytes; the unnamed scenario is at its defaults.
    std::string again = file;
    Load(again);
    EXPECT_EQ(BuildProjectText(p), file);
    EXPECT_STREQ(p.settings.nam, "Сеть");
    NotifyScenario blank;
    InitNotifyRecord(blank);
    EXPECT_EQ(Text(p.notifies[5]), Text(blank));
    EXPECT_EQ(p.notifies[2].num, 2);
}

struct LoadCase {
    const char *name;
    std::string file;
    int bcCount;
    int alCount;
    int firstBcAdr; // -1: not checked
};

class LoaderLines : public ProjectFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoaderLines, TakesTheRecognisedLines) {
    const auto &c = GetParam();
    Load(c.file);
    EXPECT_EQ(p.bcCount, c.bcCount);
    EXPECT_EQ(p.alCount, c.alCount);
    if (c.firstBcAdr >= 0 && p.bcCount > 0) {
        EXPECT_EQ(p.bcUnits[0].adr, c.firstBcAdr);
    }
    EXPECT_EQ(report.devicesLeftOut, 0);
    EXPECT_EQ(report.zonesLeftOut, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoaderLines,
    testing::Values(
        LoadCase{"crlf", DeviceLine(240) + "\r\n" + ZoneLine(1) + "\r\n", 1, 1, 240},
        LoadCase{"lf_only", DeviceLine(240) + "\n" + ZoneLine(1) + "\n", 1, 1, 240},
        LoadCase{"cr_only", DeviceLine(240) + "\r" + ZoneLine(1) + "\r", 1, 1, 240},
        LoadCase{"no_line_end_at_the_end", DeviceLine(240) + "\r\n" + ZoneLine(1), 1, 1, 240},
        LoadCase{"lf_cr_is_two_ends", DeviceLine(240) + "\n\r" + ZoneLine(1), 1, 1, 240},
        LoadCase{"leading_blanks_and_tabs", " \t " + DeviceLine(240) + " \t\r\n\t" + ZoneLine(1), 1, 1, 240},
        LoadCase{"zones_before_devices", ZoneLine(1) + "\r\n" + ZoneLine(2) + "\r\n" + DeviceLine(242), 1, 2, 242},
        LoadCase{"same_address_twice_both_taken", DeviceLine(240) + "\r\n" + DeviceLine(240), 2, 0, 240},
        LoadCase{"empty_and_blank_lines_skipped", "\r\n  \r\n\t\n" + DeviceLine(240) + "\r\n\r\n", 1, 0, 240},
        LoadCase{"unknown_lines_ignored", "hello\r\nDevice:{adr:1}\r\n" + DeviceLine(240) + "\r\n[section]", 1, 0, 240},
        LoadCase{"nul_ends_the_line",
                 std::string("device:{adr:241") + '\0' + "junk\r\n" + std::string(1, '\0') + ZoneLine(1) + "\r\n", 1, 0,
                 241},
        LoadCase{"empty_file", "", 0, 0, -1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProjectFileTest, LaterSettingWinsAndNotifyNumbersOutsideTheTableAreIgnored) {
    Load("setting:{adr:251, nam:first}\r\n"
         "setting:{adr:252, nam:second}\r\n"
         "notify:{num:0, wav:zero.wav}\r\n"
         "notify:{num:11, wav:eleven.wav}\r\n"
         "notify:{num:267, wav:wraps.wav}\r\n" // 267 is 11 in the 8-bit number
         "notify:{num:10, wav:ten.wav}\r\n");
    EXPECT_EQ(p.settings.adr, 252);
    EXPECT_STREQ(p.settings.nam, "second");
    EXPECT_STREQ(p.notifies[10].wav, "ten.wav");
    for (int i = 0; i < 10; ++i)
        EXPECT_STREQ(p.notifies[i].wav, "") << i;
}

TEST_F(ProjectFileTest, LoadingReplacesTheOldProject) {
    AppendBcUnit(p, Unit(240));
    AppendAlLine(p, Line(240, 1, 1));
    std::strcpy(p.notifies[3].wav, "old.wav");
    Load("setting:{}");
    EXPECT_EQ(p.bcCount, 0);
    EXPECT_EQ(p.alCount, 0);
    EXPECT_STREQ(p.notifies[3].wav, "");
    EXPECT_EQ(p.notifies[3].num, 0); // opening leaves scenarios 1..10 numbered 0
}

TEST_F(ProjectFileTest, StopsTakingDevicesAndZonesAtCapacityAndCountsTheRest) {
    std::string file;
    for (int i = 0; i < kBcCapacity + 3; ++i)
        file += DeviceLine(i % 256) + "\r\n";
    for (int i = 0; i < kAlCapacity + 5; ++i)
        file += ZoneLine(i % 65536) + "\r\n";
    file += "setting:{adr:253}\r\n"; // lines after the overflow are still read
    Load(file);
    EXPECT_EQ(p.bcCount, kBcCapacity);
    EXPECT_EQ(p.alCount, kAlCapacity);
    EXPECT_EQ(report.devicesLeftOut, 3);
    EXPECT_EQ(report.zonesLeftOut, 5);
    EXPECT_EQ(p.settings.adr, 253);
    Load("setting:{}");
    EXPECT_EQ(report.devicesLeftOut, 0); // a new load starts a new report
}

TEST_F(ProjectFileTest, BadInputNeverCrashes) {
    std::string junk;
    std::mt19937 rng(99);
    for (int i = 0; i < 200000; ++i)
        junk += static_cast<char>(rng() & 0xFF);
    Load(junk);
    Load("zone:{nam:" + std::string(1 << 20, 'x') + "}\r\n" + DeviceLine(240));
    EXPECT_EQ(p.alCount, 1);
    EXPECT_STREQ(p.alLines[0].nam, std::string(32, 'x').c_str());
    EXPECT_EQ(p.bcCount, 1);
}

TEST_F(ProjectFileTest, LoadFileReadsAndReportsFailure) {
    TempDir dir;
    std::ofstream(dir / "net.cfg", std::ios::binary) << DeviceLine(245) << "\r\n";
    std::string error;
    ASSERT_TRUE(LoadProjectFile(p, (dir / "net.cfg").string(), report, error));
    EXPECT_EQ(p.bcCount, 1);

    for (const std::string &path : {(dir / "missing.cfg").string(), dir.path().string()}) {
        SCOPED_TRACE(path);
        AppendBcUnit(p, Unit(240));
        EXPECT_FALSE(LoadProjectFile(p, path, report, error));
        EXPECT_NE(error.find(path), std::string::npos);
        EXPECT_EQ(p.bcCount, 0); // reset: a failed open leaves no half project
    }
}

TEST(ProjectFileName, SaveRule) {
    struct {
        const char *name;
        const char *expected;
    } cases[] = {{"net", "net.cfg"},           {"net.CFG", "net.CFG.cfg"}, {"a.cfg.bak", "a.cfg.bak"},
                 {"/x/net.cfg", "/x/net.cfg"}, {"my.cfgx", "my.cfgx"},     {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(ProjectFileNameForSave(c.name), c.expected) << c.name;
}
