// The network tree: node texts, table order, clicks that fill pages, add and delete.
#include "app_fixture.h"

#include <QCheckBox>
#include <QComboBox>

namespace {
using Kind = ScriptedDialogs::Kind;
const QString kTitle = "TALVIK ПД БС Конфигуратор";

class Tree : public AppFixture {};

TEST_F(Tree, NewProjectShowsOnlyThePdNode) {
    newProject();
    EXPECT_EQ(topTexts(), QStringList{"ПД:250"});
    EXPECT_EQ(currentPage(), "tsEmpty");
    EXPECT_TRUE(main().IsModified());
    for (const char *b : {"btDeviceAdd", "btDeviceDel", "bdReadCom", "btFileManager", "btGetVoltage"})
        EXPECT_FALSE(find<QPushButton>(b)->isEnabled()) << b;
}

TEST_F(Tree, BcUnitsKeepTableOrder) {
    newProject();
    addBc(240);
    addBc(238);
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:240", "БС:238"}));
    EXPECT_EQ(m_dialogs.asked()[1].text, "Введите адрес БС [238..249]");
    EXPECT_EQ(m_dialogs.m_lastInputDefault, "");
}

TEST_F(Tree, AlLineAddedUnderItsBcWhichIsExpanded) {
    newProject();
    addBc(240);
    addBc(238);
    addAl(238, 5);
    EXPECT_EQ(m_dialogs.asked().back().text, "Введите номер АЛ [1..16]");
    QTreeWidgetItem *bc = node("БС:238");
    ASSERT_NE(bc, nullptr);
    ASSERT_EQ(bc->childCount(), 1);
    const QString text = bc->child(0)->text(0);
    EXPECT_TRUE(text.startsWith("АЛ:5:Зона:")) << text.toStdString();
    EXPECT_EQ(text, alNodeText(238, 5));
    EXPECT_TRUE(bc->isExpanded());
    EXPECT_FALSE(node("БС:240")->isExpanded());
    EXPECT_EQ(node("БС:240")->childCount(), 0);
}

TEST_F(Tree, WrongInputInAddDialogsShowsItsMessageAndChangesNothing) {
    struct {
        const char *name;
        bool al;
        const char *typed;
        const char *message;
    } rows[] = {
        {"letters as BC address", false, "abc", "Ошибка в адресе"},
        {"PD address as BC address", false, "250", "Ошибка в адресе"},
        {"BC address in use", false, "238", "Ошибка такой адрес уже есть"},
        {"AL number 17", true, "17", "Ошибка в номере"},
        {"AL number in use", true, "1", "Ошибка такой порт уже есть"},
    };
    newProject();
    addBc(238);
    addAl(238, 1);
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        const int bcs = project().bcCount, als = project().alCount;
        click(r.al ? "БС:238" : "ПД:250");
        m_dialogs.clearAsked();
        m_dialogs.input(r.typed);
        main().btDeviceAddClick();
        ASSERT_EQ(m_dialogs.asked().size(), 2u);
        EXPECT_EQ(m_dialogs.asked()[1].kind, Kind::Information);
        EXPECT_EQ(m_dialogs.asked()[1].caption, kTitle);
        EXPECT_EQ(m_dialogs.asked()[1].text, r.message);
        EXPECT_EQ(project().bcCount, bcs);
        EXPECT_EQ(project().alCount, als);
    }
}

TEST_F(Tree, CancelledAddChangesNothing) {
    newProject();
    click("ПД:250");
    m_dialogs.cancelInput();
    main().btDeviceAddClick();
    EXPECT_EQ(project().bcCount, 0);
}

TEST_F(Tree, DeletingBcRemovesItsLinesAndClicksShowOwnData) {
    newProject();
    addBc(238);
    addBc(240);
    addAl(238, 1);
    addAl(240, 2);
    addAl(238, 3);
    click("БС:238");
    m_dialogs.yes();
    main().btDeviceDelClick();
    EXPECT_EQ(m_dialogs.asked().back().text, "Удалить ?");
    EXPECT_EQ(m_dialogs.asked().back().caption, kTitle);
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:240"}));
    ASSERT_EQ(project().alCount, 1);
    EXPECT_EQ(project().alLines[0].adr, 240);
    EXPECT_FALSE(find<QPushButton>("btDeviceDel")->isEnabled());
    EXPECT_EQ(main().SelectedBcUnit(), nullptr) << "no selection survives a rebuild";

    click("БС:240");
    EXPECT_EQ(find<QLineEdit>("edBcAddr")->text(), "240");
    node("БС:240")->setExpanded(true);
    click(alNodeText(240, 2));
    EXPECT_EQ(find<QLineEdit>("edAlNumber")->text(), "2");
    EXPECT_EQ(main().SelectedAlLine(), &project().alLines[0]);
}

TEST_F(Tree, DeleteAnsweredNoKeepsEverything) {
    newProject();
    addBc(238);
    click("БС:238");
    m_dialogs.no();
    main().btDeviceDelClick();
    EXPECT_EQ(project().bcCount, 1);
}

