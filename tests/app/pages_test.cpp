// The PD, BC and AL pages: every edit lands in the shown record, limited to its range.
#include "app_fixture.h"
#include "TfrAlDop.h"
#include "TfrPdDop.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QTest>
#include <cstring>
#include <functional>

namespace {
class Pages : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        newProject();
        addBc(238);
        addBc(240);
        addAl(238, 1);
        addAl(240, 1);
    }
    // Types the text key by key, as a user does: every key is one change.
    static void type(QLineEdit *e, const QString &text) {
        e->clear();
        for (QChar ch : text)
            QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    void type(const char *name, const QString &text) { type(find<QLineEdit>(name), text); }
    // How a user confirms what was typed into an editable choice box.
    enum class Confirm { Return, Leave };
    static void choose(QComboBox *box, const QString &text, Confirm how) {
        type(box->lineEdit(), text);
        if (how == Confirm::Return) {
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        } else {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(box->lineEdit(), &out);
        }
    }
    void setCombo(const char *name, const QString &text) { find<QComboBox>(name)->setCurrentText(text); }
};

TEST_F(Pages, TypingPdAddressStoresEveryStep) {
    click("ПД:250");
    auto *e = find<QLineEdit>("edPdAddr");
    e->clear();
    std::vector<int> stored;
    for (QChar ch : QString("252")) {
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        stored.push_back(project().settings.adr);
    }
    EXPECT_EQ(stored, (std::vector<int>{250, 250, 252}));
    EXPECT_EQ(topTexts().first(), "ПД:252");
    EXPECT_EQ(e->text(), "252") << "the edit keeps what was typed";
}

TEST_F(Pages, PdIntegerAndVoltageFields) {
    click("ПД:250");
    using Get = double (*)(const PdSettings &);
    const Get adr = [](const PdSettings &s) { return double(s.adr); };
    const Get ubs = [](const PdSettings &s) { return double(s.ubs); };
    const struct {
        const char *control, *text;
        Get get;
        double expected;
    } rows[] = {
        {"edPdAddr", "300", adr, 254},
        {"edPdAddr", "abc", adr, 250},
        {"edPdAddr", "-5", adr, 250},
        {"edPdMic", "2000", [](const PdSettings &s) { return double(s.mic); }, 1024},
        {"edPdSpk", "-1", [](const PdSettings &s) { return double(s.spk); }, 0},
        {"edPdSig", "512", [](const PdSettings &s) { return double(s.sps); }, 512},
        {"edPdUb", "12.34", ubs, 12.34},
        {"edPdUb", "20", ubs, 16.0},
        {"edPdUb", "1,5", ubs, 1.0},
        {"edPdUb", "x", ubs, 0.0},
    };
    for (const auto &r : rows) {
        setEdit(r.control, r.text);
        EXPECT_NEAR(r.get(project().settings), r.expected, 1e-5) << r.control << " " << r.text;
    }
}

TEST_F(Pages, RsSpeedCombosClamp) {
    click("ПД:250");
    const struct {
        const char *text;
        int expected;
    } rows[] = {{"19200", 19200}, {"200000", 115200}, {"100", 300}};
    for (const auto &r : rows) {
        setCombo("cbPdRsSpeed", r.text);
        EXPECT_EQ(project().settings.rss, r.expected) << r.text;
    }
    click("БС:238");
    setCombo("cbBcRsSpeed", "200000");
    EXPECT_EQ(project().bcUnits[0].rss, 115200);
}

