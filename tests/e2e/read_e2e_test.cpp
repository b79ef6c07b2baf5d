// Reading the simulated network through the real serial component: PD, BC with the AL
// sweep at its real pace, AL, and a compare window left open across reads.
#include <gtest/gtest.h>

#include <cstring>

#include "record_compare.h"
#include "sim_demo.h"
#include "sim_harness.h"
#include "text_utils.h"

namespace {

constexpr int kBaud = 115200;
constexpr ProtocolTimings kQuick{/*repeatIntervalMs=*/400, /*repeatTransmissions=*/3, /*sweepIntervalMs=*/500};

// The program's own project: the demo network as it was planned, with differences the
// devices will report back.
std::unique_ptr<Project> PlannedProject() {
    auto p = MakeDemoProject();
    CopyText(p->settings.nam, sizeof p->settings.nam, "Мой проект");
    return p;
}

class ReadE2e : public ::testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<SimHarness>(kBaud);
        program = std::make_unique<ProgramSide>(sim->comNumber(), kBaud, PlannedProject(), kQuick);
    }
    void TearDown() override {
        program.reset();
        sim.reset();
    }
    std::unique_ptr<SimHarness> sim;
    std::unique_ptr<ProgramSide> program;
};

TEST_F(ReadE2e, PdReadFillsTheCompareWindowAndCopiesIntoTheProject) {
    ASSERT_TRUE(program->protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr));
    ASSERT_TRUE(program->WaitFor([&] { return program->CountEvents("pd ") == 1; }, 3000));
    const PdSettings device = sim->withNetwork([](SimNetwork &n) { return n.project().settings; });
    EXPECT_TRUE(SameRecord(program->protocol->Dispatcher().Received().ReceivedPd, device));
    EXPECT_FALSE(program->protocol->Exchange().RepeatsActive());

    program->view.events.clear();
    program->view.answers = {true};
    program->protocol->CopyToProject();
    EXPECT_EQ(program->view.events,
              (std::vector<std::string>{"ask Копирование данных: Скопировать данные в проект ?", "tree", "modified"}));
    EXPECT_STREQ(program->project->settings.nam, device.nam) << "the project takes the PD's name";
    EXPECT_TRUE(SameRecord(program->project->settings, device));
    EXPECT_TRUE(program->Logged("Данные ПД скопированы в проект"));
}

