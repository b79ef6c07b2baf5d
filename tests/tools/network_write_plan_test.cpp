// Which commands a write of the project into the network sends, to whom, in which order,
// with which log lines; and the firmware update's address rule.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "network_write/firmware_update.h"
#include "network_write/network_write_plan.h"

namespace {

std::unique_ptr<Project> NewProject(bool master) {
    auto p = std::make_unique<Project>();
    ResetProject(*p);
    InitSettingRecord(p->settings);
    p->settings.adr = 250;
    p->settings.mst = master;
    return p;
}
void AddBc(Project &p, uint8_t adr) {
    BcUnit u;
    InitDeviceRecord(u);
    u.adr = adr;
    ASSERT_TRUE(AppendBcUnit(p, u));
}
void AddAl(Project &p, uint8_t adr, uint8_t prt, uint16_t zone) {
    AlLine l;
    InitZoneRecord(l);
    l.adr = adr;
    l.prt = prt;
    l.num = zone;
    ASSERT_TRUE(AppendAlLine(p, l));
}

// "SETZONE -> 240" style summary of one command, with its log line.
std::string Summary(const WriteCommand &c) {
    // The command word is glued to the record's keyword.
    const std::pair<const char *, const char *> words[] = {
        {"SETSETTINGsetting:", "SETSETTING"}, {"SETDEVICEdevice:", "SETDEVICE"}, {"SETZONEzone:", "SETZONE"}};
    std::string w = "?";
    for (auto [prefix, word] : words)
        if (c.payload.startsWith(prefix))
            w = word;
    return w + " -> " + std::to_string(c.address) + " | " + c.logLine.toStdString() +
           (c.logAfterSend ? " (after)" : "");
}

std::vector<std::string> Summaries(const NetworkWritePlan &plan) {
    std::vector<std::string> out;
    for (const WriteCommand &c : plan.commands)
        out.push_back(Summary(c));
    return out;
}

TEST(NetworkWritePlan, CommandListsInTheirOrder) {
    struct Row {
        const char *name;
        bool master;
        std::vector<int> bcs;
        std::vector<std::pair<int, int>> lines; // adr, prt
        std::vector<std::string> expected;      // the first commands, in order
        size_t total;
        int clears;
    };
    const Row rows[] = {
        {"slave PD gets only its settings",
         false,
         {240},
         {{240, 1}},
         {"SETSETTING -> 250 | Записываю настройки в ПД"},
         1,
         0},
        {"master PD without units", true, {}, {}, {"SETSETTING -> 250 | Записываю настройки в ПД"}, 1, 0},
        {"one BC at 240 with lines on ports 1 and 2: 18 commands",
         true,
         {240},
         {{240, 1}, {240, 2}},
         {"SETSETTING -> 250 | Записываю настройки в ПД", "SETDEVICE -> 240 | Записываю настройки в БС:240",
          "SETZONE -> 240 | Записываю настройки в БС:240 АЛ:1", "SETZONE -> 240 | Записываю настройки в БС:240 АЛ:2",
          "SETZONE -> 240 | Очищаю настройки в БС:240 АЛ:3 (after)",
          "SETZONE -> 240 | Очищаю настройки в БС:240 АЛ:4 (after)"},
         18,
         14},
        {"a line whose BC is not in the project is sent but clears nothing",
         true,
         {238},
         {{238, 16}, {241, 5}},
         {"SETSETTING -> 250 | Записываю настройки в ПД", "SETDEVICE -> 238 | Записываю настройки в БС:238",
          "SETZONE -> 238 | Записываю настройки в БС:238 АЛ:16", "SETZONE -> 241 | Записываю настройки в БС:241 АЛ:5",
          "SETZONE -> 238 | Очищаю настройки в БС:238 АЛ:1 (after)"},
         1 + 1 + 2 + 15,
         15},
        {"units in table order, clearing by ascending address",
         true,
         {245, 238},
         {{245, 3}},
         {"SETSETTING -> 250 | Записываю настройки в ПД", "SETDEVICE -> 245 | Записываю настройки в БС:245",
          "SETDEVICE -> 238 | Записываю настройки в БС:238", "SETZONE -> 245 | Записываю настройки в БС:245 АЛ:3",
          "SETZONE -> 238 | Очищаю настройки в БС:238 АЛ:1 (after)"},
         1 + 2 + 1 + 16 + 15,
         31},
        {"a port number beyond 16 is sent and flags nothing",
         true,
         {240},
         {{240, 17}},
         {"SETSETTING -> 250 | Записываю настройки в ПД", "SETDEVICE -> 240 | Записываю настройки в БС:240",
          "SETZONE -> 240 | Записываю настройки в БС:240 АЛ:17"},
         1 + 1 + 1 + 16,
         16},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        auto p = NewProject(r.master);
        for (int adr : r.bcs)
            AddBc(*p, uint8_t(adr));
        for (auto [adr, prt] : r.lines)
            AddAl(*p, uint8_t(adr), uint8_t(prt), uint16_t(100 + prt));
        const NetworkWritePlan plan = PlanNetworkWrite(*p);
        ASSERT_EQ(plan.commands.size(), r.total);
        EXPECT_EQ(plan.clearCommands, r.clears);
        const auto got = Summaries(plan);
        EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + long(r.expected.size())), r.expected);
    }
}

