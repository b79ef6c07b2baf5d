#pragma once
// Where the PD's USB disk is: the mount points of removable block devices, in the order
// the system lists its mounts. A disk counts as removable when its sysfs entry says so
// ("removable" holds 1: card readers, most sticks) or when it hangs off a USB bus (USB
// hard disks and some sticks report 0). Both places are given as paths, so tests build
// a fake mount table and sysfs tree in a folder of their own.
#include <string>
#include <vector>

struct DriveRoots {
    // False when the mount table could not be read: the system told us nothing.
    bool mountTableRead = false;
    // Each ends in "/", so root + "pd.cfg" is the file on that disk.
    std::vector<std::string> roots;
};

inline constexpr const char *kSystemMountTable = "/proc/self/mounts";
inline constexpr const char *kSystemBlockDevices = "/sys/block";

DriveRoots RemovableDriveRoots(const std::string &mountTable = kSystemMountTable,
                               const std::string &sysBlockDir = kSystemBlockDevices);

// A mount table field with its octal escapes undone ("/media/a\040b" is "/media/a b").
std::string UnescapeMountField(const std::string &field);
