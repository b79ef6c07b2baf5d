#include "app_paths.h"

#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
fs::path &overrideDir() {
    static fs::path dir;
    return dir;
}

fs::path canonicalOrSelf(const fs::path &p) {
    std::error_code ec;
    fs::path c = fs::weakly_canonical(p, ec);
    return ec ? p : c;
}

fs::path userConfigDir() {
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    fs::path base = (xdg && *xdg) ? fs::path(xdg) : fs::path(home ? home : "/tmp") / ".config";
    fs::path dir = base / "talvik";
    std::error_code ec;
    fs::create_directories(dir, ec);
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

fs::path InstalledMarkerFromBin() { return TALVIK_INSTALLED_MARKER; }

bool IsInstalledProgramDir(const fs::path &dir) {
    const fs::path here = canonicalOrSelf(dir);
    if (here == canonicalOrSelf(TALVIK_INSTALL_BINDIR))
        return true;
    std::error_code ec;
    return fs::exists(here / InstalledMarkerFromBin(), ec);
}

fs::path SettingsDirFor(const fs::path &programDir) {
    // Root can write into /usr/bin too: an installed program is told by where it is, not by rights.
    if (!IsInstalledProgramDir(programDir) && ::access(programDir.c_str(), W_OK) == 0)
        return programDir;
    return userConfigDir();
}

fs::path SettingsDir() {
    if (!overrideDir().empty())
        return overrideDir();
    return SettingsDirFor(ProgramDir());
}

fs::path PortsDir() { return SettingsDir() / "ports"; }

void SetSettingsDirOverride(const fs::path &dir) { overrideDir() = dir; }
