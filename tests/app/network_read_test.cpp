// Reading the simulated network through the main window: the read button, the compare
// windows, the copy question and what the project, the tree and the log show afterwards.
#include <cstring>

#include <QAction>
#include <QLabel>

#include "TCommPort.h"
#include "device_protocol.h"
#include "network_fixture.h"
#include "read_back_window.h"
#include "record_compare.h"
#include "text_utils.h"

namespace {

const QString kCopyCaption = "Копирование данных";
const QString kCopyQuestion = "Скопировать данные в проект ?";
const QString kPortsQuestion = "Скопировать данные портов устройства в проект ?";

class NetworkRead : public NetworkFixture {
protected:
    // Selects `node`, presses the read button and waits for `window` to come up.
    void readInto(const QString &node, const char *windowName) {
        click(node);
        press("bdReadCom");
        ASSERT_TRUE(waitFor([&] { return window(windowName)->isVisible(); }, 3000))
            << windowName << " did not open for " << node.toStdString();
    }
    std::vector<QString> questions() const {
        std::vector<QString> out;
        for (const auto &a : m_dialogs.asked())
            if (a.kind == ScriptedDialogs::Kind::YesNo)
                out.push_back(a.caption + ": " + a.text);
        return out;
    }
    PdSettings devicePd() {
        return withNetwork([](SimNetwork &n) { return n.project().settings; });
    }
    AlLine deviceAl(uint8_t bc, uint16_t prt) {
        return withNetwork([&](SimNetwork &n) { return *FindAlLine(n.project(), bc, prt); });
    }
};

TEST_F(NetworkRead, PdReadShowsTheDeviceAndCopyTakesItsRecordNameIncluded) {
    openDemoProject();
    readInto("ПД:250", "TfrReadParams");
    EXPECT_EQ(shown("TfrReadParams", "edPdAddr"), "250");
    EXPECT_EQ(shown("TfrReadParams", "edPdStatus"), "Ведущий");
    EXPECT_EQ(shown("TfrReadParams", "edPdUb"), "12.0");
    EXPECT_FALSE(main().protocol().Exchange().RepeatsActive()) << "the reply ended the repeats";
    EXPECT_FALSE(main().IsModified()) << "reading alone changes nothing";

    m_dialogs.yes();
    pressCopy("TfrReadParams");
    EXPECT_EQ(questions(), std::vector<QString>{kCopyCaption + ": " + kCopyQuestion});
    EXPECT_STREQ(project().settings.nam, "Демо-сеть ТАЛВИК") << "the project takes the PD's name";
    EXPECT_TRUE(SameRecord(project().settings, devicePd()));
    EXPECT_EQ(find<QLabel>("pnProjectName")->text(), "Демо-сеть ТАЛВИК");
    EXPECT_TRUE(main().IsModified());
    EXPECT_TRUE(logged("Данные ПД скопированы в проект"));
    EXPECT_FALSE(window("TfrReadParams")->isVisible()) << "copy closes the window";
    // Rebuilt: every node is back and the PD is shown again, with what was copied.
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:238", "БС:240"}));
    ASSERT_NE(tree()->currentItem(), nullptr);
    EXPECT_EQ(tree()->currentItem()->text(0), "ПД:250");
    EXPECT_EQ(currentPage(), "tsPD");
    EXPECT_EQ(find<QLineEdit>("edPdUb")->text(), "12.0");
}

TEST_F(NetworkRead, AnsweringNoToTheCopyQuestionLeavesTheProjectAlone) {
    openDemoProject();
    readInto("ПД:250", "TfrReadParams");
    m_dialogs.no();
    pressCopy("TfrReadParams");
    EXPECT_STREQ(project().settings.nam, "Мой проект");
    EXPECT_FALSE(main().IsModified());
    EXPECT_FALSE(logged("Данные ПД скопированы в проект"));
}

TEST_F(NetworkRead, SecondReplyRefillsTheOpenWindowInPlace) {
    openDemoProject();
    readInto("ПД:250", "TfrReadParams");
    withNetwork([](SimNetwork &n) { return n.project().settings.ubs = 13.5f; });
    click("ПД:250");
    press("bdReadCom");
    ASSERT_TRUE(waitFor([&] { return shown("TfrReadParams", "edPdUb") == "13.5"; }, 3000));
    EXPECT_TRUE(window("TfrReadParams")->isVisible());
}

TEST_F(NetworkRead, BcCopyThenTheSweepMergesAllSixteenLinesAtItsPace) {
    // Planned: AL 1 named differently, AL 2 as the device has it, AL 3 a line the device
    // has no zone on. The device also has an AL 5 the plan lacks.
    openDemoProject([](Project &p) {
        CopyTextUtf8(FindAlLine(p, 240, 1)->nam, sizeof(AlLine::nam), "Другое имя");
        AlLine extra = *FindAlLine(p, 240, 1);
        extra.prt = 3;
        extra.num = 999;
        AppendAlLine(p, extra);
    });
    withNetwork([](SimNetwork &n) {
        AlLine l = *FindAlLine(n.project(), 240, 2);
        l.prt = 5;
        l.num = 205;
        CopyTextUtf8(l.nam, sizeof l.nam, "Новая");
        return AppendAlLine(n.project(), l);
    });

    readInto("БС:240", "TfrReadParamsBc");
    EXPECT_EQ(shown("TfrReadParamsBc", "edBcAddr"), "240");
    EXPECT_EQ(shown("TfrReadParamsBc", "edBcName"), "БС-16 корпус Б");
    m_dialogs.yes();
    m_dialogs.yes();
    m_log.clear();
    pressCopy("TfrReadParamsBc");
    EXPECT_EQ(questions(),
              (std::vector<QString>{kCopyCaption + ": " + kCopyQuestion, kCopyCaption + ": " + kPortsQuestion}));
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.front().text, "Данные БС скопированы в проект");
    ASSERT_TRUE(waitFor([&] { return logged("Данные всех АЛ прочитаны"); }, 12000));
    wait(100); // the last reply may still be on the line

