// Every row of the reply table, in its order, with its exact log texts and effects.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "project.h"
#include "recording_view.h"
#include "reply_dispatcher.h"

namespace {

using Lines = std::vector<std::string>;

struct ReplyCase {
    const char *name;
    std::string payload;
    uint8_t source;
    ReadKind kindBefore;
    Lines events; // what the window layer was asked to do
    Lines log;
    ReadKind kindAfter;
};

class DispatcherFixture : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void Reset() {
        project = std::make_unique<Project>();
        ResetProject(*project);
        view = std::make_unique<RecordingView>();
        log.clear();
        stops = 0;
        dispatcher = std::make_unique<ReplyDispatcher>(
            project.get(), view.get(), [this](const QString &t) { log.push_back(t.toStdString()); },
            [this] { ++stops; });
    }
    void Dispatch(const std::string &payload, uint8_t source) {
        dispatcher->DispatchReply(reinterpret_cast<const uint8_t *>(payload.data()), static_cast<int>(payload.size()),
                                  source);
    }

    std::unique_ptr<Project> project;
    std::unique_ptr<RecordingView> view;
    std::unique_ptr<ReplyDispatcher> dispatcher;
    Lines log;
    int stops = 0;
};

std::vector<ReplyCase> ReplyCases() {
    return {
        // 1
        {"GETSETTING fills the PD compare window",
         "OK_GETSETTINGsetting:{adr:251, nam:Вокзал}",
         251,
         ReadPd,
         {"pd adr=251 nam=Вокзал"},
         {},
         ReadPd},
        {"GETSETTING with a record that does not parse shows nothing",
         "OK_GETSETTINGdevice:{adr:251}",
         251,
         ReadPd,
         {},
         {},
         ReadPd},
        // 2
        {"SETSETTING logs the source without a blank after the colon",
         "OK_SETSETTING",
         250,
         ReadPd,
         {},
         {"Данные настроек ПД:250 записаны"},
         ReadPd},
        // 3
        {"GETDEVICE fills the BC compare window",
         "OK_GETDEVICEdevice:{adr:240, nam:Корпус 2}",
         240,
         ReadBc,
         {"bc adr=240 nam=Корпус 2"},
         {},
         ReadBc},
        {"GETDEVICE with a record that does not parse shows nothing",
         "OK_GETDEVICEzone:{adr:240}",
         240,
         ReadBc,
         {},
         {},
         ReadBc},
        // 4
        {"GETZONE during an AL read fills the AL compare window",
         "OK_GETZONEzone:{num:7, adr:240, prt:3}",
         240,
         ReadAl,
         {"al prt=3 num=7"},
         {},
         ReadAl},
        {"GETZONE after a PD read changes nothing visible",
         "OK_GETZONEzone:{num:7, adr:240, prt:3}",
         240,
         ReadPd,
         {},
         {},
         ReadPd},
        {"GETZONE after a BC read changes nothing visible",
         "OK_GETZONEzone:{num:7, adr:240, prt:3}",
         240,
         ReadBc,
         {},
         {},
         ReadBc},
        {"GETZONE after a scanner BC read changes nothing visible",
         "OK_GETZONEzone:{num:7, adr:240, prt:3}",
         240,
         ReadBcFromScan,
         {},
         {},
         ReadBcFromScan},
        {"GETZONE after a scenario read changes nothing visible",
         "OK_GETZONEzone:{num:7, adr:240, prt:3}",
         240,
         ReadNotify,
         {},
         {},
         ReadNotify},
        // 5
        {"UBVOLT shows the value behind the colon", "OK_UBVOLT:12.5", 250, ReadPd, {"ub 12.5"}, {}, ReadPd},
        {"UBVOLT without a colon shows 0.0", "OK_UBVOLT", 250, ReadPd, {"ub 0.0"}, {}, ReadPd},
        // 6
        {"ALVOLTS shows three values", "OK_ALVOLTS:1.5:22.7:3", 240, ReadAl, {"alvolts uk 1.5 22.7 3.0"}, {}, ReadAl},
        {"ALVOLTS with one value fills the rest with 0.0",
         "OK_ALVOLTS:1.5",
         240,
         ReadAl,
         {"alvolts uk 1.5 0.0 0.0"},
         {},
         ReadAl},
        {"ALVOLTS without a colon shows nothing", "OK_ALVOLTS1.5", 240, ReadAl, {}, {}, ReadAl},
        // 7
        {"ELWLVOLTS shows EAST and WEST", "OK_ELWLVOLTS:12.3:45.6", 240, ReadBc, {"bcvolts 12.3 45.6"}, {}, ReadBc},
        {"ELWLVOLTS with one value shows 0.0 for WEST",
         "OK_ELWLVOLTS:12.3",
         240,
         ReadBc,
         {"bcvolts 12.3 0.0"},
         {},
         ReadBc},
        {"ELWLVOLTS without a colon shows nothing", "OK_ELWLVOLTS", 240, ReadBc, {}, {}, ReadBc},
        // 8
        {"SETDEVICE logs the source", "OK_SETDEVICE", 240, ReadBc, {}, {"Данные настроек БС:240 записаны"}, ReadBc},
        // 9
        {"SETZONE logs the AL number and the BC",
         "OK_SETZONE5",
         240,
         ReadAl,
         {},
         {"Данные настроек АЛ:5 для БС:240 записаны"},
         ReadAl},
        {"SETZONE skips blanks and keeps a sign",
         "OK_SETZONE  -7x",
         241,
         ReadAl,
         {},
         {"Данные настроек АЛ:-7 для БС:241 записаны"},
         ReadAl},
        {"SETZONE without a number logs 0",
         "OK_SETZONE x5",
         242,
         ReadAl,
         {},
         {"Данные настроек АЛ:0 для БС:242 записаны"},
         ReadAl},
        // 10
        {"SERVICE adds a scanner line",
         "OK_SERVICE PD/2.1",
         250,
         ReadPd,
         {"scan Адрес:250 Устройство: PD/2.1"},
         {},
         ReadPd},
        {"SERVICE text arrives in Windows-1251",
         "OK_SERVICE\xC1\xD1",
         240,
         ReadPd,
         {"scan Адрес:240 Устройство:БС"},
         {},
         ReadPd},
        // 11
        {"GETNOTIFY with a scenario 1..10 fills the scenario window",
         "OK_GETNOTIFYnotify:{num:3, zon:7}",
         250,
         ReadPd,
         {"notify num=3"},
         {},
         ReadNotify},
        {"GETNOTIFY with scenario 0 is an error",
         "OK_GETNOTIFYnotify:{num:0}",
         250,
         ReadPd,
         {},
         {"Данные сценария ошибочны"},
         ReadPd},
        {"GETNOTIFY with scenario 11 is an error",
         "OK_GETNOTIFYnotify:{num:11}",
         250,
         ReadPd,
         {},
         {"Данные сценария ошибочны"},
         ReadPd},
        {"GETNOTIFY with a record that does not parse is an error",
         "OK_GETNOTIFYzone:{num:3}",
         250,
         ReadPd,
         {},
         {"Данные сценария ошибочны"},
         ReadPd},
        // 12
        {"SETNOTIFY logs the confirmation", "OK_SETNOTIFY", 250, ReadPd, {}, {"Данные сценария записаны"}, ReadPd},
        // 13
        {"a device error closes the transfer files and is logged",
         "ERROR_PARAMS",
         250,
         ReadPd,
         {"fm close"},
         {"Ошибка: ERROR_PARAMS"},
         ReadPd},
        {"a reply the file manager takes goes nowhere else",
         "ERROR_FILE_NAME",
         250,
         ReadPd,
         {"fm take ERROR_FILE_NAME"},
         {},
         ReadPd},
        {"an unknown reply is dropped without a trace", "OK_HELLO", 250, ReadPd, {}, {}, ReadPd},
        {"a file manager reply is handed to it", "OK_LIST pd.cfg", 250, ReadPd, {"fm take OK_LIST pd.cfg"}, {}, ReadPd},
    };
}

