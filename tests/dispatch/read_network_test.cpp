// Reading the selected device, copying what was read into the project, and the AL sweep.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device_protocol.h"
#include "fake_link.h"
#include "frame.h"
#include "project.h"
#include "read_network.h"
#include "protocol_harness.h"
#include "recording_view.h"

namespace {

using Lines = std::vector<std::string>;
constexpr ProtocolTimings kFast{/*repeatIntervalMs=*/60, /*repeatTransmissions=*/3, /*sweepIntervalMs=*/25};

std::unique_ptr<Project> SmallProject() {
    auto p = std::make_unique<Project>();
    ResetProject(*p);
    p->settings.adr = 251;
    std::strcpy(p->settings.nam, "Старое имя");
    BcUnit bc;
    InitDeviceRecord(bc);
    bc.adr = 240;
    AppendBcUnit(*p, bc);
    AlLine al;
    InitZoneRecord(al);
    al.adr = 240;
    al.prt = 3;
    al.num = 33;
    AppendAlLine(*p, al);
    return p;
}

TEST(ReadRequestFor, WhatTheReadButtonSendsForEachNode) {
    auto p = SmallProject();
    BcUnit *bc = &p->bcUnits[0];
    AlLine *al = &p->alLines[0];
    struct Row {
        const char *name;
        ReadTarget target;
        const BcUnit *bc;
        const AlLine *al;
        bool send;
        ReadKind kind;
        int address;
        const char *command;
    };
    const Row rows[] = {
        {"PD node reads the project's PD address", ReadTarget::Pd, nullptr, nullptr, true, ReadPd, 251, "GETSETTING"},
        {"BC node reads the selected unit", ReadTarget::Bc, bc, nullptr, true, ReadBc, 240, "GETDEVICE"},
        {"BC node without a unit reads nothing", ReadTarget::Bc, nullptr, nullptr, false, ReadNone, 0, ""},
        {"AL node asks the line's BC for its port", ReadTarget::Al, bc, al, true, ReadAl, 240, "GETZONE3"},
        {"AL node without a line reads nothing", ReadTarget::Al, bc, nullptr, false, ReadNone, 0, ""},
        {"any other node reads nothing", ReadTarget::None, bc, al, false, ReadNone, 0, ""},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const ReadRequest q = ReadRequestFor(r.target, *p, r.bc, r.al);
        EXPECT_EQ(q.send, r.send);
        if (!r.send)
            continue;
        EXPECT_EQ(q.kind, r.kind);
        EXPECT_EQ(q.address, r.address);
        EXPECT_EQ(q.command.toStdString(), r.command);
    }
}

class CopyFixture : public ::testing::Test {
protected:
    void SetUp() override {
        project = SmallProject();
        InitSettingRecord(received.ReceivedPd);
        received.ReceivedPd.adr = 252;
        std::strcpy(received.ReceivedPd.nam, "Новое имя");
        InitDeviceRecord(received.ReceivedBc);
        received.ReceivedBc.adr = 240;
        std::strcpy(received.ReceivedBc.nam, "Корпус");
        InitZoneRecord(received.ReceivedAl);
        received.ReceivedAl.adr = 240;
        received.ReceivedAl.prt = 9;
        received.ReceivedAl.num = 77;
        InitNotifyRecord(received.ReceivedNotify);
        received.ReceivedNotify.num = 4;
        received.ReceivedNotify.zon = 77;
    }
    std::unique_ptr<Project> project;
    ReceivedRecords received;
};

TEST_F(CopyFixture, PdCopyTakesTheWholeRecordNameIncluded) {
    const CopyOutcome out = CopyReceivedToProject(*project, ReadPd, received, nullptr, nullptr);
    EXPECT_TRUE(out.copied && out.rebuildTree && out.setModified);
    EXPECT_FALSE(out.askReadPorts);
    EXPECT_EQ(out.log.toStdString(), "Данные ПД скопированы в проект");
    EXPECT_STREQ(project->settings.nam, "Новое имя");
    EXPECT_EQ(project->settings.adr, 252);

    const CopyOutcome again = CopyReceivedToProject(*project, ReadPd, received, nullptr, nullptr);
    EXPECT_TRUE(again.copied);
    EXPECT_FALSE(again.setModified) << "copying the same values changes nothing";
}

TEST_F(CopyFixture, BcCopyGoesOverTheSelectedUnitAndOffersTheSweep) {
    const CopyOutcome out = CopyReceivedToProject(*project, ReadBc, received, &project->bcUnits[0], nullptr);
    EXPECT_TRUE(out.copied && out.rebuildTree && out.askReadPorts && out.setModified);
    EXPECT_EQ(out.log.toStdString(), "Данные БС скопированы в проект");
    EXPECT_STREQ(project->bcUnits[0].nam, "Корпус");

    const CopyOutcome none = CopyReceivedToProject(*project, ReadBc, received, nullptr, nullptr);
    EXPECT_FALSE(none.copied || none.askReadPorts || none.setModified);
    EXPECT_TRUE(none.log.isEmpty()) << "no unit selected: nothing copied, nothing logged";
}

TEST_F(CopyFixture, BcReportingAnotherAddressTakesItsLinesAlong) {
    received.ReceivedBc.adr = 245;
    CopyReceivedToProject(*project, ReadBc, received, &project->bcUnits[0], nullptr);
    EXPECT_EQ(project->bcUnits[0].adr, 245);
    EXPECT_NE(FindAlLine(*project, 245, 3), nullptr);
    EXPECT_EQ(FindAlLine(*project, 240, 3), nullptr);
}

TEST_F(CopyFixture, AlCopyKeepsTheLinesOwnNumber) {
    AlLine *selected = &project->alLines[0];
    const CopyOutcome out = CopyReceivedToProject(*project, ReadAl, received, &project->bcUnits[0], selected);
    EXPECT_TRUE(out.copied && out.rebuildTree && out.setModified);
    EXPECT_EQ(out.log.toStdString(), "Данные АЛ скопированы в проект");
    EXPECT_EQ(selected->prt, 3) << "the device reported 9, the line stays on port 3";
    EXPECT_EQ(selected->num, 77);

    const CopyOutcome none = CopyReceivedToProject(*project, ReadAl, received, &project->bcUnits[0], nullptr);
    EXPECT_FALSE(none.copied);
}

TEST_F(CopyFixture, ScannerBcIsUpdatedOrAddedAndMakesTheProjectSavable) {
    CopyOutcome out = CopyReceivedToProject(*project, ReadBcFromScan, received, nullptr, nullptr);
    EXPECT_EQ(project->bcCount, 1) << "240 exists: updated in place";
    EXPECT_FALSE(out.setProjectOpen);
    EXPECT_TRUE(out.askReadPorts);

    received.ReceivedBc.adr = 246;
    out = CopyReceivedToProject(*project, ReadBcFromScan, received, nullptr, nullptr);
    EXPECT_EQ(project->bcCount, 2);
    EXPECT_EQ(project->bcUnits[1].adr, 246) << "appended as the last BC";
    EXPECT_TRUE(out.setProjectOpen && out.setModified && out.askReadPorts && out.rebuildTree);
    EXPECT_EQ(out.log.toStdString(), "Данные БС скопированы в проект");
}

TEST_F(CopyFixture, ScannerBcIntoAFullTableIsRefusedWithALogLine) {
    BcUnit filler;
    InitDeviceRecord(filler);
    while (project->bcCount < kBcCapacity) {
        filler.adr = static_cast<uint8_t>(project->bcCount == 240 ? 0 : project->bcCount);
        project->bcUnits[project->bcCount++] = filler;
    }
    received.ReceivedBc.adr = 247;
    project->bcUnits[247].adr = 1; // make sure 247 is not present
    const CopyOutcome out = CopyReceivedToProject(*project, ReadBcFromScan, received, nullptr, nullptr);
    EXPECT_FALSE(out.copied || out.askReadPorts || out.setModified || out.rebuildTree);
    EXPECT_EQ(out.log.toStdString(), "Нет места в проекте для нового БС, данные не добавлены. БС:247");
    EXPECT_EQ(project->bcCount, kBcCapacity);
}

TEST_F(CopyFixture, ScenarioCopyNeedsANumberFrom1To10) {
    CopyOutcome out = CopyReceivedToProject(*project, ReadNotify, received, nullptr, nullptr);
    EXPECT_TRUE(out.copied && out.reshowNotifyEditor && out.setModified);
    EXPECT_EQ(out.log.toStdString(), "Данные сценария скопированы в проект");
    EXPECT_EQ(project->notifies[4].zon, 77);
    for (int bad : {0, 11}) {
        received.ReceivedNotify.num = static_cast<uint8_t>(bad);
        out = CopyReceivedToProject(*project, ReadNotify, received, nullptr, nullptr);
        EXPECT_FALSE(out.copied) << "scenario " << bad;
    }
}

TEST_F(CopyFixture, AfterASweepTheCopyButtonCopiesNothing) {
    const CopyOutcome out =
        CopyReceivedToProject(*project, ReadAllAl, received, &project->bcUnits[0], &project->alLines[0]);
    EXPECT_FALSE(out.copied || out.rebuildTree || out.setModified);
    EXPECT_TRUE(out.log.isEmpty());
}

// The whole read -> reply -> copy -> sweep path with a fake port and a scripted window layer.
class ProtocolFixture : public ProtocolHarness {
protected:
    void SetUp() override {
        project = SmallProject();
        StartProtocol(kFast);
    }
};

TEST_F(ProtocolFixture, CopyAsksFirstAndNoChangesNothing) {
    ASSERT_TRUE(protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr));
    Reply(251, "OK_GETSETTINGsetting:{adr:251, nam:Новое}");
    view.events.clear();
    view.answers = {false};
    protocol->CopyToProject();
    EXPECT_EQ(view.events, Lines{"ask Копирование данных: Скопировать данные в проект ?"});
    EXPECT_STREQ(project->settings.nam, "Старое имя");
    EXPECT_TRUE(log.empty());
}

