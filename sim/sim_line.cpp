#include "sim_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

#include "frame.h"

namespace {
// Paced writes go out in slices of about this much line time: fine enough that a reader
// sees bytes trickle in as from a UART, coarse enough not to spin.
constexpr auto kSlice = std::chrono::milliseconds(2);
constexpr size_t kTraceBytes = 96;
}  // namespace

SimLine::SimLine(SimNetwork &net, SimPort &port, LineSettings line, FaultSettings faults, TraceFn trace)
    : m_net(net), m_port(port), m_fd(port.fd()), m_line(line), m_faults(faults), m_trace(std::move(trace)) {}

SimLine::~SimLine() { stop(); }

void SimLine::start() {
    if (m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        m_stopping = false;
    }
    m_thread = std::thread([this] { run(); });
}

void SimLine::stop() {
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

std::string SimLine::error() const {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_error;
}

SimLine::Stats SimLine::stats() const {
    std::lock_guard<std::mutex> lock(m_stateMutex);
    return m_stats;
}

std::chrono::nanoseconds SimLine::LineTime(size_t bytes, int baud) {
    if (baud <= 0)
        return {};
    // 19200 bit/s: 10 bits a byte -> 520833 ns a byte.
    return std::chrono::nanoseconds(int64_t(bytes) * 10 * 1'000'000'000LL / baud);
}

std::string SimLine::TraceLine(const char *arrow, const SimFrame &f) {
    std::string out = std::string(arrow) + " " + std::to_string(f.dst) + " from " + std::to_string(f.src) + " ";
    const size_t shown = std::min(f.payload.size(), kTraceBytes);
    for (size_t i = 0; i < shown; ++i) {
        const uint8_t b = f.payload[i];
        if (b >= 0x20 && b != 0x7F) {
            out += char(b);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            out += buf;
        }
    }
    if (shown < f.payload.size())
        out += "... (" + std::to_string(f.payload.size()) + " bytes)";
    return out;
}

void SimLine::trace(const std::string &line) {
    if (!m_trace)
        return;
    char stamp[32];
    const double s = std::chrono::duration<double>(SimClock::now() - m_started).count();
    std::snprintf(stamp, sizeof stamp, "[%9.3f] ", s);
    m_trace(stamp + line);
}

void SimLine::fail(const std::string &why) {
    {
        std::lock_guard<std::mutex> lock(m_stateMutex);
        m_error = why;
    }
    m_failed = true;
    trace("port failed: " + why);
}

bool SimLine::waitUntil(SimClock::time_point t) {
    std::unique_lock<std::mutex> lock(m_stateMutex);
    m_wake.wait_until(lock, t, [this] { return m_stopping; });
    return !m_stopping;
}

bool SimLine::writeAll(const uint8_t *data, size_t size) {
    auto deadline = SimClock::now() + m_line.stallLimit;
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n > 0) {
            m_written += uint64_t(n);
            data += n;
            size -= size_t(n);
            deadline = SimClock::now() + m_line.stallLimit;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            fail(std::string("write: ") + std::strerror(errno));
            return false;
        }
        if (SimClock::now() >= deadline) {
            trace("reply cut short: nobody reads the line");
            return false;
        }
        pollfd pfd{m_fd, POLLOUT, 0};
        ::poll(&pfd, 1, 20);
        std::lock_guard<std::mutex> lock(m_stateMutex);
        if (m_stopping)
            return false;
    }
    return true;
}

// Each byte reaches the far end when its stop bit is through: a slice is written at the
// line time its last byte would arrive, and the line stays busy until the whole reply is.
bool SimLine::send(const std::vector<uint8_t> &bytes) {
    if (m_line.baud <= 0)
        return writeAll(bytes.data(), bytes.size());
    const auto start = std::max(SimClock::now(), m_txFree);
    const size_t perSlice = std::max<size_t>(1, size_t(m_line.baud / 10) * size_t(kSlice.count()) / 1000);
    for (size_t at = 0; at < bytes.size(); at += perSlice) {
        const size_t end = std::min(bytes.size(), at + perSlice);
        if (!waitUntil(start + LineTime(end, m_line.baud)))
            return false;
        if (!writeAll(bytes.data() + at, end - at))
            return false;
    }
    m_txFree = start + LineTime(bytes.size(), m_line.baud);
    return true;
}

// A client that reads takes bytes out of the queue; one that closed its port leaves them.
void SimLine::dropUnreadReplies() {
    const long unread = m_port.unreadByClient();
    const auto now = SimClock::now();
    if (unread <= 0) {
        m_unreadSince = {};
        return;
    }
    const uint64_t taken = m_written - uint64_t(unread);
    if (m_unreadSince == SimClock::time_point{} || taken != m_takenByClient) {
        m_takenByClient = taken;
        m_unreadSince = now;
        return;
    }
    if (now - m_unreadSince >= m_line.unreadLimit) {
        m_port.discardUnread();
        m_unreadSince = {};
        trace("nobody reads the line: " + std::to_string(unread) + " bytes lost");
    }
}

void SimLine::run() {
    std::vector<uint8_t> buf(4096);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_stateMutex);
            if (m_stopping)
                return;
        }
        pollfd pfd{m_fd, POLLIN, 0};
        dropUnreadReplies();
        const int ready = ::poll(&pfd, 1, 50);
        if (ready < 0 && errno != EINTR)
            return fail(std::string("poll: ") + std::strerror(errno));
        if (ready <= 0)
            continue;
        if (pfd.revents & (POLLERR | POLLNVAL))
            return fail("the port reports an error");
        const ssize_t n = ::read(m_fd, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return fail(std::string("read: ") + std::strerror(errno));
        }
        if (n == 0) {
            if (pfd.revents & POLLHUP)
                return fail("the port was hung up");
            continue;
        }
        // The bytes are only complete once their line time has passed.
        m_rxFree = std::max(m_rxFree, SimClock::now()) + LineTime(size_t(n), m_line.baud);
        if (!waitUntil(m_rxFree))
            return;

        SimNetwork::Output out;
        {
            std::lock_guard<std::mutex> lock(m_netMutex);
            out = m_net.feed(buf.data(), size_t(n), SimClock::now());
        }
        for (const auto &req : out.requests)
            trace(TraceLine("->", req));
        {
            std::lock_guard<std::mutex> lock(m_stateMutex);
            m_stats.requests += out.requests.size();
        }
        for (const auto &reply : out.replies) {
            if (!waitUntil(SimClock::now() + m_line.replyDelay))
                return;
            const auto shaped =
                m_faults.shape(BuildFrame(reply.dst, reply.src, reply.payload.data(), reply.payload.size()),
                               reply.text());
            {
                std::lock_guard<std::mutex> lock(m_stateMutex);
                m_stats.replies += 1;
                m_stats.dropped += shaped.dropped;
                m_stats.corrupted += shaped.corrupted;
                m_stats.noisy += shaped.noise > 0;
            }
            std::string note = shaped.dropped     ? " [dropped]"
                               : shaped.corrupted ? " [corrupted]"
                                                  : "";
            if (shaped.noise)
                note += " [" + std::to_string(shaped.noise) + " noise bytes]";
            trace(TraceLine("<-", reply) + note);
            for (const auto &piece : shaped.pieces) {
                if (piece.gapBefore.count() > 0 && !waitUntil(SimClock::now() + piece.gapBefore))
                    return;
                if (!send(piece.bytes)) {
                    if (m_failed)
                        return;
                    break;
                }
            }
        }
    }
}
