// The scanner window on shrunk ticks against the simulated network: the range and the
// settings, the list the replies fill, reading a listed device and opening the file manager.
#include <QAction>
#include <QLabel>

#include "device_protocol.h"
#include "read_back_window.h"
#include "scanner/tfr_scan.h"
#include "tools_fixture.h"

namespace {

class ScanWindow : public ToolsFixture {
protected:
    ScanWindow() { m_timings.scanIntervalMs = 40; }
    TfrScan *scanner() { return static_cast<TfrScan *>(tool("TfrScan")); }
    void openScanner() {
        main().miScanerClick();
        ASSERT_TRUE(scanner()->isVisible());
    }
    // Runs a whole scan of the range and waits for its end message.
    void scan(const QString &from, const QString &to) {
        type("TfrScan", "edAddrStart", from);
        type("TfrScan", "edAddrStop", to);
        pressIn("TfrScan", "bbStart");
        ASSERT_TRUE(waitFor([&] { return !scanner()->IsScanning(); }, 10000));
        wait(150); // the last reply is still on its way
    }
    void select(int row) { control<QListWidget>("TfrScan", "lbScan")->setCurrentRow(row); }
    bool lineActionsEnabled() {
        const bool buttons = control<QPushButton>("TfrScan", "btReadCom")->isEnabled() &&
                             control<QPushButton>("TfrScan", "btFileManager")->isEnabled();
        const bool menu = control<QAction>("TfrScan", "miReadDevice")->isEnabled() &&
                          control<QAction>("TfrScan", "miFileManager")->isEnabled();
        EXPECT_EQ(buttons, menu) << "the buttons and the context menu go together";
        return buttons && menu;
    }
};

TEST_F(ScanWindow, RangeComesFromTheSettingsAndGoesBackOnClose) {
    main().SetScanRange("238", "245");
    openScanner();
    EXPECT_EQ(text("TfrScan", "edAddrStart"), "238");
    EXPECT_EQ(text("TfrScan", "edAddrStop"), "245");
    type("TfrScan", "edAddrStart", "240");
    type("TfrScan", "edAddrStop", "241");
    pressIn("TfrScan", "btClose");
    EXPECT_FALSE(scanner()->isVisible());
    EXPECT_EQ(main().ScanStart(), "240");
    EXPECT_EQ(main().ScanStop(), "241");
    // Every input says what it is to a screen reader.
    for (const char *edit : {"edAddrStart", "edAddrStop"})
        EXPECT_FALSE(control<QLineEdit>("TfrScan", edit)->accessibleName().isEmpty()) << edit;
    EXPECT_EQ(control<QLineEdit>("TfrScan", "edAddrStart")->accessibleName(), "От адреса");
    EXPECT_EQ(control<QLineEdit>("TfrScan", "edAddrStop")->accessibleName(), "До адреса");
}

TEST_F(ScanWindow, ScanListsEveryDeviceThatAnswersOnceAndSaysWhenItIsDone) {
    openScanner();
    type("TfrScan", "edAddrStart", "237");
    type("TfrScan", "edAddrStop", "241");
    pressIn("TfrScan", "bbStart");
    EXPECT_FALSE(control<QPushButton>("TfrScan", "bbStart")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("TfrScan", "bbStop")->isEnabled());
    EXPECT_FALSE(control<QListWidget>("TfrScan", "lbScan")->isEnabled()) << "no line to pick while scanning";
    ASSERT_TRUE(waitFor([&] { return !control<QLabel>("TfrScan", "lbAddr")->text().isEmpty(); }, 2000));
    ASSERT_TRUE(waitFor([&] { return !scanner()->IsScanning(); }, 5000));
    wait(150);

    EXPECT_EQ(scanLines(), (QStringList{scanLine(238), scanLine(240)}));
    EXPECT_EQ(m_dialogs.messages(), std::vector<QString>{"Сканирование завершено"});
    EXPECT_TRUE(control<QPushButton>("TfrScan", "bbStart")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("TfrScan", "bbStop")->isEnabled());
    EXPECT_TRUE(control<QListWidget>("TfrScan", "lbScan")->isEnabled());
    EXPECT_TRUE(control<QLabel>("TfrScan", "lbAddr")->text().isEmpty());
    EXPECT_EQ(main().ScanStart(), "237") << "a scan started keeps its range";

    // A second reply from a listed address adds nothing.
    main().protocol().Dispatcher().DispatchReply(reinterpret_cast<const uint8_t *>("OK_SERVICEagain"), 15, 240);
    EXPECT_EQ(scanLines().size(), 2);
    // A new scan starts from an empty list.
    scan("250", "250");
    EXPECT_EQ(scanLines(), QStringList{scanLine(250)});
}

TEST_F(ScanWindow, StopEndsTheScanWithoutTheEndMessage) {
    openScanner();
    type("TfrScan", "edAddrStart", "1");
    type("TfrScan", "edAddrStop", "255");
    pressIn("TfrScan", "bbStart");
    wait(130);
    pressIn("TfrScan", "bbStop");
    EXPECT_FALSE(scanner()->IsScanning());
    EXPECT_TRUE(m_dialogs.messages().empty());
    // Closing a running scan stops it too.
    pressIn("TfrScan", "bbStart");
    scanner()->close();
    EXPECT_FALSE(scanner()->IsScanning());
}

TEST_F(ScanWindow, RangeThatIsNoNumberIsReportedAndNothingIsProbed) {
    openScanner();
    type("TfrScan", "edAddrStart", "abc");
    pressIn("TfrScan", "bbStart");
    EXPECT_FALSE(scanner()->IsScanning());
    ASSERT_EQ(m_dialogs.asked().size(), 1u);
    EXPECT_EQ(m_dialogs.asked()[0].caption, "TALVIK ПД БС Конфигуратор");
    EXPECT_EQ(m_dialogs.asked()[0].text, "«abc» — не целое число");
    EXPECT_TRUE(control<QPushButton>("TfrScan", "bbStart")->isEnabled());
    wait(150);
    EXPECT_TRUE(heardRequests("SERVICE").empty());
}

TEST_F(ScanWindow, ListedPdIsReadIntoItsCompareWindow) {
    openDemoProject();
    openScanner();
    scan("250", "250");
    EXPECT_FALSE(lineActionsEnabled()) << "nothing chosen yet";
    select(0);
    EXPECT_TRUE(lineActionsEnabled());
    pressIn("TfrScan", "btReadCom");
    ASSERT_TRUE(waitFor([&] { return window("TfrReadParams")->isVisible(); }, 3000));
    EXPECT_EQ(main().protocol().readKind(), ReadPd);
    EXPECT_EQ(heardRequests("GETSETTING"), std::vector<std::string>{"250 GETSETTING"});
}

TEST_F(ScanWindow, ListedBcWithANewAddressJoinsTheProjectWhenCopied) {
    openDemoProject([](Project &p) { DeleteBcUnit(p, FindBcUnit(p, 240)); });
    openScanner();
    scan("240", "240");
    select(0);
    control<QAction>("TfrScan", "miReadDevice")->trigger();
    ASSERT_TRUE(waitFor([&] { return window("TfrReadParamsBc")->isVisible(); }, 3000));
    EXPECT_EQ(heardRequests("GETDEVICE"), std::vector<std::string>{"240 GETDEVICE"});
    m_dialogs.yes(); // copy
    m_dialogs.no();  // no AL sweep
    pressCopy("TfrReadParamsBc");
    ASSERT_NE(FindBcUnit(project(), 240), nullptr);
    EXPECT_EQ(project().bcUnits[project().bcCount - 1].adr, 240) << "added as the last BC";
    EXPECT_TRUE(main().IsModified());
    EXPECT_TRUE(logged("Данные БС скопированы в проект"));
}

TEST_F(ScanWindow, FileManagerOpensOnTheSelectedAddress) {
    FileManagerApi *real = main().fileManager();
    ASSERT_NE(real, nullptr) << "the program attaches its file manager at start";
    openScanner();
    scan("238", "240");
    select(1);
    main().AttachFileManager(nullptr);
    pressIn("TfrScan", "btFileManager"); // none attached: nothing happens
    FakeFileManager fm;
    main().AttachFileManager(&fm);
    pressIn("TfrScan", "btFileManager");
    select(0);
    control<QAction>("TfrScan", "miFileManager")->trigger();
    EXPECT_EQ(fm.opened, (std::vector<int>{240, 238}));

    // The real one lists the device's files.
    main().AttachFileManager(real);
    select(1);
    pressIn("TfrScan", "btFileManager");
    EXPECT_TRUE(find<QWidget>("TfrFileManager")->isVisible());
    EXPECT_TRUE(waitHeard("LIST", 1, 3000));
    EXPECT_EQ(heardRequests("LIST"), std::vector<std::string>{"240 LIST"});
}

} // namespace
