#include "removable_drives.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// The whole disk a block device name belongs to: "sdb" for "sdb" itself, "sdb" for its
// partition "sdb1" (sysfs lists partitions inside their disk's folder), "mmcblk0" for
// "mmcblk0p1"; empty when sysfs knows no such device.
std::string DiskOf(const std::string &name, const fs::path &sysBlock) {
    std::error_code ec;
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return {};
    if (fs::exists(sysBlock / name, ec))
        return name;
    for (const fs::directory_entry &disk : fs::directory_iterator(sysBlock, ec))
        if (fs::exists(disk.path() / name, ec))
            return disk.path().filename().string();
    return {};
}

bool IsRemovableDisk(const std::string &disk, const fs::path &sysBlock) {
    std::ifstream flag(sysBlock / disk / "removable");
    std::string value;
    if (flag >> value && value == "1")
        return true;
    // sysfs links each disk to its place in the device tree; a USB disk's path runs
    // through its USB controller (".../usb2/2-1/2-1:1.0/host6/.../block/sdc").
    std::error_code ec;
    const std::string where = fs::canonical(sysBlock / disk, ec).string();
    return !ec && where.find("/usb") != std::string::npos;
}

// "/dev/sdb1" → "sdb1"; a link such as /dev/disk/by-label/STICK is followed first.
std::string BlockDeviceName(const std::string &source) {
    if (source.rfind("/dev/", 0) != 0)
        return {};
    std::error_code ec;
    fs::path p = fs::weakly_canonical(source, ec);
    if (ec)
        p = source;
    return p.filename().string();
}

} // namespace

std::string UnescapeMountField(const std::string &field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            out += char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

DriveRoots RemovableDriveRoots(const std::string &mountTable, const std::string &sysBlockDir) {
    DriveRoots result;
    std::ifstream table(mountTable);
    if (!table)
        return result;
    result.mountTableRead = true;
    const fs::path sysBlock(sysBlockDir);
    std::set<std::string> seen;
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string source, mountPoint;
        if (!(fields >> source >> mountPoint))
            continue;
        const std::string disk = DiskOf(BlockDeviceName(UnescapeMountField(source)), sysBlock);
        if (disk.empty() || !IsRemovableDisk(disk, sysBlock))
            continue;
        std::string root = UnescapeMountField(mountPoint);
        if (root.empty() || root.back() != '/')
            root += '/';
        // The same disk mounted twice at one place is offered once.
        if (seen.insert(root).second)
            result.roots.push_back(root);
    }
    return result;
}