TEST_F(ProtocolFixture, BcReadCopyAndSweep) {
    ASSERT_TRUE(protocol->ReadSelectedDevice(ReadTarget::Bc, &project->bcUnits[0], nullptr));
    EXPECT_EQ(link.SentPayload(0), "GETDEVICE");
    Reply(240, "OK_GETDEVICEdevice:{adr:240, nam:Корпус}");
    EXPECT_FALSE(protocol->Exchange().RepeatsActive());

    view.events.clear();
    link.sent.clear();
    view.answers = {true, true};
    protocol->CopyToProject();
    EXPECT_EQ(view.events, (Lines{"ask Копирование данных: Скопировать данные в проект ?", "tree", "modified",
                                  "ask Копирование данных: Скопировать данные портов устройства в проект ?"}));
    EXPECT_TRUE(protocol->Sweep().IsEnabled());

    // Nobody answers here (the end-to-end tests have a BC that does): the pacing and
    // the log lines are the point.
    // Until the sweep ends (17 ticks), however late a loaded machine runs the timer.
    for (int i = 0; i < 500 && protocol->Sweep().IsEnabled(); ++i)
        protocol->Exchange().WaitWithEvents(10);
    ASSERT_EQ(link.sent.size(), 16u);
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(link.SentPayload(i), "GETZONE" + std::to_string(i + 1));
        EXPECT_EQ(static_cast<uint8_t>(link.sent[i].bytes[0]), 240);
    }
    // One request per interval, never two in a burst: the BC answers each in its own time.
    // The timer keeps its schedule (a late tick makes the next gap shorter), so the n-th
    // request comes no earlier than n intervals after the first; 1 ms is the stamps' rounding.
    for (size_t i = 1; i < 16; ++i)
        EXPECT_GE(link.sent[i].atMs - link.sent[0].atMs, static_cast<qint64>(i) * kFast.sweepIntervalMs - 1)
            << "GETZONE" << i + 1;
    Lines expected{"Данные БС скопированы в проект"};
    for (int n = 1; n <= 16; ++n)
        expected.push_back("Читаю данные АЛ:" + std::to_string(n));
    expected.push_back("Данные всех АЛ прочитаны");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(protocol->readKind(), ReadAllAl);
    EXPECT_FALSE(protocol->Sweep().IsEnabled());

    // A reply after the closing line is still merged.
    log.clear();
    Reply(240, "OK_GETZONEzone:{num:0, adr:240, prt:3}");
    EXPECT_EQ(log, Lines{"Удалена АЛ в проекте (нет номера зоны) AЛ:3"});

    // And the copy button now copies nothing.
    view.events.clear();
    view.answers = {true};
    const CopyOutcome out = protocol->CopyToProject();
    EXPECT_FALSE(out.copied);
    EXPECT_EQ(view.events, Lines{"ask Копирование данных: Скопировать данные в проект ?"});
}