TEST_F(Tree, DeletingAlLineKeepsItsBcExpanded) {
    newProject();
    addBc(238);
    addAl(238, 1);
    addAl(238, 2);
    click(alNodeText(238, 1));
    EXPECT_EQ(find<QPushButton>("btDeviceDel")->text(), "Удалить АЛ");
    EXPECT_FALSE(find<QPushButton>("btDeviceAdd")->isEnabled());
    m_dialogs.yes();
    main().btDeviceDelClick();
    ASSERT_EQ(node("БС:238")->childCount(), 1);
    EXPECT_TRUE(node("БС:238")->isExpanded());
    EXPECT_EQ(project().alLines[0].prt, 2);
}

TEST_F(Tree, ClickFillsPageAndSetsCaptionsByKind) {
    newProject();
    addBc(238);
    addAl(238, 4);
    struct {
        QString node;
        const char *page, *add, *read, *volt, *fm;
        bool addEnabled, delEnabled;
    } rows[] = {
        {"ПД:250", "tsPD", "Добавить БС", "Прочитать параметры с ПД", "Текушие напряжения на ПД",
         "Файловый менеджер ПД", true, false},
        {"БС:238", "tsBC", "Добавить АЛ", "Прочитать параметры с БС", "Текушие напряжения на БС",
         "Файловый менеджер БС", true, true},
        // Lines hold no files: the disabled file manager names no device.
        {alNodeText(238, 4), "tsAL", "Добавить АЛ", "Прочитать параметры с АЛ", "Текушие напряжения на АЛ",
         "Файловый менеджер", false, true},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.node.toStdString());
        click(r.node);
        EXPECT_EQ(currentPage(), r.page);
        EXPECT_EQ(find<QPushButton>("btDeviceAdd")->text(), r.add);
        EXPECT_EQ(find<QPushButton>("bdReadCom")->text(), r.read);
        EXPECT_EQ(find<QPushButton>("btGetVoltage")->text(), r.volt);
        EXPECT_EQ(find<QPushButton>("btFileManager")->text(), r.fm);
        EXPECT_EQ(find<QPushButton>("btDeviceAdd")->isEnabled(), r.addEnabled);
        EXPECT_EQ(find<QPushButton>("btDeviceDel")->isEnabled(), r.delEnabled);
        // The port is closed: no device command can be used.
        for (const char *b : {"bdReadCom", "btGetVoltage", "btFileManager"})
            EXPECT_FALSE(find<QPushButton>(b)->isEnabled()) << b;
    }
}

TEST_F(Tree, PdAddressEditEnabledOnlyForMaster) {
    newProject();
    project().settings.mst = false;
    click("ПД:250");
    EXPECT_FALSE(find<QLineEdit>("edPdAddr")->isEnabled());
    EXPECT_EQ(find<QComboBox>("edPdStatus")->currentText(), "Ведомый");
    project().settings.mst = true;
    click("ПД:250");
    EXPECT_TRUE(find<QLineEdit>("edPdAddr")->isEnabled());
}

TEST_F(Tree, NodeWhoseRecordIsGoneSaysSo) {
    newProject();
    addBc(238);
    addAl(238, 1);
    const QString alText = alNodeText(238, 1);
    // The tables change behind the tree's back, as a reply from the network may do.
    project().alCount = 0;
    click(alText);
    project().bcCount = 0;
    click("БС:238");
    EXPECT_EQ(m_dialogs.messages(), (std::vector<QString>{"Нет АЛ", "Нет БС"}));
    EXPECT_EQ(currentPage(), "tsEmpty");
    EXPECT_FALSE(find<QPushButton>("btDeviceDel")->isEnabled());
}

TEST_F(Tree, ExpandNodeByTextAndSelectedKind) {
    newProject();
    addBc(238);
    addAl(238, 1);
    EXPECT_EQ(main().SelectedNodeKind(), NodeKind::Bc) << "the add keeps its BC selected";
    tree()->setCurrentItem(nullptr);
    EXPECT_EQ(main().SelectedNodeKind(), NodeKind::None);
    main().ExpandNodeByText("БС:238");
    EXPECT_TRUE(node("БС:238")->isExpanded());
    main().ExpandNodeByText("нет такого"); // nothing happens
    click(alNodeText(238, 1));
    EXPECT_EQ(main().SelectedNodeKind(), NodeKind::Al);
    click("ПД:250");
    EXPECT_EQ(main().SelectedNodeKind(), NodeKind::Pd);
}

TEST_F(Tree, KeyboardSelectionFollowsTheCurrentNode) {
    newProject();
    addBc(238);
    addBc(240);
    click("БС:238");
    // Moving with the keyboard to another BC: delete must act on the node the user sees.
    tree()->setCurrentItem(node("БС:240"));
    EXPECT_EQ(find<QLineEdit>("edBcAddr")->text(), "240");
    m_dialogs.yes();
    main().btDeviceDelClick();
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:238"}));
}

TEST_F(Tree, FullProjectFromFileTreeShowsLinesUnderMatchingBcOnly) {
    newProject();
    BcUnit bc;
    InitDeviceRecord(bc);
    bc.adr = 241;
    AppendBcUnit(project(), bc);
    AlLine al;
    InitZoneRecord(al);
    al.adr = 241;
    al.prt = 1;
    al.num = 7;
    AppendAlLine(project(), al);
    al.adr = 100; // a line whose BC is not in the project gets no node
    al.num = 8;
    AppendAlLine(project(), al);
    main().RebuildNetworkTree();
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:241"}));
    ASSERT_EQ(node("БС:241")->childCount(), 1);
    EXPECT_EQ(node("БС:241")->child(0)->text(0), "АЛ:1:Зона:7");
}
} // namespace
