#include "device_folder.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr size_t kMaxNameBytes = 64;
}

DeviceFolder::DeviceFolder(fs::path dir) : m_dir(std::move(dir)) {
    std::error_code ec;
    fs::create_directories(m_dir, ec);
}

bool DeviceFolder::IsValidName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes || name == ".")
        return false;
    if (name.find("..") != std::string_view::npos)
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':')
            return false;
    return true;
}

std::vector<DeviceFolder::Entry> DeviceFolder::list() const {
    std::vector<Entry> out;
    std::error_code ec;
    for (fs::directory_iterator it(m_dir, ec), end; !ec && it != end; it.increment(ec)) {
        const auto status = it->symlink_status(ec);
        if (ec || !fs::is_regular_file(status))
            continue;
        const std::string name = it->path().filename().string();
        if (!IsValidName(name) || name.rfind(".~", 0) == 0)
            continue;
        out.push_back({name, uint64_t(it->file_size(ec))});
    }
    std::sort(out.begin(), out.end(), [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return out;
}

bool DeviceFolder::exists(std::string_view name) const {
    if (!IsValidName(name))
        return false;
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(m_dir / std::string(name), ec));
}

bool DeviceFolder::read(std::string_view name, std::vector<uint8_t> &out) const {
    if (!exists(name))
        return false;
    std::ifstream in(m_dir / std::string(name), std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool DeviceFolder::write(std::string_view name, const std::vector<uint8_t> &bytes) {
    if (!IsValidName(name))
        return false;
    const fs::path target = m_dir / std::string(name);
    // The leading dot keeps the half-written file out of the listing.
    const fs::path temp = m_dir / (".~" + std::string(name) + ".part");
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

bool DeviceFolder::remove(std::string_view name) {
    if (!exists(name))
        return false;
    std::error_code ec;
    return fs::remove(m_dir / std::string(name), ec) && !ec;
}

bool DeviceFolder::format() {
    std::error_code ec;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(m_dir, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());
    if (ec)
        return false;
    bool ok = true;
    for (const auto &p : entries) {
        fs::remove_all(p, ec);  // does not follow links
        ok = ok && !ec;
    }
    return ok;
}
