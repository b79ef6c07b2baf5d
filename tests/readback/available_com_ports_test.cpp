// The dialog offers the COM links of the settings folder, not of wherever the
// program happens to run from.
#include "available_com_ports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app_paths.h"
#include "com_setting_logic.h"
#include "port_names.h"
#include "temp_dir.h"

namespace {

TEST(AvailableComPorts, OffersTheLinksBesideTheSettingsFile) {
    TempDir settings;
    SetSettingsDirOverride(settings.path());
    ASSERT_EQ(RegisterComLink(PortsDir(), "/dev/null", 5), 5);

    const std::vector<int> ports = AvailableComPorts();
    SetSettingsDirOverride({});

    EXPECT_NE(std::find(ports.begin(), ports.end(), 5), ports.end());
    EXPECT_TRUE(ComSettingFillTexts(5, 19200, 254, ports).portItems.contains("COM5"));
}

TEST(AvailableComPorts, SaysWhatEachPortIs) {
    const struct {
        const char *target;
        bool present;
        const char *what;
    } rows[] = {
        {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0", true,
         "usb-FTDI_FT232R_USB_UART_A5XK3RJT-if00-port0"},
        {"/dev/serial/by-id/usb-1a86_USB2.0-Ser_-if00-port0", false, "usb-1a86_USB2.0-Ser_-if00-port0, не подключён"},
        {"/dev/pts/4", true, "симулятор, /dev/pts/4"},
        {"/dev/ttyS0", true, "/dev/ttyS0"},
        {"", false, ""},
    };
    for (const auto &r : rows)
        EXPECT_EQ(DescribeComTarget(r.target, r.present), QString::fromUtf8(r.what)) << r.target;

    TempDir settings;
    SetSettingsDirOverride(settings.path());
    ASSERT_EQ(RegisterComLink(PortsDir(), "/dev/null", 2), 2);
    ASSERT_EQ(RegisterComLink(PortsDir(), "/dev/pts/987654", 3), 3);
    const std::vector<QString> what = ComPortDescriptions({2, 3});
    SetSettingsDirOverride({});
    EXPECT_EQ(what, (std::vector<QString>{"/dev/null", QString::fromUtf8("симулятор, /dev/pts/987654, не подключён")}));
    EXPECT_EQ(ComSettingFillTexts(2, 19200, 254, {2, 3}, what).portItems,
              QStringList({"COM2 (/dev/null)", QString::fromUtf8("COM3 (симулятор, /dev/pts/987654, не подключён)")}));
}

} // namespace
