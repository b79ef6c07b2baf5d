#include "app_paths.h"

#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
fs::path &overrideDir() {
    static fs::path dir;
    return dir;
}
} // namespace

fs::path ProgramDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path(ec);
    return exe.parent_path();
}

fs::path SettingsDir() {
    if (!overrideDir().empty())
        return overrideDir();
    fs::path beside = ProgramDir();
    if (::access(beside.c_str(), W_OK) == 0)
        return beside;
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    fs::path base = (xdg && *xdg) ? fs::path(xdg) : fs::path(home ? home : "/tmp") / ".config";
    fs::path dir = base / "talvik";
    std::error_code ec;
    fs::create_directories(dir, ec);
    return dir;
}

fs::path PortsDir() { return SettingsDir() / "ports"; }

void SetSettingsDirOverride(const fs::path &dir) { overrideDir() = dir; }