TEST_F(ProtocolFixture, AnsweringNoToTheSweepStillLeavesTheBcCopied) {
    protocol->ReadSelectedDevice(ReadTarget::Bc, &project->bcUnits[0], nullptr);
    Reply(240, "OK_GETDEVICEdevice:{adr:240, nam:Корпус}");
    view.answers = {true, false};
    protocol->CopyToProject();
    EXPECT_STREQ(project->bcUnits[0].nam, "Корпус");
    EXPECT_FALSE(protocol->Sweep().IsEnabled());
}

TEST_F(ProtocolFixture, RestartingTheSweepStartsAgainAtAl1) {
    protocol->Sweep().Start(240);
    protocol->Exchange().WaitWithEvents(3 * kFast.sweepIntervalMs + kFast.sweepIntervalMs / 2);
    const int sentBefore = static_cast<int>(link.sent.size());
    ASSERT_GE(sentBefore, 2);
    protocol->Sweep().Start(241);
    protocol->Exchange().WaitWithEvents(kFast.sweepIntervalMs + kFast.sweepIntervalMs / 2);
    ASSERT_GT(link.sent.size(), static_cast<size_t>(sentBefore));
    EXPECT_EQ(link.SentPayload(sentBefore), "GETZONE1");
    EXPECT_EQ(static_cast<uint8_t>(link.sent[sentBefore].bytes[0]), 241);
}