TEST(NetworkWritePlan, WrittenPortsTableAndTheLastClearingCommand) {
    auto p = NewProject(true);
    AddBc(*p, 240);
    AddAl(*p, 240, 1, 201);
    AddAl(*p, 240, 2, 202);
    AddAl(*p, 241, 7, 301);
    const NetworkWritePlan plan = PlanNetworkWrite(*p);
    EXPECT_TRUE(plan.written[240][0]);
    EXPECT_TRUE(plan.written[240][1] && plan.written[240][2]);
    EXPECT_FALSE(plan.written[240][3]);
    EXPECT_FALSE(plan.written[241][0]) << "no BC record went to 241";
    EXPECT_TRUE(plan.written[241][7]);
    EXPECT_EQ(Summary(plan.commands.back()), "SETZONE -> 240 | Очищаю настройки в БС:240 АЛ:16 (after)");
}

TEST(NetworkWritePlan, CommandTextsAreTheKeywordGluedToTheRecord) {
    auto p = NewProject(true);
    AddBc(*p, 240);
    AddAl(*p, 240, 1, 201);
    const NetworkWritePlan plan = PlanNetworkWrite(*p);
    char buf[kRecordBufferSize];
    BuildSettingRecord(p->settings, buf, sizeof buf);
    EXPECT_EQ(plan.commands[0].payload, QByteArray("SETSETTING") + buf);
    BuildDeviceRecord(p->bcUnits[0], buf, sizeof buf);
    EXPECT_EQ(plan.commands[1].payload, QByteArray("SETDEVICE") + buf);
    BuildZoneRecord(p->alLines[0], buf, sizeof buf);
    EXPECT_EQ(plan.commands[2].payload, QByteArray("SETZONE") + buf);

    // The clearing record: the zone defaults, zone number 0, on the port to clear.
    AlLine clear;
    InitZoneRecord(clear);
    EXPECT_EQ(clear.num, 0);
    clear.adr = 240;
    clear.prt = 2;
    BuildZoneRecord(clear, buf, sizeof buf);
    EXPECT_EQ(plan.commands[3].payload, QByteArray("SETZONE") + buf);
    EXPECT_TRUE(plan.commands[3].payload.startsWith("SETZONEzone:{num:0, adr:240, prt:2, "))
        << plan.commands[3].payload.toStdString();
}

TEST(FirmwareUpdate, AddressTextsAndTheTwoDevices) {
    const struct {
        const char *text;
        int address;
        bool valid;
    } rows[] = {{"250", 250, true}, {" 1 ", 1, true}, {"254", 254, true}, {"0", 0, false},   {"255", 255, false},
                {"abc", 0, false},  {"", 0, false},   {"-5", 0, false},   {"25x", 0, false}, {"99999999999", 0, false}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(FirmwareAddressFromText(QString::fromUtf8(r.text)), r.address);
        EXPECT_EQ(IsValidFirmwareAddress(FirmwareAddressFromText(QString::fromUtf8(r.text))), r.valid);
    }
    EXPECT_STREQ(FirmwareTextsFor(FirmwareTarget::Pd).deviceFileName, "pd.bin");
    EXPECT_STREQ(FirmwareTextsFor(FirmwareTarget::Bc).deviceFileName, "bc.bin");
    EXPECT_STREQ(FirmwareTextsFor(FirmwareTarget::Bc).addressPrompt, "Введите адрес БС");
}

} // namespace
