// The COM port settings dialog on the running program: what it offers, and how its OK
// is applied step by step to the port, the PC's address and the buttons.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>

#include "TCommPort.h"
#include "device_protocol.h"
#include "network_fixture.h"
#include "port_names.h"
#include "read_back_window.h"

namespace {

struct DialogTexts {
    QStringList portItems;
    QString port, speed, addr;
};

class ComSettingDialog : public NetworkFixture {
protected:
    // Opens the dialog; `edit` sees what it offers and may retype the three texts;
    // OK when it returns true.
    DialogTexts run(const std::function<bool(QComboBox *port, QComboBox *speed, QLineEdit *addr)> &edit) {
        DialogTexts seen;
        m_dialogs.modal([&](QDialog &d) {
            auto *port = d.findChild<QComboBox *>("cbComNumber");
            auto *speed = d.findChild<QComboBox *>("cbComSpeed");
            auto *addr = d.findChild<QLineEdit *>("edPivAddr");
            EXPECT_TRUE(port && speed && addr);
            for (int i = 0; i < port->count(); ++i)
                seen.portItems << port->itemText(i);
            seen.port = port->currentText();
            seen.speed = speed->currentText();
            seen.addr = addr->text();
            return edit(port, speed, addr);
        });
        main().miSettingComClick();
        EXPECT_TRUE(m_dialogs.scriptDone()) << "the dialog was shown";
        return seen;
    }
    static bool cancel(QComboBox *, QComboBox *, QLineEdit *) { return false; }
    bool readEnabled() { return find<QPushButton>("bdReadCom")->isEnabled(); }
    QString comText() const { return "COM" + QString::number(m_com); }
};

TEST_F(ComSettingDialog, OffersThePortsFolderAsComNumbersAndTheCurrentValues) {
    ASSERT_EQ(RegisterComLink(PortsDir(), "/dev/null", 17), 17);
    const DialogTexts seen = run(cancel);
    EXPECT_EQ(m_dialogs.asked().back().caption, "Настройки COM порта");
    // Beside each number, what it is: here the simulator's pseudo-terminal and a plain device.
    EXPECT_EQ(seen.portItems.filter(QRegularExpression("^" + comText() + " \\(симулятор, /dev/pts/[0-9]+\\)$")).size(),
              1)
        << seen.portItems.join(", ").toStdString();
    EXPECT_TRUE(seen.portItems.contains("COM17 (/dev/null)"));
    for (const QString &item : seen.portItems)
        EXPECT_TRUE(QRegularExpression("^COM[1-9][0-9]*( \\(.+\\))?$").match(item).hasMatch()) << item.toStdString();
    EXPECT_EQ(seen.port, comText());
    EXPECT_EQ(seen.speed, "115200");
    EXPECT_EQ(seen.addr, "254");
    // Cancel changes nothing.
    EXPECT_TRUE(main().ComPort().Open());
    EXPECT_EQ(main().ComPort().ComNumber(), m_com);
    EXPECT_EQ(main().Addr(), 254);
}

TEST_F(ComSettingDialog, PortChosenFromTheListOpensItsNumber) {
    main().ComPort().SetComNumber(-1);
    run([&](QComboBox *port, QComboBox *, QLineEdit *) {
        const int i = port->findText(comText() + " (", Qt::MatchStartsWith);
        EXPECT_GE(i, 0);
        port->setCurrentIndex(i);
        return true;
    });
    EXPECT_TRUE(m_dialogs.messages().empty());
    EXPECT_EQ(main().ComPort().ComNumber(), m_com);
    EXPECT_TRUE(main().ComPort().Open());
}

TEST_F(ComSettingDialog, PortBoxIsEmptyWithoutAPortAndOkWithItEmptyKeepsTheNumber) {
    main().ComPort().SetComNumber(-1);
    const DialogTexts seen = run([](QComboBox *, QComboBox *, QLineEdit *) { return true; });
    EXPECT_EQ(seen.port, "");
    EXPECT_EQ(main().ComPort().ComNumber(), -1);
    EXPECT_FALSE(main().ComPort().Open());
}

TEST_F(ComSettingDialog, HandTypedUnknownSpeedIsAppliedAs19200AndThePortReopens) {
    run([](QComboBox *, QComboBox *speed, QLineEdit *) {
        speed->setEditText(" 12345 ");
        return true;
    });
    EXPECT_EQ(main().ComPort().GetBaud(), 19200);
    EXPECT_TRUE(main().ComPort().Open());
    EXPECT_EQ(main().ComPort().ComNumber(), m_com);
}

TEST_F(ComSettingDialog, AddressOf300IsKeptAndFramesCarry44) {
    openDemoProject();
    run([](QComboBox *, QComboBox *, QLineEdit *addr) {
        addr->setText("300");
        return true;
    });
    EXPECT_EQ(main().Addr(), 300);
    click("ПД:250");
    press("bdReadCom");
    ASSERT_TRUE(waitFor([&] { return window("TfrReadParams")->isVisible(); }, 3000))
        << "the reply to 44 is the PC's own";
    ASSERT_FALSE(heard().empty());
    EXPECT_EQ(heard().front().text, "-> 250 from 44 GETSETTING");
    m_windows.main.reset(); // writes the settings file
    QSettings ini(QString::fromStdString((m_dir / "talvikcfg.ini").string()), QSettings::IniFormat);
    EXPECT_EQ(ini.value("COM/Addr").toInt(), 300);
}

TEST_F(ComSettingDialog, NonNumericTextShowsTheErrorAndStopsTheStepsAfterIt) {
    openDemoProject();
    click("ПД:250");
    ASSERT_TRUE(readEnabled());
    run([&](QComboBox *port, QComboBox *speed, QLineEdit *addr) {
        port->setEditText(comText());
        speed->setEditText("fast");
        addr->setText("200");
        return true;
    });
    ASSERT_EQ(m_dialogs.messages(), std::vector<QString>{"Скорость COM порта «fast» — не целое число"});
    EXPECT_EQ(m_dialogs.asked().back().caption, "TALVIK ПД БС Конфигуратор");
    EXPECT_EQ(main().Addr(), 254) << "the address step never ran";
    EXPECT_EQ(main().ComPort().GetBaud(), 115200);
    EXPECT_FALSE(main().ComPort().Open()) << "the new port number closed the port";
    EXPECT_FALSE(readEnabled()) << "the buttons follow the closed port";
    EXPECT_FALSE(find<QAction>("miScaner")->isEnabled());

    // A valid OK opens the port again and refreshes the selected node's buttons.
    run([](QComboBox *, QComboBox *, QLineEdit *) { return true; });
    EXPECT_TRUE(main().ComPort().Open());
    EXPECT_TRUE(readEnabled());
    EXPECT_EQ(currentPage(), "tsPD");
}

} // namespace