TEST_F(ProtocolFixture, AnOpenCompareWindowCopiesByTheNewestRead) {
    // The AL window was filled, then the user read the PD; copying now takes the PD.
    protocol->ReadSelectedDevice(ReadTarget::Al, &project->bcUnits[0], &project->alLines[0]);
    Reply(240, "OK_GETZONEzone:{num:77, adr:240, prt:3}");
    protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr);
    Reply(251, "OK_GETSETTINGsetting:{adr:251, nam:Новое}");
    view.answers = {true};
    protocol->CopyToProject();
    EXPECT_STREQ(project->settings.nam, "Новое");
    EXPECT_EQ(project->alLines[0].num, 33) << "the AL line is untouched";
    EXPECT_EQ(log.back(), "Данные ПД скопированы в проект");
}

// A compare window stays open while the user works on: the copy goes to the record the
// read was sent for, wherever the table has moved it, or is refused once it is gone.
TEST_F(ProtocolFixture, CopyGoesToTheRecordTheReadWasFor) {
    enum class Target { Pd, Bc, Al };
    struct Row {
        const char *name;
        Target target;
        std::function<void(Project &, DeviceProtocol &)> meanwhile;
        const char *log;
    };
    auto deleteBc = [](uint8_t adr) {
        return [adr](Project &p, DeviceProtocol &) { DeleteBcUnit(p, FindBcUnit(p, adr)); };
    };
    auto deleteAl = [](uint8_t adr, uint16_t prt) {
        return [adr, prt](Project &p, DeviceProtocol &) { DeleteAlLineAt(p, FindAlLine(p, adr, prt)); };
    };
    auto replaced = [](Project &p, DeviceProtocol &d) {
        d.ProjectReplaced();
        ResetProject(p);
    };
    const Row rows[] = {
        {"BC untouched", Target::Bc, {}, "Данные БС скопированы в проект"},
        {"BC moved to another slot by a deletion", Target::Bc, deleteBc(238), "Данные БС скопированы в проект"},
        {"BC deleted", Target::Bc, deleteBc(240), "В проекте нет БС:240, данные БС не скопированы"},
        {"BC renumbered", Target::Bc, [](Project &p, DeviceProtocol &) { FindBcUnit(p, 240)->adr = 241; },
         "В проекте нет БС:240, данные БС не скопированы"},
        {"BC, project closed", Target::Bc, replaced, "Проект закрыт или заменён после чтения, данные не скопированы"},
        {"AL untouched", Target::Al, {}, "Данные АЛ скопированы в проект"},
        {"AL moved to another slot by a deletion", Target::Al, deleteAl(238, 4), "Данные АЛ скопированы в проект"},
        {"AL deleted", Target::Al, deleteAl(240, 3), "В проекте нет АЛ:3 на БС:240, данные АЛ не скопированы"},
        {"AL's BC deleted", Target::Al, deleteBc(240), "В проекте нет БС:240, данные БС не скопированы"},
        {"AL, project closed", Target::Al, replaced, "Проект закрыт или заменён после чтения, данные не скопированы"},
        {"PD untouched", Target::Pd, {}, "Данные ПД скопированы в проект"},
        {"PD, project closed", Target::Pd, replaced, "Проект закрыт или заменён после чтения, данные не скопированы"},
        {"PD, project closed and the read kind reset", Target::Pd,
         [&](Project &p, DeviceProtocol &d) {
             replaced(p, d);
             d.Dispatcher().SetReadKind(ReadNone);
         },
         "Проект закрыт или заменён после чтения, данные не скопированы"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        // BC 238 (lines 4, 1) first in the table, then the project's BC 240 with line 3.
        project = SmallProject();
        BcUnit other;
        InitDeviceRecord(other);
        other.adr = 238;
        AppendBcUnit(*project, other);
        std::swap(project->bcUnits[0], project->bcUnits[1]);
        for (uint16_t prt : {4, 1}) {
            AlLine al;
            InitZoneRecord(al);
            al.adr = 238;
            al.prt = prt;
            al.num = uint16_t(100 + prt);
            AppendAlLine(*project, al);
        }
        std::swap(project->alLines[0], project->alLines[1]);
        log.clear();
        StartProtocol(kFast);

        switch (r.target) {
        case Target::Pd:
            ASSERT_TRUE(protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr));
            Reply(251, "OK_GETSETTINGsetting:{adr:251, nam:Прочитано}");
            break;
        case Target::Bc:
            ASSERT_TRUE(protocol->ReadSelectedDevice(ReadTarget::Bc, FindBcUnit(*project, 240), nullptr));
            Reply(240, "OK_GETDEVICEdevice:{adr:240, nam:Прочитано}");
            break;
        case Target::Al:
            ASSERT_TRUE(
                protocol->ReadSelectedDevice(ReadTarget::Al, FindBcUnit(*project, 240), FindAlLine(*project, 240, 3)));
            Reply(240, "OK_GETZONEzone:{num:77, adr:240, prt:3, nam:Прочитано}");
            break;
        }
        if (r.meanwhile)
            r.meanwhile(*project, *protocol);
        const int bcBefore = project->bcCount, alBefore = project->alCount;
        view.answers = {true, false};
        const CopyOutcome out = protocol->CopyToProject();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), r.log);
        const bool refused = std::string(r.log).rfind("Данные", 0) != 0;
        EXPECT_EQ(out.copied, !refused);
        // Only the record read took the device's name; nothing else changed.
        int named = 0;
        for (int i = 0; i < project->bcCount; ++i)
            named += std::strcmp(project->bcUnits[i].nam, "Прочитано") == 0;
        for (int i = 0; i < project->alCount; ++i)
            named += std::strcmp(project->alLines[i].nam, "Прочитано") == 0;
        named += std::strcmp(project->settings.nam, "Прочитано") == 0;
        EXPECT_EQ(named, refused ? 0 : 1);
        if (refused)
            continue;
        if (r.target == Target::Bc) {
            EXPECT_STREQ(FindBcUnit(*project, 240)->nam, "Прочитано");
        }
        if (r.target == Target::Al) {
            ASSERT_NE(FindAlLine(*project, 240, 3), nullptr);
            EXPECT_STREQ(FindAlLine(*project, 240, 3)->nam, "Прочитано");
            EXPECT_EQ(FindAlLine(*project, 240, 3)->num, 77);
        }
        EXPECT_EQ(project->bcCount, bcBefore);
        EXPECT_EQ(project->alCount, alBefore);
    }
}

} // namespace
