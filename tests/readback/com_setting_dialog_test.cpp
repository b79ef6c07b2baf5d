// The dialog only carries texts; these check that what the user sees and types is
// what the plan is made from.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "tfr_com_setting.h"
#include "widget_probe.h"

namespace {

TEST(TfrComSetting, ShowsFilledTextsUnderTheirCaptions)
{
    TfrComSetting dialog;
    dialog.Fill(ComSettingFillTexts(7, 9600, 254, {3, 7}));

    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Настройки COM порта"));
    EXPECT_TRUE(dialog.isModal());
    struct Row {
        const char *control;
        const char *caption;
        const char *shown;
    } const rows[] = {
        {"cbComNumber", "Выберите COM порт", "COM7"},
        {"cbComSpeed", "Выберите скорость COM порта", "9600"},
        {"edPivAddr", "Адрес ПК  в сети TALVIK", "254"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.control);
        EXPECT_EQ(CaptionOf(&dialog, row.control), QString::fromUtf8(row.caption));
        EXPECT_EQ(ShownIn(&dialog, row.control), QString::fromUtf8(row.shown));
    }
    auto *speeds = dialog.findChild<QComboBox *>("cbComSpeed");
    ASSERT_NE(speeds, nullptr);
    EXPECT_EQ(speeds->count(), 10);
    EXPECT_EQ(speeds->itemText(0), "300");
    EXPECT_EQ(speeds->itemText(9), "115200");
}

TEST(TfrComSetting, RefillWithoutAPortLeavesThePortBoxEmpty)
{
    TfrComSetting dialog;
    dialog.Fill(ComSettingFillTexts(7, 9600, 254, {7}));
    dialog.Fill(ComSettingFillTexts(-1, 19200, 254, {1, 2}));

    const ComSettingTexts t = dialog.Texts();
    EXPECT_EQ(t.port, "") << "an editable box must not fall back to its first item";
    EXPECT_EQ(t.portItems, QStringList({"COM1", "COM2"}));
    EXPECT_EQ(t.speed, "19200");
}

TEST(TfrComSetting, PlanFollowsWhatTheUserTyped)
{
    TfrComSetting dialog;
    dialog.Fill(ComSettingFillTexts(1, 19200, 254, {1}));
    dialog.findChild<QComboBox *>("cbComNumber")->setEditText(" COM5 ");
    dialog.findChild<QComboBox *>("cbComSpeed")->setEditText("38400");
    dialog.findChild<QLineEdit *>("edPivAddr")->setText("253");

    const ComSettingPlan plan = dialog.Plan();
    ASSERT_TRUE(plan.ok());
    ASSERT_EQ(plan.steps.size(), 5u);
    EXPECT_EQ(plan.steps[0].kind, ComSettingStepKind::SetComNumber);
    EXPECT_EQ(plan.steps[0].value, 5);
    EXPECT_EQ(plan.steps[1].value, 9);
    EXPECT_EQ(plan.steps[2].value, 253);
}

TEST(TfrComSetting, OkAcceptsAndAnyOtherCloseCancels)
{
    TfrComSetting dialog;
    dialog.show();
    auto *ok = dialog.findChild<QPushButton *>("btOk");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    ok->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace

namespace {

// What the user types in the speed box is answered in Russian, naming the box.
TEST(TfrComSetting, TypedSpeedThatIsNoNumberGivesARussianMessage)
{
    TfrComSetting dialog;
    dialog.Fill(ComSettingFillTexts(1, 19200, 254, {1}));
    QLineEdit *speed = dialog.findChild<QComboBox *>("cbComSpeed")->lineEdit();
    speed->selectAll();
    QTest::keyClicks(speed, "abc");
    EXPECT_EQ(dialog.Plan().error, QString::fromUtf8("Скорость COM порта «abc» — не целое число"));
}

}  // namespace
