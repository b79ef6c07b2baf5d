#include "pty_pair.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    char name[256] = {};
    int slave = -1;
    if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    // Raw on both sides: the line discipline must not touch binary frames.
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_slaveKeeper = slave;
    m_slavePath = name;
}

PtyPair::~PtyPair() {
    closeSlaveKeeper();
    closeMaster();
}

void PtyPair::closeMaster() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void PtyPair::closeSlaveKeeper() {
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    m_slaveKeeper = -1;
}

bool PtyPair::writeMaster(const void *data, size_t size) {
    auto p = static_cast<const char *>(data);
    while (size > 0) {
        ssize_t n = ::write(m_master, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd pfd{m_master, POLLOUT, 0};
                ::poll(&pfd, 1, 100);
                continue;
            }
            return false;
        }
        p += n;
        size -= size_t(n);
    }
    return true;
}

std::string PtyPair::readMaster(size_t size, int timeoutMs) {
    std::string out;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < size) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd pfd{m_master, POLLIN, 0};
        if (::poll(&pfd, 1, int(left.count())) <= 0)
            continue;
        char buf[4096];
        ssize_t n = ::read(m_master, buf, std::min(sizeof buf, size - out.size()));
        if (n > 0)
            out.append(buf, size_t(n));
        else if (n == 0 || (errno != EINTR && errno != EAGAIN))
            break;
    }
    return out;
}