// Typed through Qt's completer as a user does: an item typed in another case and confirmed
// becomes that item; a text that is no item clears the flag (or gives echo type 0).
TEST_F(Pages, ChoicesAreComparedExactly) {
    click(alNodeText(238, 1)); // the AL window edits the selected line
    AlLine &al = *FindAlLine(project(), 238, 1);
    PdSettings &pd = project().settings;
    const auto pdBox = [this](const char *name) { return find<QComboBox>(name); };
    const auto dopBox = [](QWidget *window, const char *name) {
        return window->findChild<QComboBox *>(QString::fromLatin1(name));
    };
    using C = Confirm;
    const struct {
        QComboBox *box;
        const char *typed;
        C confirm;
        std::function<int()> stored;
        int expected;
        const char *shown; // the box's text afterwards
    } rows[] = {
        {pdBox("edPdStatus"), "ведущий", C::Return, [&] { return int(pd.mst); }, 1, "Ведущий"},
        {pdBox("edPdStatus"), "главный", C::Return, [&] { return int(pd.mst); }, 0, "главный"},
        {pdBox("edPdStatus"), "ВЕДУЩИЙ", C::Leave, [&] { return int(pd.mst); }, 1, "Ведущий"},
        {pdBox("edPdStatus"), "ведомый", C::Leave, [&] { return int(pd.mst); }, 0, "Ведомый"},
        {pdBox("cbUSBMode"), "com порт", C::Return, [&] { return int(pd.usb); }, 1, "COM порт"},
        {pdBox("cbUSBMode"), "usb flash", C::Leave, [&] { return int(pd.usb); }, 0, "USB Flash"},
        {pdBox("edPdDir"), "west", C::Return, [&] { return int(pd.drw); }, 1, "WEST"},
        {pdBox("edPdDir"), "север", C::Leave, [&] { return int(pd.drw); }, 0, "север"},
        {pdBox("edPdDir"), "West", C::Leave, [&] { return int(pd.drw); }, 1, "WEST"},
        {pdBox("cbPdMic"), "с фиксацией", C::Return, [&] { return int(pd.mlk); }, 1, "С фиксацией"},
        {pdBox("cbPdMic"), "что-то", C::Return, [&] { return int(pd.mlk); }, 0, "что-то"},
        {pdBox("cbPdMic"), "С ФИКСАЦИЕЙ", C::Leave, [&] { return int(pd.mlk); }, 1, "С фиксацией"},
        {dopBox(m_windows.pdDop, "cbPdEchoType"), "динамик", C::Return, [&] { return int(pd.etp); }, 1,
         "Динамик"},
        {dopBox(m_windows.pdDop, "cbPdEchoType"), "МИКРОФОН", C::Leave, [&] { return int(pd.etp); }, 2,
         "Микрофон"},
        {dopBox(m_windows.pdDop, "cbPdEchoType"), "колонка", C::Return, [&] { return int(pd.etp); }, 0,
         "колонка"},
        {dopBox(m_windows.alDop, "cbAlEchoType"), "микрофон", C::Leave, [&] { return int(al.etp); }, 2,
         "Микрофон"},
        {dopBox(m_windows.alDop, "cbAlEchoType"), "нет", C::Return, [&] { return int(al.etp); }, 0, "нет"},
        {dopBox(m_windows.alDop, "cbAlEchoType"), "динамик", C::Return, [&] { return int(al.etp); }, 1,
         "Динамик"},
    };
    for (const auto &r : rows) {
        ASSERT_NE(r.box, nullptr) << r.typed;
        choose(r.box, QString::fromUtf8(r.typed), r.confirm);
        const char *how = r.confirm == C::Return ? " + Return" : " + leaving the box";
        EXPECT_EQ(r.stored(), r.expected) << r.box->objectName().toStdString() << " " << r.typed << how;
        EXPECT_EQ(r.box->currentText().toStdString(), r.shown) << r.typed << how;
    }
    click("БС:238");
    choose(find<QComboBox>("cbBcDir"), "west", C::Return);
    EXPECT_TRUE(project().bcUnits[0].drw);
    choose(find<QComboBox>("cbBcDir"), "east", C::Leave);
    EXPECT_FALSE(project().bcUnits[0].drw);
}

TEST_F(Pages, CheckBoxesFollowTheBox) {
    click("ПД:250");
    auto *log = find<QCheckBox>("edPDLog");
    log->setChecked(!log->isChecked());
    EXPECT_EQ(project().settings.rsl, log->isChecked());
    auto *err = find<QCheckBox>("edPdShowErr");
    err->setChecked(!err->isChecked());
    EXPECT_EQ(project().settings.ers, err->isChecked());
    click("БС:238");
    auto *bypass = find<QCheckBox>("cbBypass");
    bypass->setChecked(!bypass->isChecked());
    EXPECT_EQ(project().bcUnits[0].byp, bypass->isChecked());
}

TEST_F(Pages, BcAddressRefusedWhenUsedAndLinesFollowFreeOne) {
    click("БС:238");
    setEdit("edBcAddr", "240");
    EXPECT_EQ(project().bcUnits[0].adr, 238);
    EXPECT_EQ(topTexts()[1], "БС:238");
    setEdit("edBcAddr", "245");
    EXPECT_EQ(project().bcUnits[0].adr, 245);
    EXPECT_EQ(topTexts()[1], "БС:245");
    EXPECT_NE(FindAlLine(project(), 245, 1), nullptr);
    EXPECT_NE(FindAlLine(project(), 240, 1), nullptr) << "the other BC's line stays";
}

