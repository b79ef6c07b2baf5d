#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "file_version.h"
#include "temp_dir.h"
#include "version_stamp.h"

// This test program carries a stamp of its own, as the configurator does.
TALVIK_EMBED_VERSION(3, 14, 15, 926)

namespace {
// Built at run time: a literal holding marker and numbers in one piece would sit in
// this program's own file and be found before its real stamp.
std::string Stamp(const std::string &numbers) {
    return std::string(TALVIK_VERSION_MAGIC) + numbers;
}

std::string WriteFile(const TempDir &dir, const std::string &name, const std::string &bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return (dir / name).string();
}
} // namespace

TEST(GetFileVersion, FindsTheStampInsideABinary) {
    TempDir dir;
    std::string bytes = std::string("\x7F"
                                    "ELF",
                                    4) +
                        std::string(5000, '\0') + Stamp("1.2.3.65535") + std::string(1, '\0') +
                        std::string(100, '\xFF');
    FileVersion v;
    ASSERT_TRUE(GetFileVersion(WriteFile(dir, "prog", bytes), v));
    EXPECT_EQ(v.major, 1);
    EXPECT_EQ(v.minor, 2);
    EXPECT_EQ(v.release, 3);
    EXPECT_EQ(v.build, 65535);
}

TEST(GetFileVersion, SkipsAMarkerWithoutNumbers) {
    TempDir dir;
    std::string bytes = Stamp("x") + std::string(1, '\0') + Stamp("4.5.6.7") + std::string(1, '\0');
    FileVersion v;
    ASSERT_TRUE(GetFileVersion(WriteFile(dir, "prog", bytes), v));
    EXPECT_EQ(v.major, 4);
    EXPECT_EQ(v.build, 7);
}

TEST(GetFileVersion, FalseWithoutAStampAndOutputsUntouched) {
    TempDir dir;
    struct Case {
        const char *name;
        std::string bytes;
    };
    const Case cases[] = {
        {"no_marker", std::string(3000, 'x')},
        {"empty_file", ""},
        {"number_too_big", Stamp("1.2.3.65536") + std::string(1, '\0')},
        {"three_numbers", Stamp("1.2.3") + std::string(1, '\0')},
        {"marker_at_end_of_file", Stamp("1.2.3.4")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FileVersion v{9, 9, 9, 9};
        EXPECT_FALSE(GetFileVersion(WriteFile(dir, c.name, c.bytes), v));
        EXPECT_EQ(v.major, 9);
        EXPECT_EQ(v.build, 9);
    }
    FileVersion v;
    EXPECT_FALSE(GetFileVersion((dir / "missing").string(), v));
}

TEST(GetFileVersion, ReadsTheStampOfThisProgram) {
    FileVersion v;
    ASSERT_TRUE(GetFileVersion("/proc/self/exe", v));
    EXPECT_EQ(v.major, 3);
    EXPECT_EQ(v.minor, 14);
    EXPECT_EQ(v.release, 15);
    EXPECT_EQ(v.build, 926);
}
