// Saving never destroys the old file: the bytes go to a temporary file in the same
// folder (so the rename stays on one file system), are flushed to the disk, and only
// then replace the old file in one rename. A full disk or a killed process leaves
// either the old file or the new one, never half of one.
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "project_file.h"

namespace fs = std::filesystem;

namespace {
std::string Failure(const std::string &path, int err) {
    return "Не удалось записать файл \"" + path + "\": " + std::strerror(err);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

// O_EXCL with a name of our own: never opens a file that someone else made.
int CreateTemporary(const fs::path &dir, fs::path &tmp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = dir / (".talvik-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
        int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}
} // namespace

bool WriteFileAtomically(const std::string &path, std::string_view bytes, std::string &error) {
    if (path.empty()) {
        error = Failure(path, ENOENT);
        return false;
    }
    // Through a link, the file it points at is replaced, not the link.
    std::error_code ec;
    fs::path target = fs::is_symlink(path, ec) ? fs::weakly_canonical(path, ec) : fs::path(path);
    if (ec)
        target = path;
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";

    struct stat old {};
    bool hadOld = ::stat(target.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode)) {
        error = Failure(path, EISDIR);
        return false;
    }
    // A rename would replace even a write-protected file; writing in place would not.
    if (hadOld && ::access(target.c_str(), W_OK) != 0) {
        error = Failure(path, errno);
        return false;
    }

    fs::path tmp;
    int fd = CreateTemporary(dir, tmp);
    if (fd < 0) {
        error = Failure(path, errno);
        return false;
    }
    bool ok = true;
    int err = 0;
    // The new file keeps the old one's permissions where the file system has them; a FAT
    // disk (the PD's USB disk) refuses chmod, which is no reason to refuse the save.
    if (hadOld)
        (void)::fchmod(fd, old.st_mode & 07777);
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        error = Failure(path, err);
        return false;
    }
    // Make the rename itself durable; a failure here no longer endangers either file.
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