TEST_F(Pages, BcFields) {
    click("БС:238");
    setEdit("edBcUbWest", "13.7");
    setEdit("edBcUbEast", "99");
    setEdit("edBcMasterAddr", "1");
    setEdit("edBcSlaveAddr", "300");
    const BcUnit &bc = project().bcUnits[0];
    EXPECT_FLOAT_EQ(bc.ubw, 13.7f);
    EXPECT_FLOAT_EQ(bc.ube, 16.0f);
    EXPECT_EQ(bc.pad, 250);
    EXPECT_EQ(bc.pas, 254);
}

TEST_F(Pages, AlNumberAndZoneRules) {
    click(alNodeText(238, 1));
    const int ownZone = project().alLines[0].num;
    const int otherZone = project().alLines[1].num;
    setEdit("edAlNumber", "17");
    EXPECT_EQ(project().alLines[0].prt, 1);
    setEdit("edAlNumber", "257");
    EXPECT_EQ(project().alLines[0].prt, 1) << "257 is 1, which this line already has";
    setEdit("edAlNumber", "5");
    EXPECT_EQ(project().alLines[0].prt, 5);
    EXPECT_EQ(tree()->currentItem()->text(0), QString("АЛ:5:Зона:%1").arg(ownZone));

    for (const QString &refused : {QString("0"), QString("70000"), QString::number(otherZone)}) {
        setEdit("edAlZone", refused);
        EXPECT_EQ(project().alLines[0].num, ownZone) << refused.toStdString();
    }
    const int freeZone = otherZone == 40000 ? 40001 : 40000;
    setEdit("edAlZone", QString::number(freeZone));
    EXPECT_EQ(project().alLines[0].num, freeZone);
    EXPECT_EQ(tree()->currentItem()->text(0), QString("АЛ:5:Зона:%1").arg(freeZone));
}

TEST_F(Pages, AlNumber257TakenAsOneWhenFree) {
    click(alNodeText(238, 1));
    setEdit("edAlNumber", "3");
    setEdit("edAlNumber", "257");
    EXPECT_EQ(project().alLines[0].prt, 1);
}

TEST_F(Pages, NamesCutToByteCapacityWholeCharacters) {
    QString longName;
    for (int i = 0; i < 40; ++i)
        longName += QChar(0x0416); // Ж, two bytes in UTF-8
    click("БС:238");
    setEdit("edBcName", longName);
    EXPECT_EQ(std::strlen(project().bcUnits[0].nam), 62u); // 63 would split a letter
    click(alNodeText(238, 1));
    setEdit("edAlName", longName);
    EXPECT_EQ(std::strlen(project().alLines[0].nam), 32u);
    EXPECT_TRUE(QString::fromUtf8(project().alLines[0].nam).toUtf8() == QByteArray(project().alLines[0].nam));
}

TEST_F(Pages, FillingWritesNothingAndEditsMarkModifiedOnlyOnRealChange) {
    // Save clears the flag; then clicks that fill pages must leave it clear.
    m_dialogs.saveFile(QString::fromStdString((m_dir / "p.cfg").string()));
    ASSERT_TRUE(main().SaveProject());
    const std::string before = std::string(reinterpret_cast<const char *>(&project().settings), sizeof(PdSettings));
    click("ПД:250");
    click("БС:238");
    click(alNodeText(238, 1));
    EXPECT_FALSE(main().IsModified());
    EXPECT_EQ(std::memcmp(before.data(), &project().settings, sizeof(PdSettings)), 0);

    setEdit("edAlMic", QString::number(project().alLines[0].mic)); // same value again
    EXPECT_FALSE(main().IsModified());
    setEdit("edAlMic", "7");
    EXPECT_EQ(project().alLines[0].mic, 7);
    EXPECT_TRUE(main().IsModified());
}

TEST_F(Pages, AlVoltagesAndVolumes) {
    click(alNodeText(238, 1));
    const struct {
        const char *control, *text;
        float AlLine::*field;
        float expected;
    } volts[] = {
        {"edAlUvp", "5.5", &AlLine::uvp, 5.5f}, {"edAlUk", "17", &AlLine::ukn, 16.0f},
        {"edAlTUvp", "2", &AlLine::tuv, 2.0f},  {"edAlTUk", "x", &AlLine::tuk, 0.0f},
        {"edAlUsp", "3.25", &AlLine::usp, 3.25f},
    };
    for (const auto &r : volts) {
        setEdit(r.control, r.text);
        EXPECT_FLOAT_EQ(project().alLines[0].*r.field, r.expected) << r.control;
    }
    setEdit("edAlSpk", "5000");
    setEdit("edAlSig", "12");
    EXPECT_EQ(project().alLines[0].spk, 1024);
    EXPECT_EQ(project().alLines[0].sps, 12);
}
} // namespace
