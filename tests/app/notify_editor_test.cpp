// The scenario editor window: opened from the PD's additional parameters, showing a
// scenario without storing it, and storing only what the user changes.
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "TCommPort.h"
#include "TfrPdDop.h"
#include "app_fixture.h"
#include "notify/tfr_notifys.h"
#include "project_file.h"
#include "text_utils.h"

namespace {

class NotifyEditor : public AppFixture {
protected:
    // A project whose scenario 2 holds what a hand-edited file may: zone 0.
    void SetUp() override {
        AppFixture::SetUp();
        Project p;
        ResetProject(p);
        InitSettingRecord(p.settings);
        CopyTextUtf8(p.settings.nam, sizeof p.settings.nam, "Оповещение");
        NotifyScenario &s = p.notifies[2];
        s.nte = true;
        s.zon = 0;
        CopyTextUtf8(s.wav, sizeof s.wav, "начало_смены.wav");
        s.per = 5;
        s.cnt = 3;
        s.dtm = {2025, 3, 1, 9, 0, 0};
        const std::string path = (m_dir / "n.cfg").string();
        std::string error;
        ASSERT_TRUE(SaveProjectFile(p, path, error)) << error;
        m_dialogs.openFile(QString::fromStdString(path));
        main().miLoadClick();
        ASSERT_TRUE(main().IsProjectOpen());
        ASSERT_FALSE(main().IsModified());
    }
    TfrNotifys *editor() { return m_windows.notifys; }
    template <class T> T *in(const char *name) { return editor()->findChild<T *>(name); }
    QListWidget *list() { return in<QListWidget>("lbNotify"); }
    void openFromPdDop() {
        click("ПД:250");
        find<QPushButton>("btPdDop")->click();
        m_windows.pdDop->findChild<QPushButton *>("btNotifys")->click();
        ASSERT_TRUE(editor()->isVisible());
    }
    void select(int number) { list()->setCurrentRow(number - 1); }
    NotifyScenario &scenario(int number) { return project().notifies[number]; }
};

TEST_F(NotifyEditor, OpensFromPdDopOnScenarioOneWithItsCaptionsAndNames) {
    select(2); // a selection left from before does not survive showing
    openFromPdDop();
    EXPECT_EQ(editor()->windowTitle(), "Сценарии оповещения");
    EXPECT_FALSE(editor()->isModal());
    ASSERT_EQ(list()->count(), 10);
    EXPECT_EQ(list()->item(0)->text(), "Сценарий 1");
    EXPECT_EQ(list()->item(9)->text(), "Сценарий 10");
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(editor()->SelectedNumber(), 1);

    const struct {
        const char *label, *control, *caption;
    } rows[] = {
        {"Label1", "cbNotifyEnable", "Включено"},  {"Label2", "edZoneNum", "Номер зоны"},
        {"Label3", "edFileName", "Имя файла"},     {"Label6", "edDateTime", "Дата и время"},
        {"Label4", "edPeriod", "Период повторов"}, {"Label5", "edCount", "Количество повторов"},
    };
    for (const auto &r : rows) {
        auto *label = in<QLabel>(r.label);
        auto *control = in<QWidget>(r.control);
        ASSERT_TRUE(label && control) << r.control;
        EXPECT_EQ(label->text(), r.caption);
        EXPECT_EQ(label->buddy(), control) << r.control;
        EXPECT_EQ(control->accessibleName(), r.caption) << r.control;
    }
    EXPECT_EQ(in<QPushButton>("btReadNotify")->text(), "Прочитать сценарий с ПД");
    EXPECT_EQ(in<QPushButton>("btWriteNotify")->text(), "Записать сценарий на ПД");
    // No simulator here: the port could not be opened at start.
    ASSERT_FALSE(main().ComPort().Open());
    EXPECT_FALSE(in<QPushButton>("btReadNotify")->isEnabled());
    EXPECT_FALSE(in<QPushButton>("btWriteNotify")->isEnabled());
}

TEST_F(NotifyEditor, ShowingAScenarioStoresAndMarksNothing) {
    openFromPdDop();
    select(2);
    EXPECT_TRUE(in<QCheckBox>("cbNotifyEnable")->isChecked());
    EXPECT_EQ(in<QLineEdit>("edZoneNum")->text(), "0") << "shown as stored, not corrected";
    EXPECT_EQ(in<QLineEdit>("edFileName")->text(), "начало_смены.wav");
    EXPECT_EQ(in<QLineEdit>("edDateTime")->text(), "2025-03-01 09:00");
    EXPECT_EQ(in<QLineEdit>("edPeriod")->text(), "5");
    EXPECT_EQ(in<QLineEdit>("edCount")->text(), "3");
    select(3);
    EXPECT_EQ(in<QLineEdit>("edFileName")->text(), "");
    select(2);
    EXPECT_EQ(scenario(2).zon, 0);
    EXPECT_FALSE(main().IsModified());
}

TEST_F(NotifyEditor, EditsStoreIntoTheSelectedScenarioAndMarkTheProject) {
    openFromPdDop();
    select(2);
    const QString cyrillic70 = QString(70, QChar(0x436)); // "ж" × 70, 140 bytes
    const struct {
        const char *edit;
        QString typed;
        std::function<std::string(const NotifyScenario &)> field;
        std::string stored;
    } rows[] = {
        {"edZoneNum", "70000", [](const NotifyScenario &s) { return std::to_string(s.zon); }, "65535"},
        {"edZoneNum", "0", [](const NotifyScenario &s) { return std::to_string(s.zon); }, "1"},
        {"edZoneNum", "abc", [](const NotifyScenario &s) { return std::to_string(s.zon); }, "1"},
        {"edPeriod", "300", [](const NotifyScenario &s) { return std::to_string(s.per); }, "255"},
        {"edCount", "12", [](const NotifyScenario &s) { return std::to_string(s.cnt); }, "12"},
        {"edFileName", cyrillic70, [](const NotifyScenario &s) { return std::string(s.wav); },
         QString(31, QChar(0x436)).toStdString()},
        {"edDateTime", "2025-03-01 08:30",
         [](const NotifyScenario &s) {
             return std::to_string(s.dtm.year) + "-" + std::to_string(s.dtm.month) + "-" + std::to_string(s.dtm.day) +
                    " " + std::to_string(s.dtm.hour) + ":" + std::to_string(s.dtm.minute) + ":" +
                    std::to_string(s.dtm.second);
         },
         "2025-3-1 8:30:0"},
    };
    for (const auto &r : rows) {
        in<QLineEdit>(r.edit)->setText(r.typed);
        EXPECT_EQ(r.field(scenario(2)), r.stored) << r.edit << " " << r.typed.toStdString();
        EXPECT_EQ(in<QLineEdit>(r.edit)->text(), r.typed) << "the edit keeps what was typed";
    }
    in<QCheckBox>("cbNotifyEnable")->setChecked(false);
    EXPECT_FALSE(scenario(2).nte);
    EXPECT_TRUE(main().IsModified());
    EXPECT_EQ(scenario(2).num, 2);
    EXPECT_STREQ(scenario(1).wav, "") << "other scenarios untouched";
}

TEST_F(NotifyEditor, TypingTheStoredValueAgainMarksNothing) {
    openFromPdDop();
    select(2);
    in<QLineEdit>("edPeriod")->setText("05");
    in<QLineEdit>("edDateTime")->setText("2025-03-01 09:00:30");
    EXPECT_FALSE(main().IsModified());
}

TEST_F(NotifyEditor, FileNameRefusesWhatWouldEndItInTheRecord) {
    openFromPdDop();
    select(2);
    auto *edit = in<QLineEdit>("edFileName");
    edit->clear();
    QTest::keyClicks(edit, "a,b}c.wav");
    EXPECT_EQ(edit->text(), "abc.wav");
    EXPECT_STREQ(scenario(2).wav, "abc.wav");
}

TEST_F(NotifyEditor, NothingIsStoredWithoutAProject) {
    openFromPdDop();
    main().miCloseProjectClick(); // unmodified: closes without a question
    ASSERT_FALSE(main().IsProjectOpen());
    select(2);
    in<QLineEdit>("edZoneNum")->setText("77");
    EXPECT_NE(scenario(2).zon, 77);
    EXPECT_FALSE(main().IsModified());
}

} // namespace
