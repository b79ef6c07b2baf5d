#include "sim_port.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
struct Rate {
    int baud;
    speed_t code;
};
constexpr Rate kRates[] = {{300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
                           {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
                           {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},
                           {921600, B921600}};

bool MakeRaw(int fd, speed_t speed, bool setSpeed) {
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (setSpeed) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }
    return tcsetattr(fd, TCSANOW, &t) == 0;
}
}  // namespace

std::unique_ptr<SimPort> SimPort::OpenPty(std::string &error) {
    std::unique_ptr<SimPort> p(new SimPort);
    int master = -1, slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return nullptr;
    }
    p->m_fd = master;
    p->m_keeper = slave;
    p->m_path = name;
    // Binary frames: the slave's line discipline must pass every byte untouched.
    MakeRaw(slave, B19200, false);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return p;
}

std::unique_ptr<SimPort> SimPort::Attach(const std::string &path, int baud, std::string &error) {
    speed_t speed = 0;
    for (const auto &r : kRates)
        if (r.baud == baud)
            speed = r.code;
    if (speed == 0) {
        error = "unsupported bit rate " + std::to_string(baud);
        return nullptr;
    }
    std::unique_ptr<SimPort> p(new SimPort);
    p->m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (p->m_fd < 0) {
        error = path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (!MakeRaw(p->m_fd, speed, true)) {
        error = path + ": not a serial device (" + std::strerror(errno) + ")";
        return nullptr;
    }
    p->m_path = path;
    return p;
}

long SimPort::unreadByClient() const {
    int pending = 0;
    if (m_keeper < 0 || ioctl(m_keeper, TIOCINQ, &pending) != 0)
        return -1;
    return pending;
}

void SimPort::discardUnread() {
    if (m_keeper >= 0)
        tcflush(m_keeper, TCIFLUSH);
}

SimPort::~SimPort() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_keeper >= 0)
        ::close(m_keeper);
}
