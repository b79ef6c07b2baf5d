// Saving must never leave the user without a project file: on any failure the old file
// keeps its bytes and no temporary file is left behind.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Root may create files in a read-only folder and replace a write-protected file, and CI runs
// the tests as root: the writer of these cases is an ordinary user (nobody) in a child process,
// in a folder that user owns, so only the protection under test stands in its way.
class WriteAsOrdinaryUser : public ::testing::Test {
protected:
    static constexpr uid_t kNobody = 65534;

    void SetUp() override {
        m_folder = m_dir / "project";
        fs::create_directory(m_folder);
        if (::geteuid() == 0) {
            ::chmod(m_dir.path().c_str(), 0711); // the user may pass through, not look around
            ASSERT_EQ(::chown(m_folder.c_str(), kNobody, kNobody), 0);
        }
    }
    void TearDown() override { ::chmod(m_folder.c_str(), 0755); }

    // An old project file the writer owns (and could replace, but for the protection).
    std::string OldFile(mode_t mode) {
        const fs::path path = m_folder / "net.cfg";
        std::ofstream(path) << "old";
        if (::geteuid() == 0) {
            EXPECT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        }
        ::chmod(path.c_str(), mode);
        return path.string();
    }

    // WriteFileAtomically in a child that gave up root first; the error text comes back
    // through a pipe. False with "dropping root failed" when the child could not drop it.
    static bool Write(const std::string &path, const std::string &bytes, std::string &error) {
        int fds[2];
        if (::pipe(fds) != 0)
            return false;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
                                     ::setresuid(kNobody, kNobody, kNobody) != 0 || ::geteuid() == 0))
                ::_exit(2);
            std::string text;
            const bool ok = WriteFileAtomically(path, bytes, text);
            [[maybe_unused]] ssize_t put = ::write(fds[1], text.data(), text.size());
            ::_exit(ok ? 0 : 1);
        }
        ::close(fds[1]);
        error.clear();
        char buf[256];
        for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
            error.append(buf, static_cast<size_t>(n));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) {
            error = "dropping root failed";
            return false;
        }
        return WEXITSTATUS(status) == 0;
    }

    TempDir m_dir;
    fs::path m_folder;
};

TEST_F(WriteAsOrdinaryUser, ReadOnlyFolder) {
    const std::string path = OldFile(0644);
    ::chmod(m_folder.c_str(), 0555);
    std::string error;
    EXPECT_FALSE(Write(path, "new", error));
    EXPECT_NE(error.find("Не удалось записать файл"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(EntriesIn(m_folder), 1);
    // Once the folder is writable the same user saves: nothing else was in the way.
    ::chmod(m_folder.c_str(), 0755);
    ASSERT_TRUE(Write(path, "new", error)) << error;
    EXPECT_EQ(ReadAll(path), "new");
}

TEST_F(WriteAsOrdinaryUser, WriteProtectedFileStays) {
    const std::string path = OldFile(0444);
    std::string error;
    EXPECT_FALSE(Write(path, "new", error));
    EXPECT_NE(error.find("Не удалось записать файл"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(EntriesIn(m_folder), 1);
    // The same user may replace the file once it is writable: the folder was never the obstacle.
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(Write(path, "new", error)) << error;
    EXPECT_EQ(ReadAll(path), "new");
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
