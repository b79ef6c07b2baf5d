// Saving must never leave the user without a project file: on any failure the old file
// keeps its bytes and no temporary file is left behind.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project_file.h"
#include "project_fixture.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {
std::string ReadAll(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int EntriesIn(const fs::path &dir) {
    int n = 0;
    for ([[maybe_unused]] const auto &e : fs::directory_iterator(dir))
        ++n;
    return n;
}
} // namespace

TEST(WriteFileAtomically, CreatesAndReplaces) {
    TempDir dir;
    const std::string path = (dir / "net.cfg").string();
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "first\r\n", error)) << error;
    EXPECT_EQ(ReadAll(path), "first\r\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteFileAtomically(path, "second", error)) << error;
    EXPECT_EQ(ReadAll(path), "second");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the replaced file keeps its permissions
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(WriteFileAtomically, WritesThroughALink) {
    TempDir dir;
    std::ofstream(dir / "real.cfg") << "old";
    fs::create_symlink(dir / "real.cfg", dir / "link.cfg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically((dir / "link.cfg").string(), "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.cfg"));
    EXPECT_EQ(ReadAll(dir / "real.cfg"), "new");
}

TEST(WriteFileAtomically, FailuresLeaveTheOldFileAndNoTemporary) {
    TempDir dir;
    fs::create_directory(dir / "sub");
    std::ofstream(dir / "sub" / "keep") << "x";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically((dir / "sub").string(), "new", error)); // a folder in the way
    EXPECT_NE(error.find("sub"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir / "sub"));
    EXPECT_FALSE(WriteFileAtomically((dir / "missing" / "net.cfg").string(), "new", error));
    EXPECT_FALSE(WriteFileAtomically("", "new", error));
    EXPECT_EQ(EntriesIn(dir.path()), 1);
    EXPECT_EQ(EntriesIn(dir / "sub"), 1);
}

TEST(WriteFileAtomically, DiskFullHalfWayKeepsTheOldFile) {
    // A file size limit makes write() fail part-way, as a full disk does.
    TempDir dir;
    const std::string path = (dir / "net.cfg").string();
    const std::string old = "setting:{adr:251}\r\n";
    std::ofstream(path, std::ios::binary) << old;

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    bool ok = WriteFileAtomically(path, std::string(100000, 'z'), error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(WriteFileAtomically, ReadOnlyFolder) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; the folder-in-the-way and disk-full cases cover it";
    TempDir dir;
    const std::string path = (dir / "net.cfg").string();
    std::ofstream(path) << "old";
    ::chmod(dir.path().c_str(), 0555);
    std::string error;
    bool ok = WriteFileAtomically(path, "new", error);
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadAll(path), "old");
}

TEST(WriteFileAtomically, WriteProtectedFileStays) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may replace write-protected files";
    TempDir dir;
    const std::string path = (dir / "net.cfg").string();
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), 0444);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "new", error));
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

class SaveProjectTest : public ProjectTest {};

TEST_F(SaveProjectTest, SavedBytesAreTheBuiltText) {
    TempDir dir;
    AppendBcUnit(p, Unit(240));
    AppendAlLine(p, Line(240, 1, 77));
    std::strcpy(p.notifies[4].wav, "alarm.wav");
    const std::string path = (dir / "net.cfg").string();
    std::string error;
    ASSERT_TRUE(SaveProjectFile(p, path, error)) << error;
    EXPECT_EQ(ReadAll(path), BuildProjectText(p));

    auto loaded = std::make_unique<Project>();
    ProjectLoadReport report;
    ASSERT_TRUE(LoadProjectFile(*loaded, path, report, error));
    EXPECT_EQ(BuildProjectText(*loaded), BuildProjectText(p));
}