TEST_F(DispatcherFixture, EveryReplyRow) {
    for (const ReplyCase &c : ReplyCases()) {
        SCOPED_TRACE(c.name);
        Reset();
        view->fileManagerClaims = {"OK_LIST", "ERROR_FILE"};
        dispatcher->SetReadKind(c.kindBefore);
        Dispatch(c.payload, c.source);
        EXPECT_EQ(stops, 1) << "every accepted frame ends the repeats";
        EXPECT_EQ(view->events, c.events);
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(dispatcher->readKind(), c.kindAfter);
    }
}

// The file manager is asked only about replies none of the rows above takes: a file manager
// that claims everything must not see a single one of the dispatcher's own OK_ rows.
TEST_F(DispatcherFixture, FileManagerIsAskedOnlyAfterTheDispatchersOwnRows) {
    int rows = 0;
    for (const ReplyCase &c : ReplyCases()) {
        const bool ownRow = c.payload.rfind("OK_", 0) == 0 && (!c.events.empty() || !c.log.empty()) &&
                            (c.events.empty() || c.events.front().rfind("fm take", 0) != 0);
        if (!ownRow)
            continue;
        SCOPED_TRACE(c.name);
        ++rows;
        Reset();
        view->fileManagerClaims = {""}; // every payload starts with ""
        dispatcher->SetReadKind(c.kindBefore);
        Dispatch(c.payload, c.source);
        EXPECT_EQ(view->events, c.events);
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(dispatcher->readKind(), c.kindAfter);
    }
    EXPECT_GE(rows, 10) << "the table's own OK_ rows";
}

