#pragma once
// A main window with its windows, a settings folder of its own and scripted dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <memory>

#include "TfrMain.h"
#include "app_paths.h"
#include "app_windows.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsDirOverride(m_dir.path());
        m_windows = CreateAppWindows();
        main().SetDialogs(&m_dialogs);
    }
    void TearDown() override {
        m_windows.main.reset();
        SetSettingsDirOverride({});
    }

    TfrMain &main() { return *m_windows.main; }
    Project &project() { return main().project(); }
    template <class T = QWidget> T *find(const char *name) {
        T *w = main().findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTreeWidget *tree() { return find<QTreeWidget>("tvNetwork"); }
    QStringList topTexts() {
        QStringList out;
        for (int i = 0; i < tree()->topLevelItemCount(); ++i)
            out << tree()->topLevelItem(i)->text(0);
        return out;
    }
    QTreeWidgetItem *node(const QString &text) {
        const auto found = tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void click(const QString &text) {
        QTreeWidgetItem *item = node(text);
        ASSERT_NE(item, nullptr) << text.toStdString();
        main().tvNetworkClick(item);
    }
    QString currentPage() { return find<QStackedWidget>("pcMain")->currentWidget()->objectName(); }
    // A new project named `name`, as the user creates it.
    void newProject(const QString &name = "Тест") {
        m_dialogs.input(name);
        main().miNewClick();
    }
    void addBc(int adr) {
        click(tree()->topLevelItem(0)->text(0));
        m_dialogs.input(QString::number(adr));
        main().btDeviceAddClick();
    }
    void addAl(int bcAdr, int prt) {
        click(QString("БС:%1").arg(bcAdr));
        m_dialogs.input(QString::number(prt));
        main().btDeviceAddClick();
    }
    QString alNodeText(int bcAdr, int prt) {
        const AlLine *al = FindAlLine(project(), uint8_t(bcAdr), uint16_t(prt));
        return al ? QString("АЛ:%1:Зона:%2").arg(prt).arg(al->num) : QString();
    }
    void setEdit(const char *name, const QString &text) { find<QLineEdit>(name)->setText(text); }

    TempDir m_dir;
    ScriptedDialogs m_dialogs;
    AppWindows m_windows;
};