    std::vector<qint64> reading;
    qint64 doneAt = 0;
    for (const LogLine &l : m_log) {
        if (l.text.startsWith("Читаю данные АЛ:")) {
            EXPECT_EQ(l.text, "Читаю данные АЛ:" + QString::number(reading.size() + 1));
            reading.push_back(l.atMs);
        }
        if (l.text == "Данные всех АЛ прочитаны")
            doneAt = l.atMs;
    }
    ASSERT_EQ(reading.size(), 16u);
    for (size_t i = 1; i < reading.size(); ++i) {
        EXPECT_GE(reading[i] - reading[i - 1], 400) << "AL " << i + 1;
        EXPECT_LE(reading[i] - reading[i - 1], 700) << "AL " << i + 1;
    }
    EXPECT_GE(doneAt - reading.back(), 400);
    EXPECT_LE(doneAt - reading.back(), 700);

    EXPECT_EQ(countLogged("Настройки АЛ в проекте не совпадают с загруженными с устройства. Копирую данные АЛ:1"), 1);
    EXPECT_FALSE(logged("Настройки АЛ в проекте не совпадают с загруженными с устройства. Копирую данные АЛ:2"));
    EXPECT_EQ(countLogged("Удалена АЛ в проекте (нет номера зоны) AЛ:3"), 1) << "with the Latin A";
    for (uint16_t prt : {1, 2, 5}) {
        const AlLine *mine = FindAlLine(project(), 240, prt);
        ASSERT_NE(mine, nullptr) << "AL " << prt;
        EXPECT_TRUE(SameRecord(*mine, deviceAl(240, prt))) << "AL " << prt;
    }
    EXPECT_EQ(FindAlLine(project(), 240, 3), nullptr);
    EXPECT_EQ(FindAlLine(project(), 240, 4), nullptr) << "a port without a zone adds nothing";
    EXPECT_NE(node("АЛ:5:Зона:205"), nullptr) << "the new line is in the tree";
    EXPECT_EQ(node("АЛ:3:Зона:999"), nullptr);
    EXPECT_TRUE(main().IsModified());
    EXPECT_FALSE(main().protocol().Sweep().IsEnabled());
}

