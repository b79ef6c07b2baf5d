// The tree keeps the user's place across rebuilds, its buttons name the node shown, and
// the Delete key deletes the selected node as the delete button does.
#include "app_fixture.h"

#include <QTest>

namespace {

class TreePlace : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        newProject();
        addBc(238);
        addBc(240);
        addAl(238, 1);
        addAl(238, 2);
        addAl(240, 5);
    }
    QString caption(const char *button) { return find<QPushButton>(button)->text(); }
    QString current() { return tree()->currentItem() ? tree()->currentItem()->text(0) : QString(); }
};

TEST_F(TreePlace, RebuildsKeepExpandedNodesAndTheSelectedRecord) {
    node("БС:238")->setExpanded(true);
    click("БС:240");
    m_dialogs.input("7");
    main().btDeviceAddClick();
    EXPECT_TRUE(node("БС:238")->isExpanded()) << "an add elsewhere keeps 238 open";
    EXPECT_TRUE(node("БС:240")->isExpanded());
    EXPECT_EQ(current(), "БС:240");
    EXPECT_EQ(currentPage(), "tsBC");
    EXPECT_EQ(find<QLineEdit>("edBcAddr")->text(), "240");
    EXPECT_TRUE(find<QPushButton>("btDeviceAdd")->isEnabled());

    // A copy or a sweep merge renumbers the zone of the line shown: found by its port.
    click(alNodeText(238, 2));
    FindAlLine(project(), 238, 2)->num = 4242;
    main().RebuildNetworkTree();
    EXPECT_EQ(current(), "АЛ:2:Зона:4242");
    EXPECT_EQ(currentPage(), "tsAL");
    EXPECT_EQ(find<QLineEdit>("edAlZone")->text(), "4242");

    // A record that is gone selects nothing.
    ASSERT_TRUE(DeleteAlLine(project(), 238, 2));
    main().RebuildNetworkTree();
    EXPECT_EQ(tree()->currentItem(), nullptr);
    EXPECT_EQ(currentPage(), "tsEmpty");
    EXPECT_TRUE(node("БС:238")->isExpanded());
}

TEST_F(TreePlace, ButtonCaptionsFollowTheNodeReachedByKeyboard) {
    main().show();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    tree()->setFocus();
    click(alNodeText(238, 1));
    const struct {
        Qt::Key key;
        const char *node, *add, *del, *read;
    } steps[] = {
        {Qt::Key_Home, "ПД:250", "Добавить БС", "Удалить БС", "Прочитать параметры с ПД"},
        {Qt::Key_Down, "БС:238", "Добавить АЛ", "Удалить БС", "Прочитать параметры с БС"},
        {Qt::Key_Down, "", "Добавить АЛ", "Удалить АЛ", "Прочитать параметры с АЛ"}, // AL 1, still open
        {Qt::Key_Home, "ПД:250", "Добавить БС", "Удалить БС", "Прочитать параметры с ПД"},
    };
    for (const auto &s : steps) {
        QTest::keyClick(tree(), s.key);
        const QString expected = *s.node ? QString::fromUtf8(s.node) : alNodeText(238, 1);
        SCOPED_TRACE(expected.toStdString());
        EXPECT_EQ(current(), expected);
        EXPECT_EQ(caption("btDeviceAdd"), QString::fromUtf8(s.add));
        EXPECT_EQ(caption("btDeviceDel"), QString::fromUtf8(s.del));
        EXPECT_EQ(caption("bdReadCom"), QString::fromUtf8(s.read));
    }
}

TEST_F(TreePlace, DeleteKeyAsksAndDeletesTheSelectedNode) {
    main().show();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    tree()->setFocus();
    click(alNodeText(238, 1));
    m_dialogs.no();
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_NE(FindAlLine(project(), 238, 1), nullptr) << "No keeps the line";
    m_dialogs.yes();
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_EQ(FindAlLine(project(), 238, 1), nullptr);
    EXPECT_TRUE(main().IsModified());
    int asked = 0;
    for (const auto &a : m_dialogs.asked())
        asked += a.text == "Удалить ?";
    EXPECT_EQ(asked, 2);

    // The PD cannot be deleted: the key does nothing there.
    click("ПД:250");
    QTest::keyClick(tree(), Qt::Key_Delete);
    EXPECT_EQ(topTexts(), (QStringList{"ПД:250", "БС:238", "БС:240"}));
}

} // namespace
