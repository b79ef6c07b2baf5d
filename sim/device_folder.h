#pragma once
// One simulated device's flash disk: a folder on the PC. Every name comes from the wire,
// so each is checked before use and nothing outside the folder is ever read or written.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class DeviceFolder {
public:
    explicit DeviceFolder(std::filesystem::path dir);

    const std::filesystem::path &path() const { return m_dir; }

    // A plain file name (UTF-8): not empty, no path separator, no "..", no control bytes,
    // at most 64 bytes. Everything else could leave the folder or make a name the
    // device's own file system could not hold.
    static bool IsValidName(std::string_view name);

    struct Entry {
        std::string name;  // UTF-8
        uint64_t size;
    };
    // Regular files, sorted by name; links and folders are not the device's files.
    std::vector<Entry> list() const;
    // False when the name is invalid or no regular file of that name is there.
    bool exists(std::string_view name) const;
    bool read(std::string_view name, std::vector<uint8_t> &out) const;
    // Written through a temporary file renamed over the old one, so an interrupted
    // write never leaves half a file behind.
    bool write(std::string_view name, const std::vector<uint8_t> &bytes);
    // False when there is no such file or it cannot be removed.
    bool remove(std::string_view name);
    // Removes everything inside the folder (links themselves, never what they point to).
    bool format();

private:
    std::filesystem::path m_dir;
};
