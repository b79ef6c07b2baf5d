// The serial layer on Linux: termios for the line, ioctl for queues and modem lines,
// poll for waiting. The device is opened non-blocking; a worker that must wait does so in poll.
#include "serial_device.h"

#include "linux_termios2.h"
#include "termios_settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The one place that turns errno into the component's small set of open failures.
OpenError MapOpenErrno(int e) {
    switch (e) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR:
        return OpenError::NotFound;
    case EBUSY:
    case EWOULDBLOCK:
        return OpenError::Busy;
    case EACCES:
    case EPERM:
        return OpenError::AccessDenied;
    default:
        return OpenError::Other;
    }
}

template <typename F> auto RetryEintr(F f) {
    for (;;) {
        auto r = f();
        if (r >= 0 || errno != EINTR)
            return r;
    }
}

bool IsGoneErrno(int e) { return e == EIO || e == ENXIO || e == ENODEV || e == EPIPE || e == EBADF; }

class PosixSerialDevice final : public SerialDevice {
public:
    ~PosixSerialDevice() override { Close(); }

    OpenResult Open(const std::string &path) override {
        Close();
        // One device under two names (a COM link and its target) must not open twice,
        // and the lock below is per inode anyway: open the canonical path.
        char real[PATH_MAX];
        if (!realpath(path.c_str(), real))
            return {MapOpenErrno(errno), errno};
        int fd = RetryEintr([&] { return ::open(real, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
        if (fd < 0)
            return {MapOpenErrno(errno), errno};
        auto fail = [fd](int e) {
            ::close(fd);
            return OpenResult{MapOpenErrno(e), e};
        };
        if (!isatty(fd))
            return fail(ENOTTY);
        // TIOCEXCL keeps other processes out (but not root); flock also catches a second
        // open by root or by this very process.
        if (RetryEintr([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0)
            return fail(errno);
        ioctl(fd, TIOCEXCL);
        termios t{};
        if (tcgetattr(fd, &t) != 0)
            return fail(errno);
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        // VMIN 1 with O_NONBLOCK: an empty read says EAGAIN, so a read of 0 means hang-up.
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        if (tcsetattr(fd, TCSANOW, &t) != 0)
            return fail(errno);
        int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake < 0)
            return fail(errno);
        // Edge-triggered on the device: one wake per arrival, none for bytes that wait in the
        // driver for ring space. The wake descriptor stays level-triggered.
        int ep = epoll_create1(EPOLL_CLOEXEC);
        epoll_event onDevice{EPOLLIN | EPOLLRDHUP | EPOLLET, {.u32 = kDeviceTag}};
        epoll_event onWake{EPOLLIN, {.u32 = kWakeTag}};
        if (ep < 0 || epoll_ctl(ep, EPOLL_CTL_ADD, fd, &onDevice) != 0 ||
            epoll_ctl(ep, EPOLL_CTL_ADD, wake, &onWake) != 0) {
            const int e = errno;
            ::close(wake);
            if (ep >= 0)
                ::close(ep);
            return fail(e);
        }
        m_fd = fd;
        m_wake = wake;
        m_epoll = ep;
        m_watching = true;
        return {};
    }

    void Close() override {
        if (m_fd >= 0) {
            // The exclusive flag outlives our descriptor while anyone else holds the tty.
            ioctl(m_fd, TIOCNXCL);
            // The port has drained what it could; close() must not wait on the kernel for the
            // rest (up to 30 s on a UART held by flow control).
            tcflush(m_fd, TCOFLUSH);
            ::close(m_fd);
        }
        if (m_wake >= 0)
            ::close(m_wake);
        if (m_epoll >= 0)
            ::close(m_epoll);
        m_fd = m_wake = m_epoll = -1;
    }

    bool IsOpen() const override { return m_fd >= 0; }

    bool Configure(const LineSettings &s) override {
        termios t{};
        if (tcgetattr(m_fd, &t) != 0)
            return false;
        const bool standardRate = ApplyToTermios(s, t);
        bool ok = tcsetattr(m_fd, TCSANOW, &t) == 0;
        if (!standardRate)
            ok = SetArbitraryBaud(m_fd, s.baud) && ok;
        return ok;
    }

    void RequestLowLatency() override {
        serial_struct ss{};
        if (ioctl(m_fd, TIOCGSERIAL, &ss) != 0)
            return; // pseudo-terminals and some USB drivers have no such setting
        ss.flags |= ASYNC_LOW_LATENCY;
        ioctl(m_fd, TIOCSSERIAL, &ss);
    }

    IoResult Read(void *buffer, size_t count) override {
        ssize_t n = RetryEintr([&] { return ::read(m_fd, buffer, count); });
        if (n > 0)
            return {IoStatus::Ok, size_t(n), 0};
        if (n == 0)
            return {IoStatus::Gone, 0, EIO};
        return Failure(errno);
    }

    IoResult Write(const void *data, size_t count) override {
        ssize_t n = RetryEintr([&] { return ::write(m_fd, data, count); });
        if (n >= 0)
            return {IoStatus::Ok, size_t(n), 0};
        return Failure(errno);
    }

    int InQueue() override {
        int n = 0;
        return ioctl(m_fd, FIONREAD, &n) == 0 ? n : -1;
    }

    int OutQueue() override {
        int n = 0;
        return ioctl(m_fd, TIOCOUTQ, &n) == 0 ? n : -1;
    }

    void Purge(bool input, bool output) override {
        if (input && output)
            tcflush(m_fd, TCIOFLUSH);
        else if (input)
            tcflush(m_fd, TCIFLUSH);
        else if (output)
            tcflush(m_fd, TCOFLUSH);
    }

    WaitResult WaitEvent(bool watchDevice, int timeoutMs) override {
        if (!watchDevice && m_watching) {
            // A hung-up device reports its hang-up on every wait: stop listening to it.
            epoll_ctl(m_epoll, EPOLL_CTL_DEL, m_fd, nullptr);
            m_watching = false;
        }
        epoll_event events[2];
        const int n = RetryEintr([&] { return epoll_wait(m_epoll, events, 2, timeoutMs); });
        WaitResult w;
        for (int i = 0; i < n; ++i) {
            if (events[i].data.u32 == kWakeTag) {
                eventfd_t value;
                eventfd_read(m_wake, &value);
                w.woken = true;
            } else {
                w.gone = events[i].events & (EPOLLHUP | EPOLLERR | EPOLLRDHUP);
                w.ready = events[i].events & EPOLLIN;
            }
        }
        return w;
    }

    void WakeEventWaiter() override { eventfd_write(m_wake, 1); }

    WaitResult WaitWritable(int timeoutMs) override {
        pollfd pfd{m_fd, POLLOUT, 0};
        WaitResult w;
        if (RetryEintr([&] { return ::poll(&pfd, 1, timeoutMs); }) <= 0)
            return w;
        w.gone = pfd.revents & (POLLHUP | POLLERR | POLLNVAL);
        w.ready = pfd.revents & POLLOUT;
        return w;
    }

    bool GetModemLines(uint32_t &bits) override {
        int lines = 0;
        if (ioctl(m_fd, TIOCMGET, &lines) != 0)
            return false;
        bits = (lines & TIOCM_CTS ? kModemCts : 0u) | (lines & TIOCM_DSR ? kModemDsr : 0u) |
               (lines & TIOCM_RI ? kModemRing : 0u) | (lines & TIOCM_CD ? kModemDcd : 0u);
        return true;
    }

    bool SetDtr(bool on) override { return SetLine(TIOCM_DTR, on); }
    bool SetRts(bool on) override { return SetLine(TIOCM_RTS, on); }

    bool SetBreak(bool on) override { return ioctl(m_fd, on ? TIOCSBRK : TIOCCBRK) == 0; }

    bool GetLineCounters(LineCounters &c) override {
        serial_icounter_struct ic{};
        if (ioctl(m_fd, TIOCGICOUNT, &ic) != 0)
            return false;
        c.cts = ic.cts;
        c.dsr = ic.dsr;
        c.ring = ic.rng;
        c.dcd = ic.dcd;
        c.brk = ic.brk;
        c.errors = ic.frame + ic.overrun + ic.parity + ic.buf_overrun;
        return true;
    }

private:
    static IoResult Failure(int e) {
        if (e == EAGAIN || e == EWOULDBLOCK)
            return {IoStatus::WouldBlock, 0, e};
        return {IsGoneErrno(e) ? IoStatus::Gone : IoStatus::Failed, 0, e};
    }

    bool SetLine(int line, bool on) { return ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0; }

    static constexpr uint32_t kDeviceTag = 1, kWakeTag = 2;
    int m_fd = -1;
    int m_wake = -1;
    int m_epoll = -1;
    bool m_watching = false;
};

} // namespace

std::unique_ptr<SerialDevice> CreateSerialDevice() { return std::make_unique<PosixSerialDevice>(); }
