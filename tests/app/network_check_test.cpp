// "Сверить сеть с проектом" against the simulated network: the demo network against its
// own state, a changed project, a silent unit, and the report's copy and save.
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QTableWidget>

#include "network_check/tfr_network_check.h"
#include "network_fixture.h"
#include "progress_window.h"
#include "project_file.h"
#include "read_back_window.h"
#include "record_compare.h"
#include "text_utils.h"

namespace {

class NetworkCheck : public NetworkFixture {
protected:
    void SetUp() override {
        m_timings.checkIntervalMs = 20; // the real pace has a test of its own
        m_timings.networkWriteIntervalMs = 20;
        NetworkFixture::SetUp();
    }
    TfrNetworkCheck *check() { return m_windows.networkCheck; }
    std::string deviceState() {
        return withNetwork([](SimNetwork &n) { return n.projectText(); });
    }
    // The devices' own configuration as the project, opened from a file.
    void openDeviceState() {
        const QString path = QString::fromStdString((m_dir / "dump.cfg").string());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(deviceState()));
        f.close();
        m_dialogs.openFile(path);
        main().miLoadClick();
        ASSERT_TRUE(main().IsProjectOpen());
    }
    void runCheck() {
        QAction *item = find<QAction>("miCheckNetwork");
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        ASSERT_TRUE(check()->IsRunning());
        ASSERT_TRUE(waitFor([&] { return !check()->IsRunning(); }, 20000));
        ASSERT_TRUE(check()->isVisible());
    }
    QString summary() { return check()->findChild<QLabel *>("lbSummary")->text(); }
    QString report() { return check()->ReportPlainText(); }
};

TEST_F(NetworkCheck, MenuItemFollowsTheProject) {
    EXPECT_FALSE(find<QAction>("miCheckNetwork")->isEnabled());
    EXPECT_EQ(find<QAction>("miCheckNetwork")->text(), "Сверить сеть с проектом");
    openDeviceState();
    EXPECT_TRUE(find<QAction>("miCheckNetwork")->isEnabled());
    main().miCloseProjectClick();
    EXPECT_FALSE(find<QAction>("miCheckNetwork")->isEnabled());
}

TEST_F(NetworkCheck, DemoNetworkAgainstItsOwnStateHasNoDifference) {
    openDeviceState();
    runCheck();
    EXPECT_EQ(summary(), "Сеть совпадает с проектом");
    EXPECT_EQ(report(), "Сеть совпадает с проектом\n");
    EXPECT_EQ(check()->findChild<QTableWidget *>("tbReport")->rowCount(), 0);
    EXPECT_TRUE(logged("Сверка сети с проектом: Сеть совпадает с проектом"));
    EXPECT_EQ(check()->Run().Done(), 35);
    // Reading for the check is no read for the compare windows.
    EXPECT_FALSE(window("TfrReadParams")->isVisible());
    EXPECT_FALSE(window("TfrReadParamsZone")->isVisible());
}

TEST_F(NetworkCheck, ThreeChangesInTheProjectAreExactlyTheThreeRows) {
    openDeviceState();
    project().settings.spk = 77;
    CopyTextUtf8(FindBcUnit(project(), 240)->nam, kBcNameSize, "Корпус В");
    FindAlLine(project(), 238, 3)->uvp = 10.1f;
    main().MarkModified();
    auto before = std::make_unique<Project>(project());
    const std::string devicesBefore = deviceState();

    runCheck();
    EXPECT_EQ(report().toStdString(),
              "Записей с расхождениями: 3\n"
              "ПД:250: отличается\n"
              "    spk (Динамика, %): в проекте \"77\", в устройстве \"100\"\n"
              "БС:238 АЛ:3: отличается\n"
              "    uvp (ВП подключено, Uvp): в проекте \"10.1\", в устройстве \"9.6\"\n"
              "БС:240: отличается\n"
              "    nam (Описание БС): в проекте \"Корпус В\", в устройстве \"БС-16 корпус Б\"\n");
    auto *table = check()->findChild<QTableWidget *>("tbReport");
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(2, 0)->text(), "БС:240");
    EXPECT_EQ(table->item(2, 2)->text(), "Корпус В");
    EXPECT_EQ(table->item(2, 3)->text(), "БС-16 корпус Б");
    // Nothing changed on either side.
    EXPECT_TRUE(SameRecord(project().settings, before->settings));
    EXPECT_EQ(project().alCount, before->alCount);
    EXPECT_STREQ(FindBcUnit(project(), 240)->nam, "Корпус В");
    EXPECT_EQ(deviceState(), devicesBefore);
    for (const Heard &h : heard())
        EXPECT_EQ(h.text.find(" SET"), std::string::npos) << h.text;
}