TEST_F(NetworkRead, AnsweringNoToTheSweepStillLeavesTheBcCopied) {
    openDemoProject([](Project &p) { CopyTextUtf8(FindBcUnit(p, 238)->nam, sizeof(BcUnit::nam), "Старое"); });
    readInto("БС:238", "TfrReadParamsBc");
    m_dialogs.yes();
    m_dialogs.no();
    pressCopy("TfrReadParamsBc");
    EXPECT_STREQ(FindBcUnit(project(), 238)->nam, "БС-16 корпус А");
    EXPECT_TRUE(logged("Данные БС скопированы в проект"));
    EXPECT_FALSE(main().protocol().Sweep().IsEnabled());
    wait(700);
    EXPECT_FALSE(logged("Читаю данные АЛ:1"));
}

TEST_F(NetworkRead, AlReadAndCopyRestoresTheLineAsTheDeviceHasIt) {
    openDemoProject([](Project &p) { CopyTextUtf8(FindAlLine(p, 238, 2)->nam, sizeof(AlLine::nam), "Не так"); });
    readInto("АЛ:2:Зона:102", "TfrReadParamsZone");
    EXPECT_EQ(shown("TfrReadParamsZone", "edAlNumber"), "2");
    EXPECT_EQ(shown("TfrReadParamsZone", "edAlName"), "Вестибюль");
    EXPECT_EQ(main().protocol().readKind(), ReadAl);
    m_dialogs.yes();
    pressCopy("TfrReadParamsZone");
    EXPECT_TRUE(SameRecord(*FindAlLine(project(), 238, 2), deviceAl(238, 2)));
    EXPECT_TRUE(logged("Данные АЛ скопированы в проект"));
    EXPECT_TRUE(main().IsModified());
}

// The compare window covers the page, so users click the main window while it is open:
// the copy still goes to the record that was read.
TEST_F(NetworkRead, AlCopiedAfterClickingAnotherLineLandsOnTheLineRead) {
    openDemoProject([](Project &p) { std::strcpy(FindAlLine(p, 238, 2)->nam, "Старое"); });
    const AlLine line3 = *FindAlLine(project(), 238, 3);
    readInto("АЛ:2:Зона:102", "TfrReadParamsZone");
    click("АЛ:3:Зона:103");
    m_dialogs.yes();
    pressCopy("TfrReadParamsZone");
    EXPECT_TRUE(SameRecord(*FindAlLine(project(), 238, 2), deviceAl(238, 2)));
    EXPECT_TRUE(SameRecord(*FindAlLine(project(), 238, 3), line3)) << "the line clicked afterwards is untouched";
    EXPECT_TRUE(logged("Данные АЛ скопированы в проект"));
}

TEST_F(NetworkRead, BcCopiedAfterClickingAnotherUnitLandsOnTheUnitRead) {
    openDemoProject([](Project &p) { std::strcpy(FindBcUnit(p, 238)->nam, "Старое"); });
    const BcUnit bc240 = *FindBcUnit(project(), 240);
    const int lines240 = int(node("БС:240")->childCount());
    readInto("БС:238", "TfrReadParamsBc");
    click("БС:240");
    m_dialogs.yes();
    m_dialogs.no(); // no sweep
    pressCopy("TfrReadParamsBc");
    EXPECT_STRNE(FindBcUnit(project(), 238)->nam, "Старое");
    EXPECT_TRUE(SameRecord(*FindBcUnit(project(), 240), bc240));
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:238", "БС:240"})) << "no second БС:238";
    EXPECT_EQ(node("БС:240")->childCount(), lines240) << "BC 240 keeps its lines";
}

