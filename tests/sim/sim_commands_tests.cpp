// What each device answers, asked directly on the demo network.
#include <cmath>

#include "sim_test_net.h"
#include "text_utils.h"

namespace {

struct AskCase {
    const char *name;
    uint8_t dst;
    const char *request;
    const char *replyBegins;
};

class DemoAnswers : public DemoNet, public testing::WithParamInterface<AskCase> {};

TEST_P(DemoAnswers, ReplyBeginsAsTheConfiguratorExpects) {
    const auto &c = GetParam();
    const std::string reply = ask(c.dst, c.request);
    EXPECT_EQ(reply.substr(0, std::string(c.replyBegins).size()), c.replyBegins) << reply;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, DemoAnswers,
    testing::Values(
        AskCase{"pd_settings_record", 250, "GETSETTING", "OK_GETSETTINGsetting:{adr:250"},
        AskCase{"bc_device_record", 238, "GETDEVICE", "OK_GETDEVICEdevice:{adr:238"},
        AskCase{"zone_on_port_3", 238, "GETZONE3", "OK_GETZONEzone:{num:103, adr:238, prt:3"},
        AskCase{"free_port_reports_zone_0", 240, "GETZONE9", "OK_GETZONEzone:{num:0, adr:240, prt:9"},
        AskCase{"port_17_is_malformed", 238, "GETZONE17", "ERROR_PARAMS"},
        AskCase{"port_that_is_no_number_is_malformed", 238, "GETZONEx", "ERROR_PARAMS"},
        AskCase{"scenario_1", 250, "GETNOTIFY1", "OK_GETNOTIFYnotify:{num:1, nte:"},
        AskCase{"unset_scenario_still_carries_its_number", 250, "GETNOTIFY7", "OK_GETNOTIFYnotify:{num:7,"},
        AskCase{"scenario_11_is_malformed", 250, "GETNOTIFY11", "ERROR_PARAMS"},
        AskCase{"pd_identifies_itself_with_PD_slash", 250, "SERVICE", "OK_SERVICETALVIK-PD/"},
        AskCase{"bc_identifies_itself", 240, "SERVICE", "OK_SERVICETALVIK-BC-16/"},
        AskCase{"pd_supply_voltage", 250, "UBVOLT", "OK_UBVOLT:1"},
        AskCase{"bc_line_voltages", 238, "ELWLVOLTS", "OK_ELWLVOLTS:1"},
        AskCase{"free_port_measures_nothing", 238, "ALVOLTS9", "OK_ALVOLTS:0.0:0.0:0.0"},
        AskCase{"al_port_0_is_malformed", 238, "ALVOLTS0", "ERROR_PARAMS"},
        AskCase{"bc_command_sent_to_pd", 250, "GETDEVICE", "ERROR_COMMAND"},
        AskCase{"pd_command_sent_to_bc", 238, "GETSETTING", "ERROR_COMMAND"},
        AskCase{"unknown_word", 250, "HELLO", "ERROR_COMMAND"},
        AskCase{"junk_behind_a_plain_command", 250, "GETSETTINGxyz", "ERROR_PARAMS"},
        AskCase{"record_that_does_not_parse", 250, "SETSETTINGdevice:{adr:1}", "ERROR_PARAMS"},
        AskCase{"empty_disk_lists_nothing", 240, "LIST", "OK_LIST"},
        AskCase{"delete_of_a_missing_file", 250, "DELETEnone.txt", "ERROR_OPEN_FILE"},
        AskCase{"download_of_a_missing_file", 238, "DOWNLOADnone.txt", "ERROR_OPEN_FILE"},
        AskCase{"part_without_an_upload", 250, "UPLOAD_PARTabc", "ERROR_UPLOAD"},
        AskCase{"part_without_a_download", 250, "DOWNLOAD_PART", "ERROR_DOWNLOAD"},
        AskCase{"upload_without_size", 250, "UPLOAD crc:1 file:a.txt", "ERROR_UPLOAD_FILE_SIZE"},
        AskCase{"upload_without_name", 250, "UPLOAD size:3 crc:294", "ERROR_UPLOAD_FILE_NAME"},
        AskCase{"no_device_at_239", 239, "SERVICE", "<silent>"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DemoNet, ZoneWritesAddReplaceAndClearPorts) {
    AlLine l;
    InitZoneRecord(l);
    l.num = 555;
    l.adr = 99;  // a record's own address does not move the line to another BC
    l.prt = 5;
    CopyText(l.nam, sizeof l.nam, "Новая");
    EXPECT_EQ(ask(238, "SETZONE" + ZoneText(l)), "OK_SETZONE5");
    const AlLine *added = FindAlLine(net.project(), 238, 5);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->num, 555);
    EXPECT_STREQ(added->nam, "Новая");
    EXPECT_EQ(FindAlLine(net.project(), 99, 5), nullptr);

    l.num = 556;
    EXPECT_EQ(ask(238, "SETZONE" + ZoneText(l)), "OK_SETZONE5");
    EXPECT_EQ(FindAlLine(net.project(), 238, 5)->num, 556);

    // Zone number 0 clears the port; reading it back says so.
    AlLine clear;
    InitZoneRecord(clear);
    clear.adr = 238;
    clear.prt = 1;
    EXPECT_EQ(ask(238, "SETZONE" + ZoneText(clear)), "OK_SETZONE1");
    EXPECT_EQ(FindAlLine(net.project(), 238, 1), nullptr);
    AlLine back;
    ASSERT_TRUE(ParseZoneRecord(After(ask(238, "GETZONE1"), "OK_GETZONE").c_str(), back));
    EXPECT_EQ(back.num, 0);
    EXPECT_EQ(back.prt, 1);

    clear.prt = 20;
    EXPECT_EQ(ask(238, "SETZONE" + ZoneText(clear)), "ERROR_PARAMS");
}

TEST_F(DemoNet, SettingDeviceAndScenarioWritesAreHeld) {
    PdSettings s = net.project().settings;
    CopyText(s.nam, sizeof s.nam, "Новое имя");
    s.spk = 55;
    char buf[kRecordBufferSize];
    BuildSettingRecord(s, buf, sizeof buf);
    EXPECT_EQ(ask(250, std::string("SETSETTING") + buf), "OK_SETSETTING");
    EXPECT_STREQ(net.project().settings.nam, "Новое имя");
    EXPECT_EQ(net.project().settings.spk, 55);

    BcUnit u = *FindBcUnit(net.project(), 240);
    u.byp = true;
    BuildDeviceRecord(u, buf, sizeof buf);
    EXPECT_EQ(ask(240, std::string("SETDEVICE") + buf), "OK_SETDEVICE");
    EXPECT_TRUE(FindBcUnit(net.project(), 240)->byp);

    NotifyScenario n;
    InitNotifyRecord(n);
    n.num = 3;
    n.zon = 202;
    CopyText(n.wav, sizeof n.wav, "обед.wav");
    BuildNotifyRecord(n, buf, sizeof buf);
    EXPECT_EQ(ask(250, std::string("SETNOTIFY") + buf), "OK_SETNOTIFY");
    NotifyScenario back;
    ASSERT_TRUE(ParseNotifyRecord(After(ask(250, "GETNOTIFY3"), "OK_GETNOTIFY").c_str(), back));
    EXPECT_EQ(back.zon, 202);
    EXPECT_STREQ(back.wav, "обед.wav");

    n.num = 0;
    BuildNotifyRecord(n, buf, sizeof buf);
    EXPECT_EQ(ask(250, std::string("SETNOTIFY") + buf), "ERROR_PARAMS");

    // A record cut inside its file name is refused, and the scenario keeps what it had.
    n.num = 3;
    CopyText(n.wav, sizeof n.wav, "другой.wav");
    const int length = BuildNotifyRecord(n, buf, sizeof buf);
    const std::string record(buf, size_t(length));
    EXPECT_EQ(ask(250, "SETNOTIFY" + record.substr(0, record.find("wav:") + 8)), "ERROR_PARAMS");
    EXPECT_STREQ(net.project().notifies[3].wav, "обед.wav");
}

// A BC given a new address answers there from then on, and its lines go with it.
TEST_F(DemoNet, NewAddressMovesTheBcAndItsLines) {
    BcUnit u = *FindBcUnit(net.project(), 238);
    u.adr = 245;
    char buf[kRecordBufferSize];
    BuildDeviceRecord(u, buf, sizeof buf);
    EXPECT_EQ(ask(238, std::string("SETDEVICE") + buf), "OK_SETDEVICE");
    EXPECT_EQ(ask(238, "SERVICE"), "<silent>");
    EXPECT_EQ(ask(245, "GETZONE1").substr(0, 29), "OK_GETZONEzone:{num:101, adr:");
    EXPECT_NE(FindAlLine(net.project(), 245, 4), nullptr);

    // An address another device holds is refused and nothing moves.
    u.adr = 240;
    BuildDeviceRecord(u, buf, sizeof buf);
    EXPECT_EQ(ask(245, std::string("SETDEVICE") + buf), "ERROR_PARAMS");
    EXPECT_TRUE(net.isDevice(245));
}

double Value(const std::string &reply, int n) {
    size_t at = 0;
    for (int i = 0; i < n; ++i)
        at = reply.find(':', at) + 1;
    return std::stod(reply.substr(at));
}

TEST_F(DemoNet, VoltagesDriftALittleAroundTheReference) {
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < 200; ++i) {
        const std::string r = ask(238, "ALVOLTS2");
        ASSERT_EQ(r.rfind("OK_ALVOLTS:", 0), 0u) << r;
        const double uvp = Value(r, 1);
        EXPECT_NEAR(uvp, 9.6, 0.35);
        EXPECT_NEAR(Value(r, 2), 11.8, 0.35);
        EXPECT_NEAR(Value(r, 3), 3.3, 0.35);
        lo = std::min(lo, uvp);
        hi = std::max(hi, uvp);
    }
    EXPECT_GT(hi - lo, 0.05) << "the readings never moved";
}

TEST_F(DemoNet, HeldCallButtonMeasuresTheLineInItsOtherState) {
    net.setButtonHeld(238, 2, true);
    for (int i = 0; i < 20; ++i) {
        const std::string r = ask(238, "ALVOLTS2");
        EXPECT_NEAR(Value(r, 1), 7.2, 0.35) << r; // ukn
        EXPECT_NEAR(Value(r, 2), 10.4, 0.35) << r; // tuk
        EXPECT_NEAR(Value(r, 3), 3.3, 0.35) << r;
    }
    EXPECT_NEAR(Value(ask(238, "ALVOLTS1"), 1), 9.6, 0.35) << "only the line whose button is held";
    net.setButtonHeld(238, 2, false);
    EXPECT_NEAR(Value(ask(238, "ALVOLTS2"), 1), 9.6, 0.35);
}

TEST_F(DemoNet, MutedDeviceNeverAnswers) {
    net.setMuted(240, true);
    EXPECT_EQ(ask(240, "SERVICE"), "<silent>");
    EXPECT_NE(ask(238, "SERVICE"), "<silent>");
    net.setMuted(240, false);
    EXPECT_NE(ask(240, "SERVICE"), "<silent>");
}

}  // namespace