TEST_F(ReadE2e, BcReadCopyAndSweepAtItsRealPace) {
    // Planned: port 1 named differently, port 2 as the device has it, port 3 a line the
    // device does not have. The device also has a port 5 the plan lacks.
    Project &p = *program->project;
    AlLine *port1 = FindAlLine(p, 240, 1);
    ASSERT_NE(port1, nullptr);
    CopyText(port1->nam, sizeof port1->nam, "Другое имя");
    AlLine extra = *port1;
    extra.prt = 3;
    extra.num = 999;
    AppendAlLine(p, extra);
    sim->withNetwork([](SimNetwork &n) {
        AlLine l = *FindAlLine(n.project(), 240, 2);
        l.prt = 5;
        l.num = 205;
        CopyText(l.nam, sizeof l.nam, "Новая");
        AppendAlLine(n.project(), l);
        return 0;
    });

    BcUnit *bc = FindBcUnit(p, 240);
    ASSERT_TRUE(program->protocol->ReadSelectedDevice(ReadTarget::Bc, bc, nullptr));
    ASSERT_TRUE(program->WaitFor([&] { return program->CountEvents("bc ") == 1; }, 3000));
    program->view.answers = {true, true};
    program->log.clear();
    program->protocol->CopyToProject();
    ASSERT_TRUE(program->protocol->Sweep().IsEnabled());
    ASSERT_TRUE(program->WaitFor([&] { return program->Logged("Данные всех АЛ прочитаны"); }, 12000));
    program->Wait(100); // the last reply may still be on the line

    std::vector<qint64> reading;
    qint64 doneAt = 0;
    for (const LogLine &l : program->log) {
        if (l.text.rfind("Читаю данные АЛ:", 0) == 0) {
            EXPECT_EQ(l.text, "Читаю данные АЛ:" + std::to_string(reading.size() + 1));
            reading.push_back(l.atMs);
        }
        if (l.text == "Данные всех АЛ прочитаны")
            doneAt = l.atMs;
    }
    ASSERT_EQ(reading.size(), 16u);
    for (size_t i = 1; i < reading.size(); ++i) {
        EXPECT_GE(reading[i] - reading[i - 1], 450) << "AL " << i + 1;
        EXPECT_LE(reading[i] - reading[i - 1], 650) << "AL " << i + 1;
    }
    EXPECT_GE(doneAt - reading.back(), 450);
    EXPECT_LE(doneAt - reading.back(), 650);

    EXPECT_TRUE(
        program->Logged("Настройки АЛ в проекте не совпадают с загруженными с устройства. Копирую данные АЛ:1"));
    EXPECT_FALSE(
        program->Logged("Настройки АЛ в проекте не совпадают с загруженными с устройства. Копирую данные АЛ:2"));
    EXPECT_TRUE(program->Logged("Удалена АЛ в проекте (нет номера зоны) AЛ:3"));
    EXPECT_TRUE(program->Logged("Данные БС скопированы в проект"));

    sim->withNetwork([&](SimNetwork &n) {
        for (int prt : {1, 2, 5}) {
            const AlLine *mine = FindAlLine(p, 240, static_cast<uint16_t>(prt));
            EXPECT_NE(mine, nullptr) << "port " << prt;
            if (mine) {
                EXPECT_TRUE(SameRecord(*mine, *FindAlLine(n.project(), 240, static_cast<uint16_t>(prt)))) << prt;
            }
        }
        return 0;
    });
    EXPECT_EQ(FindAlLine(p, 240, 3), nullptr);
    EXPECT_EQ(FindAlLine(p, 240, 4), nullptr) << "a port without a zone adds nothing";
    // The merges went through the one dispatcher; each request was answered exactly once.
    size_t zoneReplies = 0;
    for (const DispatchedFrame &f : program->dispatched)
        zoneReplies += f.payload.rfind("OK_GETZONE", 0) == 0;
    EXPECT_EQ(zoneReplies, 16u);
}

TEST_F(ReadE2e, AlReadAndCopyKeepsTheLinesOwnNumber) {
    Project &p = *program->project;
    BcUnit *bc = FindBcUnit(p, 238);
    AlLine *al = FindAlLine(p, 238, 2);
    ASSERT_TRUE(bc && al);
    CopyText(al->nam, sizeof al->nam, "Не так");
    ASSERT_TRUE(program->protocol->ReadSelectedDevice(ReadTarget::Al, bc, al));
    ASSERT_TRUE(program->WaitFor([&] { return program->CountEvents("al ") == 1; }, 3000));
    EXPECT_EQ(program->protocol->readKind(), ReadAl);

    program->view.answers = {true};
    program->protocol->CopyToProject();
    EXPECT_EQ(al->prt, 2);
    const AlLine device = sim->withNetwork([](SimNetwork &n) { return *FindAlLine(n.project(), 238, 2); });
    EXPECT_TRUE(SameRecord(*al, device));
    EXPECT_TRUE(program->Logged("Данные АЛ скопированы в проект"));
}

TEST_F(ReadE2e, AnOpenCompareWindowCopiesByTheNewestRead) {
    Project &p = *program->project;
    BcUnit *bc = FindBcUnit(p, 238);
    AlLine *al = FindAlLine(p, 238, 2);
    const AlLine before = *al;
    program->protocol->ReadSelectedDevice(ReadTarget::Al, bc, al);
    ASSERT_TRUE(program->WaitFor([&] { return program->CountEvents("al ") == 1; }, 3000));
    program->protocol->ReadSelectedDevice(ReadTarget::Pd, nullptr, nullptr);
    ASSERT_TRUE(program->WaitFor([&] { return program->CountEvents("pd ") == 1; }, 3000));
    // The AL window is still open; its copy button now copies the PD.
    program->view.answers = {true};
    program->protocol->CopyToProject();
    EXPECT_TRUE(program->Logged("Данные ПД скопированы в проект"));
    EXPECT_FALSE(program->Logged("Данные АЛ скопированы в проект"));
    EXPECT_TRUE(SameRecord(*al, before));
}

} // namespace
