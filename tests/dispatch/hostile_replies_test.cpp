// Replies that do not fit: whatever a device sends, the project is never corrupted silently.
// Each row goes through the frame decoder, the dispatcher and (for reads) the copy.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device_protocol.h"
#include "fake_link.h"
#include "frame.h"
#include "project.h"
#include "project_file.h"
#include "protocol_harness.h"
#include "recording_view.h"

namespace {

using Lines = std::vector<std::string>;
constexpr ProtocolTimings kFast{/*repeatIntervalMs=*/60, /*repeatTransmissions=*/3, /*sweepIntervalMs=*/25};
const std::string kIgnored = "Ответ АЛ не подходит к чтению портов БС:240, ответ пропущен: ";

// BC 240 with a line on port 3 (zone 33), BC 238 with a line on port 1 (zone 81).
std::unique_ptr<Project> TwoUnits() {
    auto p = std::make_unique<Project>();
    ResetProject(*p);
    for (int adr : {240, 238}) {
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = uint8_t(adr);
        AppendBcUnit(*p, bc);
        AlLine al;
        InitZoneRecord(al);
        al.adr = uint8_t(adr);
        al.prt = adr == 240 ? 3 : 1;
        al.num = adr == 240 ? 33 : 81;
        AppendAlLine(*p, al);
    }
    return p;
}

class HostileReplies : public ProtocolHarness {
protected:
    void SetUp() override {
        project = TwoUnits();
        StartProtocol(kFast);
    }
    // The sweep of BC 240 is running, its first request sent.
    void Sweeping() {
        protocol->Sweep().Start(240);
        protocol->Exchange().WaitWithEvents(kFast.sweepIntervalMs + 10);
        ASSERT_EQ(protocol->readKind(), ReadAllAl);
        log.clear();
        view.events.clear();
    }
};

TEST_F(HostileReplies, SweepRepliesThatDoNotFitAreIgnoredWithALogLine) {
    const struct {
        const char *name;
        std::string payload;
        std::string why;
    } rows[] = {
        {"no adr (it read as BC 0 port 3 before)", "OK_GETZONEzone:{num:5, prt:3}", "нет ключа adr"},
        {"no prt", "OK_GETZONEzone:{num:5, adr:240}", "нет ключа prt"},
        {"no num (it read as zone 0 and removed the line)", "OK_GETZONEzone:{adr:240, prt:3}", "нет ключа num"},
        {"num:65536 (cut to zone 0 it removed the line)", "OK_GETZONEzone:{num:65536, adr:240, prt:3}",
         "номер зоны вне 0..65535: 65536"},
        {"a negative zone", "OK_GETZONEzone:{num:-1, adr:240, prt:3}", "номер зоны вне 0..65535: -1"},
        {"a foreign BC", "OK_GETZONEzone:{num:5, adr:238, prt:1}", "ответил БС:238"},
        {"an address that wraps onto the swept BC", "OK_GETZONEzone:{num:5, adr:496, prt:3}", "ответил БС:496"},
        {"a huge address", "OK_GETZONEzone:{num:5, adr:99999999999999999999999999, prt:3}", "ответил БС:1099511627776"},
        {"port 0", "OK_GETZONEzone:{num:5, adr:240, prt:0}", "порт вне 1..16: 0"},
        {"port 17", "OK_GETZONEzone:{num:5, adr:240, prt:17}", "порт вне 1..16: 17"},
        {"a port that wraps onto port 3", "OK_GETZONEzone:{num:5, adr:240, prt:259}", "порт вне 1..16: 259"},
    };
    const std::string before = BuildProjectText(*project);
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        Sweeping();
        Reply(240, r.payload);
        EXPECT_EQ(log, Lines{kIgnored + r.why});
        EXPECT_EQ(view.events, Lines{}) << "nothing marked, nothing rebuilt";
        EXPECT_EQ(BuildProjectText(*project), before);
    }
    // A fitting reply still merges.
    Sweeping();
    Reply(240, "OK_GETZONEzone:{num:0, adr:240, prt:3}");
    EXPECT_EQ(log, Lines{"Удалена АЛ в проекте (нет номера зоны) AЛ:3"});
    EXPECT_EQ(FindAlLine(*project, 240, 3), nullptr);
}