TEST_F(NetworkRead, LineDeletedWhileTheCopyQuestionIsOpenRefusesTheCopy) {
    openDemoProject();
    readInto("АЛ:2:Зона:102", "TfrReadParamsZone");
    // Behind the open question a sweep merge removes the line read: the table's last
    // line moves into its slot and the tree is rebuilt.
    m_dialogs.whileNextQuestion([&] {
        ASSERT_TRUE(DeleteAlLine(project(), 238, 2));
        main().RebuildNetworkTree();
    });
    m_dialogs.yes();
    pressCopy("TfrReadParamsZone");
    const AlLine *moved = FindAlLine(project(), 240, 2);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->num, 202);
    EXPECT_STREQ(moved->nam, "Склад");
    EXPECT_FALSE(logged("Данные АЛ скопированы в проект"));
    EXPECT_TRUE(logged("В проекте нет АЛ:2 на БС:238, данные АЛ не скопированы"));
}

TEST_F(NetworkRead, PdCopiedAfterClosingTheProjectIsRefusedAndTheProjectStaysClosed) {
    openDemoProject();
    readInto("ПД:250", "TfrReadParams");
    main().miCloseProjectClick();
    m_dialogs.yes();
    pressCopy("TfrReadParams");
    EXPECT_TRUE(logged("Проект закрыт или заменён после чтения, данные не скопированы"));
    EXPECT_FALSE(logged("Данные ПД скопированы в проект"));
    EXPECT_FALSE(main().IsProjectOpen());
    EXPECT_FALSE(main().IsModified());
    EXPECT_FALSE(find<QAction>("miSave")->isEnabled());
    EXPECT_EQ(tree()->topLevelItemCount(), 0) << "no half-open project in the tree";
    EXPECT_TRUE(find<QLabel>("pnProjectName")->text().isEmpty());
}

TEST_F(NetworkRead, CompareWindowLeftOpenCopiesByTheNewestRead) {
    openDemoProject();
    const AlLine before = *FindAlLine(project(), 238, 2);
    readInto("АЛ:2:Зона:102", "TfrReadParamsZone");
    readInto("ПД:250", "TfrReadParams");
    ASSERT_TRUE(window("TfrReadParamsZone")->isVisible());
    click("АЛ:2:Зона:102");
    m_dialogs.yes();
    pressCopy("TfrReadParamsZone");
    EXPECT_TRUE(logged("Данные ПД скопированы в проект"));
    EXPECT_FALSE(logged("Данные АЛ скопированы в проект"));
    EXPECT_STREQ(project().settings.nam, "Демо-сеть ТАЛВИК");
    EXPECT_TRUE(SameRecord(*FindAlLine(project(), 238, 2), before));
}

TEST_F(NetworkRead, MuteDeviceGetsThreeRequestsAndOneNoReplyLine) {
    openDemoProject();
    withNetwork([](SimNetwork &n) {
        n.setMuted(250, true);
        return 0;
    });
    click("ПД:250");
    press("bdReadCom");
    ASSERT_TRUE(waitFor([&] { return logged("Нет ответа от устройства"); }, 3000));
    wait(400);
    EXPECT_EQ(countLogged("Нет ответа от устройства"), 1);
    int requests = 0;
    for (const Heard &h : heard())
        requests += h.text == "-> 250 from 254 GETSETTING";
    EXPECT_EQ(requests, 3);
    EXPECT_FALSE(window("TfrReadParams")->isVisible());
}

TEST_F(NetworkRead, ReadButtonSendsNothingWithoutASelectedDevice) {
    openDemoProject();
    main().bdReadComClick(); // nothing selected after the rebuild
    wait(200);
    EXPECT_TRUE(heard().empty());
    EXPECT_FALSE(main().protocol().Exchange().RepeatsActive());
}

} // namespace
