// COM numbers: links in the ports folder, the ttyS fallback, and numbers handed out to
// devices found in a (made-up) sysfs tree.
#include "port_names.h"
#include "port_scan.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

class PortNames : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(ports);
        fs::create_directories(dev);
        fs::create_directories(byId);
        fs::create_directories(sys);
    }
    // A file standing in for a device node.
    fs::path Node(const std::string &name) {
        std::ofstream(dev / name).put('\n');
        return dev / name;
    }
    // /sys/class/tty/<name> with a device link and an optional UART type.
    void SysTty(const std::string &name, const char *type = nullptr) {
        fs::create_directories(sys / name / "device");
        if (type)
            std::ofstream(sys / name / "type") << type << '\n';
    }

    TempDir tmp;
    fs::path ports = tmp / "ports", dev = tmp / "dev", byId = tmp / "by-id", sys = tmp / "sys";
};

TEST_F(PortNames, DevicePathOfANumber) {
    const fs::path node = Node("ttyUSB3");
    fs::create_symlink(node, ports / "COM4");
    fs::create_symlink("../dev/ttyUSB3", ports / "COM5"); // relative to the ports folder

    struct Case {
        const char *name;
        int n;
        std::string expected;
    } cases[] = {
        {"link_resolved_to_device", 4, fs::canonical(node).string()},
        {"relative_link_resolved", 5, fs::canonical(node).string()},
        {"no_link_falls_back_to_ttyS", 3, "/dev/ttyS2"},
        {"first_number_is_ttyS0", 1, "/dev/ttyS0"},
        {"zero_opens_nothing", 0, ""},
        {"form_value_minus_one_opens_nothing", -1, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ComDevicePath(c.n, ports), c.expected) << c.name;
}

TEST_F(PortNames, RegisterTakesPreferredOrLowestFreeNumber) {
    EXPECT_EQ(RegisterComLink(ports, "/dev/a", 3), 3);
    EXPECT_EQ(RegisterComLink(ports, "/dev/b"), 1);
    EXPECT_EQ(RegisterComLink(ports, "/dev/c", 3), 2) << "taken preferred number: lowest free";
    EXPECT_EQ(RegisterComLink(ports, "/dev/d"), 4);
    EXPECT_TRUE(RemoveComLink(ports, 2));
    EXPECT_FALSE(RemoveComLink(ports, 2));
    EXPECT_EQ(RegisterComLink(ports, "/dev/e"), 2);
    EXPECT_EQ(fs::read_symlink(ports / "COM3"), "/dev/a");
}

TEST_F(PortNames, RemoveLeavesOtherFilesAlone) {
    std::ofstream(ports / "COM7") << "not a link";
    EXPECT_FALSE(RemoveComLink(ports, 7));
    EXPECT_TRUE(fs::exists(ports / "COM7"));
}

TEST_F(PortNames, FindsRealSerialDevicesOnly) {
    Node("ttyUSB0");
    fs::create_symlink("../../ttyUSB0", byId / "usb-FTDI_FT232R_A50285BI-if00-port0");
    SysTty("ttyUSB0");
    SysTty("ttyACM1"); // no by-id link: the kernel name
    SysTty("ttyS0", "4");  // a 16550A that answered
    SysTty("ttyS1", "0");  // an empty 8250 slot
    fs::create_directories(sys / "tty1"); // virtual console: no device
    SysTty("ttyAMA0");

    const std::vector<std::string> expected = {
        (dev / "ttyACM1").string(), (dev / "ttyAMA0").string(), (dev / "ttyS0").string(),
        (byId / "usb-FTDI_FT232R_A50285BI-if00-port0").string()};
    EXPECT_EQ(FindSerialDevices(sys, dev, byId), expected);
}

TEST_F(PortNames, ListingLinksNewDevicesOnceAndKeepsTheirNumbers) {
    Node("ttyS0");
    SysTty("ttyS0", "4");
    RegisterComLink(ports, "/tmp/some-simulator-pty", 1);

    EXPECT_EQ(ListComPortsIn(ports, sys, dev, byId), (std::vector<int>{1, 2}));
    EXPECT_EQ(ComDevicePath(2, ports), fs::canonical(dev / "ttyS0").string());

    // Seen again: no second link. A new device gets the next free number.
    Node("ttyACM0");
    SysTty("ttyACM0");
    EXPECT_EQ(ListComPortsIn(ports, sys, dev, byId), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ComDevicePath(3, ports), fs::canonical(dev / "ttyACM0").string());
    EXPECT_EQ(ListComPortsIn(ports, sys, dev, byId), (std::vector<int>{1, 2, 3}));
}

} // namespace