// Names a device sends: control bytes become blanks, invalid UTF-8 and over-long names stay
// within the field; the saved file reads back to the same project.
TEST_F(HostileReplies, ReceivedNamesNeverSplitOrOverrunTheirRecord) {
    const struct {
        const char *name;
        std::string nam;
        std::string stored;
    } rows[] = {
        {"CR LF in the name", "Лифт\r\nэтаж 2", "Лифт  этаж 2"},
        {"a tab and DEL",
         "A\tB\x7f"
         "C",
         "A B C"},
        {"invalid UTF-8 is kept as bytes", "\xff\xfe\xc3", "\xff\xfe\xc3"},
        {"an over-long name is cut to 32 bytes at a letter", std::string(40, 'x'), std::string(32, 'x')},
        {"a Cyrillic name cut at a letter boundary", "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ"},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        SetUp();
        Sweeping();
        Reply(240, "OK_GETZONEzone:{num:44, adr:240, prt:3, nam:" + r.nam + ", uvp:13.7}");
        const AlLine *line = FindAlLine(*project, 240, 3);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(std::string(line->nam), r.stored);
        EXPECT_FLOAT_EQ(line->uvp, 13.7f) << "the keys behind the name are read";

        auto reread = std::make_unique<Project>();
        ProjectLoadReport report;
        LoadProjectText(*reread, BuildProjectText(*project), report);
        const AlLine *back = FindAlLine(*reread, 240, 3);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(std::string(back->nam), r.stored);
        EXPECT_FLOAT_EQ(back->uvp, 13.7f);
        EXPECT_EQ(BuildProjectText(*reread), BuildProjectText(*project));
    }
}

// A BC that reports the address of another unit of the project would merge the two units'
// lines into duplicate port pairs: refused, nothing changes.
TEST_F(HostileReplies, BcCopyOntoAnotherUnitsAddressIsRefused) {
    ASSERT_TRUE(protocol->ReadSelectedDevice(ReadTarget::Bc, &project->bcUnits[0], nullptr));
    Reply(240, "OK_GETDEVICEdevice:{adr:238, nam:Чужой}");
    const std::string before = BuildProjectText(*project);
    view.events.clear();
    view.answers = {true, true};
    const CopyOutcome out = protocol->CopyToProject();
    EXPECT_FALSE(out.copied || out.setModified || out.askReadPorts);
    EXPECT_EQ(log.back(), "Данные БС не скопированы: адрес БС:238 уже есть в проекте у другого блока");
    EXPECT_EQ(BuildProjectText(*project), before);
    EXPECT_FALSE(protocol->Sweep().IsEnabled()) << "no sweep offered";
}

TEST_F(HostileReplies, ErrorTextInWindows1251IsLoggedInCyrillic) {
    Reply(250, "ERROR_\xcd\xe5\xf2 \xf4\xe0\xe9\xeb\xe0"); // "Нет файла"
    EXPECT_EQ(log, Lines{"Ошибка: ERROR_Нет файла"});
}

// Closing, creating or opening a project: the sweep stops and the read kind is reset, so
// replies still on their way never merge into the next project, nor does a copy.
TEST_F(HostileReplies, ReplacingTheProjectStopsTheSweepAndForgetsTheRead) {
    Sweeping();
    protocol->ProjectReplaced();
    EXPECT_FALSE(protocol->Sweep().IsEnabled());
    EXPECT_EQ(protocol->readKind(), ReadNone);
    const size_t sent = link.sent.size();
    protocol->Exchange().WaitWithEvents(3 * kFast.sweepIntervalMs);
    EXPECT_EQ(link.sent.size(), sent) << "no further GETZONE";

    const std::string before = BuildProjectText(*project);
    Reply(240, "OK_GETZONEzone:{num:9, adr:240, prt:5}");
    EXPECT_EQ(BuildProjectText(*project), before) << "a late reply is not merged";
    view.answers = {true};
    const CopyOutcome out = protocol->CopyToProject();
    EXPECT_FALSE(out.copied);
}

} // namespace