TEST_F(DispatcherFixture, VoltagesGoToTheSetTheAlWindowLastMeasured) {
    view->alTarget = AlVoltageSet::Connected;
    Dispatch("OK_ALVOLTS:1.5:2.5:3.5", 240);
    EXPECT_EQ(view->events, Lines{"alvolts uvp 1.5 2.5 3.5"});
}

TEST_F(DispatcherFixture, GetZoneOutsideAReadStillOverwritesTheReceivedLine) {
    dispatcher->SetReadKind(ReadPd);
    Dispatch("OK_GETZONEzone:{num:9, adr:241, prt:4, nam:Зал}", 241);
    const AlLine &al = dispatcher->Received().ReceivedAl;
    EXPECT_EQ(al.num, 9);
    EXPECT_EQ(al.prt, 4);
    EXPECT_STREQ(al.nam, "Зал");
}

TEST_F(DispatcherFixture, ASecondSettingsReplyRefillsTheOpenWindow) {
    Dispatch("OK_GETSETTINGsetting:{adr:250, nam:Один}", 250);
    Dispatch("OK_GETSETTINGsetting:{adr:252, nam:Два}", 252);
    EXPECT_EQ(view->events, (Lines{"pd adr=250 nam=Один", "pd adr=252 nam=Два"}));
    EXPECT_STREQ(dispatcher->Received().ReceivedPd.nam, "Два");
    EXPECT_EQ(dispatcher->Received().ReceivedPd.rss, 19200) << "keys missing from the reply are back at defaults";
}

TEST_F(DispatcherFixture, ScannerKeepsOneLinePerAddressBySubstring) {
    Dispatch("OK_SERVICE PD/2.1", 250);
    Dispatch("OK_SERVICE PD/2.1", 250);
    Dispatch("OK_SERVICE BC/1.0", 25); // "Адрес:25" is found inside "Адрес:250 ..."
    Dispatch("OK_SERVICE BC/1.0", 240);
    EXPECT_EQ(view->scanLines, (QStringList{QString::fromUtf8("Адрес:250 Устройство: PD/2.1"),
                                            QString::fromUtf8("Адрес:240 Устройство: BC/1.0")}));
}

TEST_F(DispatcherFixture, PayloadWithAZeroByteIsReadAsTextUpToIt) {
    const std::string payload("OK_SETZONE3\0garbage", 19);
    Dispatch(payload, 240);
    EXPECT_EQ(log, Lines{"Данные настроек АЛ:3 для БС:240 записаны"});
}

