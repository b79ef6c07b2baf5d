// Finding the PD's USB disk: mount points of removable block devices, in the order of the
// mount table, read from a fake mount table and sysfs tree built in a folder of the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "network_write/removable_drives.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

class FakeSystem {
public:
    FakeSystem() { fs::create_directories(block()); }
    fs::path block() const { return m_dir / "sys" / "block"; }
    std::string mounts() const { return (m_dir / "mounts").string(); }

    // A whole disk with its partitions; `removable` is what sysfs says.
    void disk(const std::string &name, bool removable, std::vector<std::string> partitions = {}) {
        diskAt(block() / name, removable, partitions);
    }
    // A disk whose sysfs entry links into the device tree below a USB controller, the way
    // a USB hard disk shows up: "removable" says 0.
    void usbDisk(const std::string &name, std::vector<std::string> partitions = {}) {
        const fs::path real = m_dir / "sys" / "devices" / "pci0000:00" / "usb2" / "2-1" / "host6" / "block" / name;
        diskAt(real, false, partitions);
        fs::create_directory_symlink(real, block() / name);
    }
    void mountTable(const std::string &text) { std::ofstream(mounts()) << text; }

private:
    void diskAt(const fs::path &dir, bool removable, const std::vector<std::string> &partitions) {
        fs::create_directories(dir);
        std::ofstream(dir / "removable") << (removable ? "1\n" : "0\n");
        for (const std::string &p : partitions)
            fs::create_directories(dir / p);
    }
    TempDir m_dir;
};

const char kSystemMounts[] = "sysfs /sys sysfs rw,nosuid 0 0\n"
                             "proc /proc proc rw 0 0\n"
                             "/dev/sda2 / ext4 rw,relatime 0 0\n"
                             "tmpfs /run tmpfs rw 0 0\n";

TEST(RemovableDrives, MountPointsOfRemovableDisksInMountOrder) {
    struct Row {
        const char *name;
        std::string table;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"no removable disk mounted", kSystemMounts, {}},
        {"two sticks: the order of the mount table, not of the names",
         std::string(kSystemMounts) + "/dev/sdc1 /media/user/F vfat rw 0 0\n/dev/sdb1 /media/user/E vfat rw 0 0\n",
         {"/media/user/F/", "/media/user/E/"}},
        {"a stick without partitions, a card reader partition",
         std::string(kSystemMounts) + "/dev/sdb /mnt/stick vfat rw 0 0\n/dev/mmcblk0p1 /media/card vfat rw 0 0\n",
         {"/mnt/stick/", "/media/card/"}},
        {"a USB hard disk that says it is not removable",
         std::string(kSystemMounts) + "/dev/sdd1 /media/usbhdd ext4 rw 0 0\n",
         {"/media/usbhdd/"}},
        {"a blank in the mount point is escaped in the table",
         std::string(kSystemMounts) + "/dev/sdb1 /media/user/PD\\040DISK vfat rw 0 0\n",
         {"/media/user/PD DISK/"}},
        {"the same disk at one place twice is offered once",
         std::string(kSystemMounts) + "/dev/sdb1 /media/e vfat rw 0 0\n/dev/sdb1 /media/e vfat rw 0 0\n",
         {"/media/e/"}},
        {"the fixed disk's other partitions and unknown devices are left out",
         std::string(kSystemMounts) + "/dev/sda1 /boot/efi vfat rw 0 0\n/dev/nvme9n1p1 /data ext4 rw 0 0\n"
                                      "//server/share /media/net cifs rw 0 0\n",
         {}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        FakeSystem sys;
        sys.disk("sda", false, {"sda1", "sda2"});
        sys.disk("sdb", true, {"sdb1"});
        sys.disk("sdc", true, {"sdc1"});
        sys.disk("mmcblk0", true, {"mmcblk0p1"});
        sys.usbDisk("sdd", {"sdd1"});
        sys.mountTable(r.table);
        const DriveRoots d = RemovableDriveRoots(sys.mounts(), sys.block().string());
        EXPECT_TRUE(d.mountTableRead);
        EXPECT_EQ(d.roots, r.expected);
    }
}

TEST(RemovableDrives, AnUnreadableMountTableIsToldApartFromNoDisk) {
    FakeSystem sys;
    sys.disk("sdb", true, {"sdb1"});
    const DriveRoots missing = RemovableDriveRoots(sys.mounts() + ".none", sys.block().string());
    EXPECT_FALSE(missing.mountTableRead);
    EXPECT_TRUE(missing.roots.empty());

    // No sysfs at all: the table is read, nothing counts as removable.
    sys.mountTable("/dev/sdb1 /media/e vfat rw 0 0\n");
    const DriveRoots noSysfs = RemovableDriveRoots(sys.mounts(), (sys.block() / "none").string());
    EXPECT_TRUE(noSysfs.mountTableRead);
    EXPECT_TRUE(noSysfs.roots.empty());
}

TEST(RemovableDrives, MountFieldEscapes) {
    EXPECT_EQ(UnescapeMountField("/media/a\\040b"), "/media/a b");
    EXPECT_EQ(UnescapeMountField("/media/tab\\011x\\134y"), "/media/tab\tx\\y");
    EXPECT_EQ(UnescapeMountField("/media/cut\\04"), "/media/cut\\04") << "an escape cut short stays as it is";
}

} // namespace