// The engineer's usual sequence: edit, write the project into the network, then check.
// Everything the write sent must read back as the project holds it.
TEST_F(NetworkCheck, AfterWritingTheProjectIntoTheNetworkNothingDiffers) {
    openDemoProject([](Project &p) {
        p.settings.spk = 7;
        CopyTextUtf8(FindBcUnit(p, 240)->nam, kBcNameSize, "БС-16 склад");
        FindAlLine(p, 238, 1)->uvp = 12.3f;
        DeleteAlLine(p, 238, 4);
    });
    main().MarkModified();
    m_dialogs.warningYes();
    m_dialogs.ok();
    main().miSaveTALVIKClick();
    ASSERT_TRUE(main().NetworkWriteRunning());
    ASSERT_TRUE(waitFor([&] { return !main().NetworkWriteRunning(); }, 20000));
    ASSERT_TRUE(logged("Копирую файл конфигурации сети TALVIK в ПД"));

    runCheck();
    EXPECT_EQ(summary(), "Сеть совпадает с проектом") << report().toStdString();
}

TEST_F(NetworkCheck, AMutedUnitIsListedAsNotAnswering) {
    openDeviceState();
    withNetwork([](SimNetwork &n) { n.setMuted(240, true); });
    runCheck();
    EXPECT_EQ(report().toStdString(), "Записей с расхождениями: 1\nБС:240: не отвечает\n");
    auto *table = check()->findChild<QTableWidget *>("tbReport");
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 1)->text(), "не отвечает");
}

TEST_F(NetworkCheck, ProgressFollowsTheReadingAndStopEndsIt) {
    openDeviceState();
    find<QAction>("miCheckNetwork")->trigger();
    TfrProgress *progress = check()->Progress();
    ASSERT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->windowTitle(), "Сверка сети с проектом");
    EXPECT_EQ(progress->Total(), 35);
    ASSERT_TRUE(waitFor([&] { return progress->Done() >= 3; }, 5000));
    EXPECT_EQ(progress->Done(), check()->Run().Done());
    progress->findChild<QPushButton *>("btStop")->click();
    EXPECT_FALSE(check()->IsRunning());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(check()->isVisible()) << "what was read so far is reported";
    EXPECT_TRUE(summary().contains("сверка остановлена")) << summary().toStdString();
    EXPECT_TRUE(logged("Сверка сети с проектом остановлена"));
}

TEST_F(NetworkCheck, ReportIsCopiedAndSavedAsText) {
    openDeviceState();
    project().settings.spk = 77;
    runCheck();
    check()->findChild<QPushButton *>("btCopyReport")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), report());

    const QString path = QString::fromStdString((m_dir / "отчёт.txt").string());
    m_dialogs.saveFile(path);
    check()->findChild<QPushButton *>("btSaveReport")->click();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), report());

    m_dialogs.saveFile(QString::fromStdString((m_dir / "нет" / "отчёт.txt").string()));
    check()->findChild<QPushButton *>("btSaveReport")->click();
    ASSERT_EQ(m_dialogs.messages().size(), 1u);
    EXPECT_TRUE(m_dialogs.messages()[0].startsWith("Не удалось сохранить отчёт в файл "))
        << m_dialogs.messages()[0].toStdString();
    m_dialogs.saveFile(""); // cancelled: nothing happens
    check()->findChild<QPushButton *>("btSaveReport")->click();
    EXPECT_EQ(m_dialogs.messages().size(), 1u);
}

} // namespace
