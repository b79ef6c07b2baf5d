#include "sim_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "frame.h"

SimClient::SimClient(const std::string &path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return;
    termios t{};
    if (tcgetattr(m_fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(m_fd, TCSANOW, &t);
    }
}

SimClient::~SimClient() {
    if (m_owned && m_fd >= 0)
        ::close(m_fd);
}

void SimClient::sendRaw(const std::vector<uint8_t> &bytes) {
    size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + at, bytes.size() - at);
        if (n > 0) {
            at += size_t(n);
        } else {
            pollfd pfd{m_fd, POLLOUT, 0};
            ::poll(&pfd, 1, 20);
        }
    }
}

void SimClient::send(uint8_t dst, std::string_view payload) { sendRaw(BuildFrame(dst, kPc, payload)); }

std::optional<SimFrame> SimClient::reply(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (!m_ready.empty()) {
            SimFrame f = std::move(m_ready.front());
            m_ready.erase(m_ready.begin());
            return f;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, int(left.count())) <= 0)
            continue;
        uint8_t tmp[4096];
        const ssize_t n = ::read(m_fd, tmp, sizeof tmp);
        if (n <= 0)
            continue;
        m_buf.insert(m_buf.end(), tmp, tmp + n);
        const size_t used = CutFrames(
            m_buf.data(), m_buf.size(), [](uint8_t dst) { return dst == kPc; },
            [&](const FrameView &f) { m_ready.push_back({f.dst, f.src, {f.payload, f.payload + f.length}}); });
        m_buf.erase(m_buf.begin(), m_buf.begin() + long(used));
    }
}

std::optional<SimFrame> SimClient::ask(uint8_t dst, std::string_view payload, std::chrono::milliseconds timeout) {
    send(dst, payload);
    return reply(timeout);
}

std::vector<uint8_t> SimClient::readRaw(std::chrono::milliseconds duration) {
    std::vector<uint8_t> out;
    const auto deadline = std::chrono::steady_clock::now() + duration;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return out;
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, int(left.count())) <= 0)
            continue;
        uint8_t tmp[4096];
        const ssize_t n = ::read(m_fd, tmp, sizeof tmp);
        if (n > 0)
            out.insert(out.end(), tmp, tmp + n);
    }
}

std::vector<std::chrono::steady_clock::time_point> SimClient::readTimes(size_t size, std::chrono::milliseconds timeout) {
    std::vector<std::chrono::steady_clock::time_point> times;
    size_t got = 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got < size) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, int(left.count())) <= 0)
            continue;
        uint8_t tmp[4096];
        const ssize_t n = ::read(m_fd, tmp, std::min(sizeof tmp, size - got));
        if (n > 0) {
            got += size_t(n);
            times.push_back(std::chrono::steady_clock::now());
        }
    }
    return times;
}

std::string Text(const SimFrame &f) { return std::string(f.text()); }
