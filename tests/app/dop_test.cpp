// The additional PD and AL parameter windows.
#include "app_fixture.h"

#include <QCheckBox>
#include <QComboBox>

#include "TfrAlDop.h"
#include "TfrPdDop.h"

namespace {
class Dop : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        newProject();
        addBc(238);
        addAl(238, 1);
        addAl(238, 2);
    }
    template <class T> T *inPd(const char *name) { return m_windows.pdDop->findChild<T *>(name); }
    template <class T> T *inAl(const char *name) { return m_windows.alDop->findChild<T *>(name); }
};

TEST_F(Dop, PdNumbersClampedEchoTimesKeptNonNegative) {
    click("ПД:250");
    const struct {
        const char *edit, *text;
        int (*get)(const PdSettings &);
        int expected;
    } rows[] = {
        {"edPdAruLevel", "70000", [](const PdSettings &s) { return int(s.arl); }, 65535},
        {"edPdAruLevel", "abc", [](const PdSettings &s) { return int(s.arl); }, 0},
        {"edPdAruTimeOn", "40000", [](const PdSettings &s) { return int(s.ton); }, 40000},
        {"edPdAruTimeOff", "-3", [](const PdSettings &s) { return int(s.tof); }, 0},
        {"cbPdAruSpdLevel", "55", [](const PdSettings &s) { return int(s.spl); }, 55},
        // The echo times are signed 16-bit fields: above 32767 they would turn negative.
        {"edPdEchoLevel1", "40000", [](const PdSettings &s) { return int(s.el1); }, 32767},
        {"edPdEchoLevel2", "123", [](const PdSettings &s) { return int(s.el2); }, 123},
        // ... and below 0 they would be negative in the record text.
        {"edPdEchoLevel1", "-5", [](const PdSettings &s) { return int(s.el1); }, 0},
        {"edPdEchoLevel2", "-32768", [](const PdSettings &s) { return int(s.el2); }, 0},
    };
    for (const auto &r : rows) {
        inPd<QLineEdit>(r.edit)->setText(r.text);
        EXPECT_EQ(r.get(project().settings), r.expected) << r.edit << " " << r.text;
    }
    inPd<QCheckBox>("cbPdAruEnable")->setChecked(true);
    EXPECT_TRUE(project().settings.aru);
    inPd<QCheckBox>("cbPdAruSpdEnable")->setChecked(true);
    EXPECT_TRUE(project().settings.spd);
    inPd<QComboBox>("cbPdEchoType")->setCurrentText("Динамик");
    EXPECT_EQ(project().settings.etp, 1);
}

TEST_F(Dop, AlEchoTypeAndTimesGoToSelectedLine) {
    click(alNodeText(238, 2));
    auto *type = inAl<QComboBox>("cbAlEchoType");
    type->setCurrentText("Микрофон");
    EXPECT_EQ(project().alLines[1].etp, 2);
    EXPECT_EQ(project().alLines[0].etp, 0);
    type->setCurrentText("свободный текст");
    EXPECT_EQ(project().alLines[1].etp, 0);
    inAl<QLineEdit>("edAlEchoLevel1")->setText("99999");
    EXPECT_EQ(project().alLines[1].el1, 32767);
    inAl<QLineEdit>("edAlEchoLevel2")->setText("abc");
    EXPECT_EQ(project().alLines[1].el2, 0);
    // Negative times stop at 0, like times above the signed range stop at 32767.
    inAl<QLineEdit>("edAlEchoLevel1")->setText("-7");
    EXPECT_EQ(project().alLines[1].el1, 0);
    inAl<QLineEdit>("edAlEchoLevel2")->setText("300");
    inAl<QLineEdit>("edAlEchoLevel2")->setText("-32769");
    EXPECT_EQ(project().alLines[1].el2, 0);
}

TEST_F(Dop, AlChangeWithoutSelectedLineIsIgnored) {
    click(alNodeText(238, 1));
    click("БС:238"); // the window stays open; no line is selected now
    inAl<QComboBox>("cbAlEchoType")->setCurrentText("Динамик");
    EXPECT_EQ(project().alLines[0].etp, 0);
    EXPECT_EQ(project().alLines[1].etp, 0);

    click(alNodeText(238, 1));
    m_dialogs.yes();
    main().btDeviceDelClick(); // the line is gone and the tree rebuilt
    ASSERT_EQ(project().alCount, 1);
    const int16_t before = project().alLines[0].el1;
    inAl<QLineEdit>("edAlEchoLevel1")->setText("5");
    EXPECT_EQ(project().alLines[0].el1, before) << "the line that moved into the hole is not touched";
}

TEST_F(Dop, PdWindowEditsNothingWithoutProject) {
    m_dialogs.no();
    main().miCloseProjectClick();
    inPd<QLineEdit>("edPdAruLevel")->setText("5");
    EXPECT_FALSE(main().IsModified());
    EXPECT_NE(project().settings.arl, 5);
}

TEST_F(Dop, ClickRefillsWindowsWithoutWriting) {
    project().alLines[0].etp = 2;
    project().alLines[0].el1 = 300;
    project().settings.arl = 77;
    m_dialogs.saveFile(QString::fromStdString((m_dir / "d.cfg").string()));
    ASSERT_TRUE(main().SaveProject());
    click("ПД:250");
    EXPECT_EQ(inPd<QLineEdit>("edPdAruLevel")->text(), "77");
    click(alNodeText(238, 1));
    EXPECT_EQ(inAl<QComboBox>("cbAlEchoType")->currentText(), "Микрофон");
    EXPECT_EQ(inAl<QLineEdit>("edAlEchoLevel1")->text(), "300");
    click(alNodeText(238, 2));
    EXPECT_EQ(inAl<QComboBox>("cbAlEchoType")->currentText(), "Выключено");
    EXPECT_EQ(project().alLines[0].etp, 2);
    EXPECT_FALSE(main().IsModified());
}

TEST_F(Dop, ButtonsShowTheWindowsWithoutBlocking) {
    click("ПД:250");
    find<QPushButton>("btPdDop")->click();
    EXPECT_TRUE(m_windows.pdDop->isVisible());
    EXPECT_FALSE(m_windows.pdDop->isModal());
    EXPECT_EQ(m_windows.pdDop->windowTitle(), "Дополнительные параметры ПД");
    click(alNodeText(238, 1));
    find<QPushButton>("btAlDop")->click();
    EXPECT_TRUE(m_windows.alDop->isVisible());
    EXPECT_EQ(m_windows.alDop->windowTitle(), "Дополнительные параметры АЛ");
    EXPECT_NE(inPd<QPushButton>("btNotifys"), nullptr);
}
} // namespace
