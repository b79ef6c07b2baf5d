// The scenario editor against the simulated PD: a scenario written, found in the
// device's state, read back into the compare window and copied into the project.
#include <QListWidget>

#include "TfrPdDop.h"
#include "network_fixture.h"
#include "notify/tfr_notifys.h"
#include "read_back_window.h"

namespace {

class NotifyNetwork : public NetworkFixture {
protected:
    TfrNotifys *editor() { return m_windows.notifys; }
    template <class T> T *in(const char *name) { return editor()->findChild<T *>(name); }
    void openEditor() {
        click("ПД:250");
        press("btPdDop");
        m_windows.pdDop->findChild<QPushButton *>("btNotifys")->click();
        ASSERT_TRUE(editor()->isVisible());
    }
    void select(int number) { in<QListWidget>("lbNotify")->setCurrentRow(number - 1); }
    void type(const char *edit, const QString &text) { in<QLineEdit>(edit)->setText(text); }
    void pressInEditor(const char *button) {
        auto *b = in<QPushButton>(button);
        ASSERT_TRUE(b->isEnabled()) << button;
        b->click();
    }
    std::string deviceState() {
        return withNetwork([](SimNetwork &n) { return n.projectText(); });
    }
    int heardCount(const std::string &text) const {
        int n = 0;
        for (const Heard &h : heard())
            n += h.text == text;
        return n;
    }
};

TEST_F(NotifyNetwork, ScenarioWrittenIsInThePdReadBackAndCopied) {
    openDemoProject();
    openEditor();
    select(2);
    type("edZoneNum", "202");
    type("edFileName", "обход_этажей.wav");
    type("edCount", "4");
    pressInEditor("btWriteNotify");
    ASSERT_TRUE(waitFor([&] { return logged("Данные сценария записаны"); }, 3000));
    EXPECT_NE(deviceState().find("notify:{num:2, nte:true, zon:202, wav:обход_этажей.wav, per:5, cnt:4, "
                                 "dtm:2025-03-01 09:00, src:false}"),
              std::string::npos)
        << deviceState();

    // The user goes on editing; reading the PD shows what it holds, copying takes it back.
    type("edZoneNum", "999");
    pressInEditor("btReadNotify");
    ASSERT_TRUE(waitFor([&] { return window("TfrReadParamsNotify")->isVisible(); }, 3000));
    EXPECT_EQ(heardCount("-> 250 from 254 GETNOTIFY2"), 1);
    EXPECT_EQ(shown("TfrReadParamsNotify", "edZoneNum"), "202");
    EXPECT_EQ(shown("TfrReadParamsNotify", "edFileName"), "обход_этажей.wav");
    EXPECT_EQ(shown("TfrReadParamsNotify", "edCount"), "4");

    m_dialogs.yes();
    pressCopy("TfrReadParamsNotify");
    EXPECT_TRUE(logged("Данные сценария скопированы в проект"));
    EXPECT_EQ(project().notifies[2].zon, 202);
    EXPECT_TRUE(editor()->isVisible()) << "shown again with the copied values";
    EXPECT_EQ(editor()->SelectedNumber(), 2);
    EXPECT_EQ(in<QLineEdit>("edZoneNum")->text(), "202");
    EXPECT_EQ(in<QLineEdit>("edFileName")->text(), "обход_этажей.wav");
    EXPECT_TRUE(main().IsModified());
}

// The longest record is well beyond 118 bytes; the PD refuses a cut one, so only the
// whole record makes it store the name the project holds.
TEST_F(NotifyNetwork, LongFileNameReachesThePdWhole) {
    openDemoProject();
    openEditor();
    select(10);
    type("edZoneNum", "65535");
    type("edFileName", "a" + QString(70, QChar(0x436)));
    type("edPeriod", "255");
    type("edCount", "255");
    type("edDateTime", "2025-03-01 08:30");
    pressInEditor("btWriteNotify");
    ASSERT_TRUE(waitFor([&] { return logged("Данные сценария записаны"); }, 3000)) << [&] {
        std::string all;
        for (const LogLine &l : m_log)
            all += l.text.toStdString() + "\n";
        for (const Heard &h : heard())
            all += h.text + "\n";
        return all;
    }();
    const NotifyScenario device = withNetwork([](SimNetwork &n) { return n.project().notifies[10]; });
    EXPECT_EQ(std::string(device.wav).size(), 63u);
    EXPECT_STREQ(device.wav, project().notifies[10].wav);
    EXPECT_EQ(device.zon, 65535);
    EXPECT_EQ(device.cnt, 255);
}

TEST_F(NotifyNetwork, ReadAsksThePdForTheSelectedNumber) {
    openDemoProject();
    openEditor();
    select(3);
    pressInEditor("btReadNotify");
    ASSERT_TRUE(waitFor([&] { return window("TfrReadParamsNotify")->isVisible(); }, 3000));
    EXPECT_EQ(heardCount("-> 250 from 254 GETNOTIFY3"), 1);
    EXPECT_FALSE(main().IsModified());
}

} // namespace