// The AL sweep merge, on a project holding BC 240 with lines on ports 1 and 2.
class SweepMergeFixture : public DispatcherFixture {
protected:
    void SetUp() override {
        Reset();
        BcUnit bc;
        InitDeviceRecord(bc);
        bc.adr = 240;
        AppendBcUnit(*project, bc);
        for (int prt = 1; prt <= 2; ++prt) {
            AlLine al;
            InitZoneRecord(al);
            al.adr = 240;
            al.prt = static_cast<uint8_t>(prt);
            al.num = static_cast<uint16_t>(100 + prt);
            AppendAlLine(*project, al);
        }
        dispatcher->SetReadKind(ReadAllAl);
    }
};

TEST_F(SweepMergeFixture, MergeRows) {
    struct Row {
        const char *name;
        std::string payload;
        Lines events;
        Lines log;
        int alCount;
    };
    const Row rows[] = {
        {"a differing line is copied with its log line",
         "OK_GETZONEzone:{num:555, adr:240, prt:2, nam:Лифт}",
         {"modified", "tree"},
         {"Настройки АЛ в проекте не совпадают с загруженными с устройства. Копирую данные АЛ:2"},
         2},
        {"an equal line is neither copied nor logged", "OK_GETZONEzone:{num:101, adr:240, prt:1}", {"tree"}, {}, 2},
        {"a new line is appended silently", "OK_GETZONEzone:{num:9, adr:240, prt:5}", {"modified", "tree"}, {}, 3},
        {"zone 0 removes the project's line",
         "OK_GETZONEzone:{num:0, adr:240, prt:1}",
         {"modified", "tree"},
         {"Удалена АЛ в проекте (нет номера зоны) AЛ:1"},
         1},
        {"zone 0 without a matching line does nothing", "OK_GETZONEzone:{num:0, adr:240, prt:9}", {}, {}, 2},
        {"a line of another BC is appended, not matched by port alone",
         "OK_GETZONEzone:{num:7, adr:241, prt:1}",
         {"modified", "tree"},
         {},
         3},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        SetUp();
        Dispatch(r.payload, 240);
        EXPECT_EQ(view->events, r.events);
        EXPECT_EQ(log, r.log);
        EXPECT_EQ(project->alCount, r.alCount);
        EXPECT_EQ(dispatcher->readKind(), ReadAllAl);
    }
}

TEST_F(SweepMergeFixture, RemovalLineUsesALatinA) {
    Dispatch("OK_GETZONEzone:{num:0, adr:240, prt:2}", 240);
    ASSERT_EQ(log.size(), 1u);
    const std::string &line = log[0];
    const size_t at = line.rfind("Л:2");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(line[at - 1], 'A') << "the second AЛ starts with the Latin letter";
}

TEST_F(SweepMergeFixture, CopiedLineEqualsTheReceivedOne) {
    Dispatch("OK_GETZONEzone:{num:555, adr:240, prt:2, nam:Лифт, uvp:13.7}", 240);
    const AlLine *line = FindAlLine(*project, 240, 2);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->num, 555);
    EXPECT_STREQ(line->nam, "Лифт");
    EXPECT_FLOAT_EQ(line->uvp, 13.7f);
}

TEST_F(SweepMergeFixture, AFullAlTableRefusesANewLineWithALogLine) {
    AlLine filler;
    InitZoneRecord(filler);
    filler.adr = 200;
    while (project->alCount < kAlCapacity) {
        filler.prt = static_cast<uint8_t>(project->alCount & 0xFF);
        filler.num = static_cast<uint16_t>(project->alCount);
        project->alLines[project->alCount++] = filler;
    }
    Dispatch("OK_GETZONEzone:{num:9, adr:240, prt:5}", 240);
    EXPECT_EQ(project->alCount, kAlCapacity);
    EXPECT_EQ(log, Lines{"Нет места в проекте для новой АЛ, данные не добавлены. АЛ:5 для БС:240"});
    EXPECT_EQ(view->events, Lines{}) << "nothing changed, so nothing is marked or rebuilt";
    // An existing line is still updated when the table is full.
    log.clear();
    Dispatch("OK_GETZONEzone:{num:77, adr:240, prt:1}", 240);
    EXPECT_EQ(FindAlLine(*project, 240, 1)->num, 77);
}

} // namespace
