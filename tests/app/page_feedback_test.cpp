// What a number edit shows as the user types into it: the text stays as typed while it
// is being edited, is marked with the reason while it is not what the project keeps,
// and shows the stored value again on Enter or when the user moves on.
#include "app_fixture.h"

#include <QComboBox>
#include <QTest>

namespace {

class PageFeedback : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        newProject();
        addBc(238);
        addBc(240);
        addAl(238, 1);
        addAl(240, 1);
        FindAlLine(project(), 240, 1)->num = 201; // a zone number that is taken
        FindAlLine(project(), 238, 1)->num = 5;
        main().RebuildNetworkTree();
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    QLineEdit *edit(const char *name) {
        if (auto *combo = main().findChild<QComboBox *>(QString::fromLatin1(name)))
            return combo->lineEdit();
        return find<QLineEdit>(name);
    }
    // Selects everything in the edit and types over it, key by key, as a user does.
    void typeInto(QLineEdit *e, const QString &keys) {
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        for (QChar ch : keys)
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    bool marked(QLineEdit *e) { return e->property("refused").toBool(); }
};

enum class Finish { Return, Tab };

struct Row {
    const char *name;
    const char *node; // "ПД" the PD, "АЛ" AL 1 of BC 238, or the node's text
    const char *edit;
    const char *keys;
    Finish finish;
    const char *shownAfter;
    const char *why; // the tooltip while the typed text stands, empty: no mark
};

TEST_F(PageFeedback, EditsShowWhatIsStoredOnceTheUserMovesOn) {
    const Row rows[] = {
        {"a taken zone keeps the last free one typed", "АЛ", "edAlZone", "201", Finish::Return, "20",
         "Зона 201 уже есть в проекте: БС:240 АЛ:1\nВ проекте: 20"},
        {"a zone beyond 65535 keeps its first four digits", "АЛ", "edAlZone", "70000", Finish::Tab, "7000",
         "Введите номер зоны от 1 до 65535\nВ проекте: 7000"},
        {"a free zone is taken as typed", "АЛ", "edAlZone", "333", Finish::Return, "333", ""},
        {"an AL number beyond 16", "АЛ", "edAlNumber", "17", Finish::Tab, "1",
         "Введите номер АЛ от 1 до 16\nВ проекте: 1"},
        {"a BC address of another unit", "БС:238", "edBcAddr", "240", Finish::Return, "238",
         "Адрес 240 уже есть у другого БС\nВ проекте: 238"},
        {"a PD address above the range is limited", "ПД", "edPdAddr", "300", Finish::Tab, "254",
         "Введите целое число от 250 до 254\nВ проекте: 254"},
        {"a decimal comma", "ПД", "edPdUb", "1,5", Finish::Return, "1.5", ""},
        {"a decimal comma on the AL page", "АЛ", "edAlUvp", "12,7", Finish::Tab, "12.7", ""},
        {"a voltage above 16 is limited", "БС:238", "edBcUbWest", "20", Finish::Return, "16.0",
         "Введите число от 0 до 16, например 12,5\nВ проекте: 16.0"},
        {"text that is no number", "АЛ", "edAlUk", "abc", Finish::Tab, "0.0",
         "Введите число от 0 до 16, например 12,5\nВ проекте: 0.0"},
        {"a volume above 1024", "ПД", "edPdMic", "2000", Finish::Return, "1024",
         "Введите целое число от 0 до 1024\nВ проекте: 1024"},
        {"an RS485 speed typed by hand", "БС:238", "cbBcRsSpeed", "200000", Finish::Return, "115200",
         "Введите целое число от 300 до 115200\nВ проекте: 115200"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        const QString node = QString::fromUtf8(r.node);
        // The PD's node is renamed by its address edit.
        click(node == "АЛ" ? alNodeText(238, 1) : node == "ПД" ? tree()->topLevelItem(0)->text(0) : node);
        QLineEdit *e = edit(r.edit);
        typeInto(e, QString::fromUtf8(r.keys));
        EXPECT_EQ(e->text(), QString::fromUtf8(r.keys)) << "while typing the edit keeps the text";
        EXPECT_EQ(marked(e), *r.why != '\0');
        EXPECT_EQ(e->toolTip(), QString::fromUtf8(r.why));
        if (r.finish == Finish::Return)
            QTest::keyClick(e, Qt::Key_Return);
        else
            QTest::keyClick(e, Qt::Key_Tab);
        EXPECT_EQ(e->text(), QString::fromUtf8(r.shownAfter));
        EXPECT_FALSE(marked(e));
        EXPECT_TRUE(e->toolTip().isEmpty());
        if (r.finish == Finish::Tab) {
            EXPECT_FALSE(e->hasFocus()) << "Tab moved on";
        }
    }
}

TEST_F(PageFeedback, MarkFollowsTheTextKeyByKey) {
    click(alNodeText(238, 1));
    QLineEdit *e = edit("edAlZone");
    typeInto(e, "20");
    EXPECT_FALSE(marked(e)) << "20 is free and stored";
    QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, "1", Qt::NoModifier);
    EXPECT_TRUE(marked(e)) << "201 is taken";
    EXPECT_EQ(FindAlLine(project(), 238, 1)->num, 20);
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_FALSE(marked(e)) << "back to 20";
    EXPECT_EQ(alNodeText(238, 1), "АЛ:1:Зона:20");
}

TEST_F(PageFeedback, RefillingAPageClearsAMarkLeftOnIt) {
    click("ПД:250");
    QLineEdit *e = edit("edPdAddr");
    typeInto(e, "300");
    ASSERT_TRUE(marked(e));
    click("БС:238");
    click("ПД:254");
    EXPECT_EQ(e->text(), "254");
    EXPECT_FALSE(marked(e));
}

} // namespace
