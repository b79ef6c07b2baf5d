// The three voltage windows on shrunk ticks against the simulated network: what they
// ask and when, what the replies fill, the copy into the records they were opened for,
// and what happens when those records go away.
#include <QLabel>
#include <cstring>

#include "device_protocol.h"
#include "text_utils.h"
#include "tools_fixture.h"

namespace {

constexpr int kPollMs = 40;

class VoltageWindows : public ToolsFixture {
protected:
    VoltageWindows() { m_timings.voltagePollMs = kPollMs; }
    void openFor(const QString &node, const char *window) {
        click(node);
        press("btGetVoltage");
        ASSERT_TRUE(tool(window)->isVisible()) << window;
    }
    void reply(const char *payload, uint8_t source) {
        main().protocol().Dispatcher().DispatchReply(reinterpret_cast<const uint8_t *>(payload),
                                                     int(std::strlen(payload)), source);
    }
    void mute(uint8_t adr) {
        withNetwork([adr](SimNetwork &n) { n.setMuted(adr, true); });
    }
    static double number(const QString &t) { return t.toDouble(); }
};

TEST_F(VoltageWindows, PdWindowAsksEachTickWhileOpenAndNeverAfter) {
    openDemoProject();
    openFor("ПД:250", "TfrVoltage");
    EXPECT_EQ(text("TfrVoltage", "edUb"), "Нет данных");
    ASSERT_TRUE(waitFor([&] { return text("TfrVoltage", "edUb") != "Нет данных"; }, 2000));
    EXPECT_NEAR(number(text("TfrVoltage", "edUb")), 12.0, 0.3 + 1e-6);
    ASSERT_TRUE(waitHeard("UBVOLT", 3, 2000));
    tool("TfrVoltage")->close();
    wait(50); // a request already on the line may still be heard
    const auto asked = heardRequests("UBVOLT");
    for (const std::string &r : asked)
        EXPECT_EQ(r, "250 UBVOLT");
    wait(5 * kPollMs);
    EXPECT_EQ(heardRequests("UBVOLT").size(), asked.size()) << "a closed window asks nothing";
    EXPECT_FALSE(main().IsModified());
}

TEST_F(VoltageWindows, PdCopyBeforeAnyReplyStoresZero) {
    openDemoProject();
    openFor("ПД:250", "TfrVoltage");
    pressIn("TfrVoltage", "btOk");
    EXPECT_EQ(project().settings.ubs, 0.0f);
    EXPECT_TRUE(main().IsModified());
    EXPECT_FALSE(tool("TfrVoltage")->isVisible());
    EXPECT_EQ(currentPage(), "tsPD") << "the page shows the PD again";
    EXPECT_EQ(find<QLineEdit>("edPdUb")->text(), "0.0");
}

TEST_F(VoltageWindows, BcRepliesFillEastAndWestAndTheCopyTakesThem) {
    openDemoProject();
    mute(238); // only the reply below is seen
    openFor("БС:238", "TfrVoltageBc");
    ASSERT_TRUE(waitHeard("ELWLVOLTS", 1, 2000));
    EXPECT_EQ(heardRequests("ELWLVOLTS")[0], "238 ELWLVOLTS");
    reply("OK_ELWLVOLTS:12.3:45.6", 238);
    EXPECT_EQ(text("TfrVoltageBc", "edUbe"), "12.3");
    EXPECT_EQ(text("TfrVoltageBc", "edUbw"), "45.6");
    pressIn("TfrVoltageBc", "btOk");
    const BcUnit *bc = FindBcUnit(project(), 238);
    EXPECT_STREQ(FloatToText(bc->ube), "12.3");
    EXPECT_STREQ(FloatToText(bc->ubw), "45.6");
    EXPECT_TRUE(main().IsModified());
    EXPECT_FALSE(tool("TfrVoltageBc")->isVisible());
    EXPECT_EQ(find<QLineEdit>("edBcUbEast")->text(), "12.3");
}

TEST_F(VoltageWindows, CopyingTheStoredValuesAgainMarksNothing) {
    openDemoProject();
    mute(238);
    openFor("БС:238", "TfrVoltageBc");
    reply("OK_ELWLVOLTS:12.0:12.0", 238); // what the demo project holds
    pressIn("TfrVoltageBc", "btOk");
    EXPECT_FALSE(main().IsModified());
}

TEST_F(VoltageWindows, BoxThatIsNoNumberStopsTheCopyThereAndTheWindowStays) {
    openDemoProject();
    mute(238);
    openFor("БС:238", "TfrVoltageBc");
    type("TfrVoltageBc", "edUbw", "13.5");
    type("TfrVoltageBc", "edUbe", "abc");
    pressIn("TfrVoltageBc", "btOk");
    EXPECT_EQ(m_dialogs.messages(), std::vector<QString>{"«abc» — не число"});
    const BcUnit *bc = FindBcUnit(project(), 238);
    EXPECT_EQ(bc->ubw, 13.5f) << "the field before the bad box is taken";
    EXPECT_EQ(bc->ube, 12.0f);
    EXPECT_TRUE(main().IsModified());
    EXPECT_TRUE(tool("TfrVoltageBc")->isVisible());
    const size_t asked = heardRequests("ELWLVOLTS").size();
    EXPECT_TRUE(waitHeard("ELWLVOLTS", asked + 1, 2000)) << "still open, still measuring";
}

TEST_F(VoltageWindows, AlMeasurementsFillOnlyTheirOwnGroup) {
    openDemoProject([](Project &p) {
        AlLine l;
        InitZoneRecord(l);
        l.adr = 240;
        l.prt = 5;
        l.num = 205;
        AppendAlLine(p, l);
    });
    withNetwork([](SimNetwork &n) {
        AlLine l = *FindAlLine(n.project(), 240, 1);
        l.prt = 5;
        l.num = 205;
        AppendAlLine(n.project(), l);
        n.setButtonHeld(240, 5, true);
    });
    main().ExpandNodeByText("БС:240");
    openFor(alNodeText(240, 5), "TfrVoltageAl");
    for (const char *box : {"edUvp", "edUtvp", "edUspv", "edUk", "edUtk", "edUspk"})
        EXPECT_EQ(text("TfrVoltageAl", box), "Нет данных") << box;
    wait(3 * kPollMs);
    EXPECT_TRUE(heardRequests("ALVOLTS").empty()) << "the AL window measures on demand only";

    pressIn("TfrVoltageAl", "btIzmerUk");
    ASSERT_TRUE(waitFor([&] { return text("TfrVoltageAl", "edUk") != "Нет данных"; }, 2000));
    EXPECT_NEAR(number(text("TfrVoltageAl", "edUk")), 7.2, 0.3 + 1e-6);
    EXPECT_NEAR(number(text("TfrVoltageAl", "edUtk")), 10.4, 0.3 + 1e-6);
    EXPECT_NEAR(number(text("TfrVoltageAl", "edUspk")), 3.3, 0.3 + 1e-6);
    for (const char *box : {"edUvp", "edUtvp", "edUspv"})
        EXPECT_EQ(text("TfrVoltageAl", box), "Нет данных") << box << " belongs to the other group";

    withNetwork([](SimNetwork &n) { n.setButtonHeld(240, 5, false); });
    pressIn("TfrVoltageAl", "btIzmerUvp");
    ASSERT_TRUE(waitFor([&] { return text("TfrVoltageAl", "edUvp") != "Нет данных"; }, 2000));
    EXPECT_NEAR(number(text("TfrVoltageAl", "edUvp")), 9.6, 0.3 + 1e-6);
    EXPECT_NEAR(number(text("TfrVoltageAl", "edUtvp")), 11.8, 0.3 + 1e-6);
    EXPECT_EQ(heardRequests("ALVOLTS"), (std::vector<std::string>{"240 ALVOLTS5", "240 ALVOLTS5"}));
}

TEST_F(VoltageWindows, SaveOneTakesUspFromTheButtonGroupWhenTheFirstGivesZero) {
    openDemoProject();
    main().ExpandNodeByText("БС:238");
    openFor(alNodeText(238, 2), "TfrVoltageAl");
    const struct {
        const char *box, *value;
    } typed[] = {{"edUvp", "9.1"}, {"edUtvp", "11.2"}, {"edUspv", "0.0"},
                 {"edUk", "7.5"},  {"edUtk", "10.1"},  {"edUspk", "3.5"}};
    for (const auto &t : typed)
        type("TfrVoltageAl", t.box, t.value);
    pressIn("TfrVoltageAl", "btSaveOne");
    const AlLine *l = FindAlLine(project(), 238, 2);
    EXPECT_STREQ(FloatToText(l->uvp), "9.1");
    EXPECT_STREQ(FloatToText(l->tuv), "11.2");
    EXPECT_STREQ(FloatToText(l->usp), "3.5");
    EXPECT_STREQ(FloatToText(l->ukn), "7.5");
    EXPECT_STREQ(FloatToText(l->tuk), "10.1");
    EXPECT_EQ(FindAlLine(project(), 238, 1)->uvp, 9.6f) << "the other lines keep theirs";
    EXPECT_TRUE(main().IsModified());
    EXPECT_FALSE(tool("TfrVoltageAl")->isVisible());
}

TEST_F(VoltageWindows, SaveAllWritesEveryLineOfThatBc) {
    openDemoProject();
    main().ExpandNodeByText("БС:238");
    openFor(alNodeText(238, 3), "TfrVoltageAl");
    for (const char *box : {"edUvp", "edUtvp", "edUspv", "edUk", "edUtk"})
        type("TfrVoltageAl", box, "5.5");
    pressIn("TfrVoltageAl", "btSaveAll");
    for (uint16_t prt = 1; prt <= 4; ++prt) {
        const AlLine *l = FindAlLine(project(), 238, prt);
        for (float v : {l->uvp, l->tuv, l->usp, l->ukn, l->tuk})
            EXPECT_EQ(v, 5.5f) << "line " << prt;
    }
    EXPECT_EQ(FindAlLine(project(), 240, 1)->uvp, 9.6f) << "BC 240's lines are not that BC's";
    EXPECT_TRUE(main().IsModified());
}

// The records a window was opened for go away while it stays open.
enum class Change { DeleteBc, DeleteAl, CloseProject, ReloadProject, MoveBcAddressWithoutRebuild };

struct StaleCase {
    const char *name;
    const char *window;
    bool al;
    Change change;
};

class StaleTargets : public VoltageWindows, public testing::WithParamInterface<StaleCase> {
protected:
    void deleteNode(const QString &node) {
        click(node);
        m_dialogs.yes();
        main().btDeviceDelClick();
    }
    void apply(Change change) {
        switch (change) {
        case Change::DeleteBc:
            deleteNode("БС:238");
            break;
        case Change::DeleteAl:
            main().ExpandNodeByText("БС:238");
            deleteNode(alNodeText(238, 2));
            break;
        case Change::CloseProject:
            main().miCloseProjectClick();
            break;
        case Change::ReloadProject:
            openDemoProject();
            break;
        case Change::MoveBcAddressWithoutRebuild:
            FindBcUnit(project(), 238)->adr = 239; // as typing a new address on the page does
            break;
        }
    }
};

TEST_P(StaleTargets, CopyWritesNothingAndTheWindowCloses) {
    const StaleCase &c = GetParam();
    openDemoProject();
    if (c.al) {
        main().ExpandNodeByText("БС:238");
        openFor(alNodeText(238, 2), c.window);
    } else {
        openFor("БС:238", c.window);
    }
    mute(238);
    apply(c.change);
    if (tool(c.window)->isVisible()) {
        // The window could not tell by itself: the copy finds out.
        for (QLineEdit *box : tool(c.window)->findChildren<QLineEdit *>())
            box->setText("1.5");
        pressIn(c.window, c.al ? "btSaveAll" : "btOk");
        EXPECT_TRUE(logged("Напряжения не скопированы: записи, для которой открыто окно, в проекте больше нет"));
    }
    EXPECT_FALSE(tool(c.window)->isVisible());
    for (int i = 0; i < project().bcCount; ++i)
        EXPECT_NE(project().bcUnits[i].ubw, 1.5f);
    for (int i = 0; i < project().alCount; ++i)
        EXPECT_NE(project().alLines[i].uvp, 1.5f);
    const size_t asked = heardRequests("ELWLVOLTS").size();
    wait(4 * kPollMs);
    EXPECT_LE(heardRequests("ELWLVOLTS").size(), asked + 1) << "a closed window stops asking";
}

INSTANTIATE_TEST_SUITE_P(Cases, StaleTargets,
                         testing::Values(StaleCase{"bc_deleted", "TfrVoltageBc", false, Change::DeleteBc},
                                         StaleCase{"al_line_deleted", "TfrVoltageAl", true, Change::DeleteAl},
                                         StaleCase{"bc_of_the_line_deleted", "TfrVoltageAl", true, Change::DeleteBc},
                                         StaleCase{"project_closed", "TfrVoltageBc", false, Change::CloseProject},
                                         StaleCase{"project_reloaded", "TfrVoltageAl", true, Change::ReloadProject},
                                         StaleCase{"bc_address_changed_without_a_rebuild", "TfrVoltageBc", false,
                                                   Change::MoveBcAddressWithoutRebuild}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(VoltageWindows, EveryBoxIsNamedByItsLabel) {
    for (const char *window : {"TfrVoltage", "TfrVoltageBc", "TfrVoltageAl"}) {
        for (QLineEdit *box : tool(window)->findChildren<QLineEdit *>()) {
            EXPECT_FALSE(box->accessibleName().isEmpty()) << window << "." << box->objectName().toStdString();
        }
    }
    EXPECT_EQ(control<QLineEdit>("TfrVoltageBc", "edUbw")->accessibleName(), "Напряжение на СЛ Ubw (WEST)");
    EXPECT_EQ(tool("TfrVoltageAl")->windowTitle(), "Напряжения на АЛ");
}

} // namespace
