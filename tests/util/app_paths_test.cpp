// Where the settings file goes for a program inside and outside an install tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app_paths.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {
// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::optional<std::string> &value) : m_name(name) {
        if (const char *old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

// A prefix laid out as `cmake --install` lays it: bin/ and the metainfo under share/.
fs::path makeInstallTree(const fs::path &prefix) {
    fs::create_directories(prefix / "bin");
    const fs::path marker = prefix / "bin" / InstalledMarkerFromBin();
    fs::create_directories(marker.parent_path());
    std::ofstream(marker) << "<component/>\n";
    return prefix / "bin";
}

class SettingsDirRule : public ::testing::Test {
protected:
    TempDir m_dir;
    ScopedEnv m_home{"HOME", (m_dir.path() / "home").string()};
    ScopedEnv m_xdg{"XDG_CONFIG_HOME", std::nullopt};
    fs::path userDir() const { return m_dir.path() / "home" / ".config" / "talvik"; }
};
} // namespace

TEST(InstalledMarker, PointsFromBinIntoShareMetainfo) {
    const std::string marker = InstalledMarkerFromBin().generic_string();
    EXPECT_EQ(marker.rfind("../", 0), 0u) << marker;
    EXPECT_NE(marker.find("/metainfo/"), std::string::npos) << marker;
}

// The tests run as root in CI: the install tree's bin/ is writable, as /usr/bin is for root,
// and still nothing may be written there.
TEST_F(SettingsDirRule, InstalledProgramUsesTheUsersConfigFolderEvenWhenItsFolderIsWritable) {
    const fs::path bin = makeInstallTree(m_dir.path() / "unpacked" / "usr");
    ASSERT_TRUE(IsInstalledProgramDir(bin));
    EXPECT_EQ(SettingsDirFor(bin), userDir());
    EXPECT_TRUE(fs::is_directory(userDir())) << "the folder is created for the first write";
}

TEST_F(SettingsDirRule, InstalledProgramReachedThroughALinkedFolderIsStillInstalled) {
    const fs::path bin = makeInstallTree(m_dir.path() / "opt");
    fs::create_directory_symlink(bin, m_dir.path() / "bin-link");
    EXPECT_EQ(SettingsDirFor(m_dir.path() / "bin-link"), userDir());
}

TEST_F(SettingsDirRule, ProgramOutsideAnInstallTreeKeepsItsSettingsBesideItself) {
    struct Case {
        const char *what;
        fs::path dir;
    } cases[] = {
        {"a build tree's bin/", m_dir.path() / "build" / "default" / "bin"},
        {"a folder the program was copied into", m_dir.path() / "demo"},
    };
    for (const Case &c : cases) {
        fs::create_directories(c.dir);
        EXPECT_FALSE(IsInstalledProgramDir(c.dir)) << c.what;
        EXPECT_EQ(SettingsDirFor(c.dir), c.dir) << c.what;
    }
}

TEST_F(SettingsDirRule, XdgConfigHomeWinsOverHome) {
    ScopedEnv xdg("XDG_CONFIG_HOME", (m_dir.path() / "xdg").string());
    const fs::path bin = makeInstallTree(m_dir.path() / "usr");
    EXPECT_EQ(SettingsDirFor(bin), m_dir.path() / "xdg" / "talvik");
}

TEST(SettingsDirOverride, WinsOverTheRuleAndCarriesThePortsFolder) {
    TempDir dir;
    SetSettingsDirOverride(dir.path());
    EXPECT_EQ(SettingsDir(), dir.path());
    EXPECT_EQ(PortsDir(), dir.path() / "ports");
    SetSettingsDirOverride({});
    EXPECT_EQ(SettingsDir(), SettingsDirFor(ProgramDir()));
}
