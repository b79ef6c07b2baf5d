#include "far_end_peer.h"

#include <chrono>
#include <ctime>
#include <poll.h>
#include <unistd.h>

FarEndPeer::FarEndPeer(int masterFd, Mode mode, size_t bytesPerSecond)
    : m_fd(masterFd), m_mode(mode), m_rate(bytesPerSecond) {
    if (pipe(m_wake) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_thread = std::thread([this] { Run(); });
}

FarEndPeer::~FarEndPeer() {
    Stop();
    close(m_wake[0]);
    close(m_wake[1]);
}

void FarEndPeer::Stop() {
    if (!m_thread.joinable())
        return;
    m_stop = true;
    char c = 0;
    (void)!write(m_wake[1], &c, 1);
    m_thread.join();
}

void FarEndPeer::NotifyAt(size_t target, void (*callback)(void *), void *context) {
    m_target = target;
    m_context = context;
    m_callback = callback;
}

void FarEndPeer::Run() {
    using Clock = std::chrono::steady_clock;
    char buf[65536];
    char out[4096] = {};
    auto nextSend = Clock::now();
    while (!m_stop) {
        int timeout = -1;
        if (m_mode == Paced) {
            auto now = Clock::now();
            if (now >= nextSend) {
                size_t slice = m_rate / 100;
                for (size_t sent = 0; sent < slice;) {
                    ssize_t n = write(m_fd, out, std::min(sizeof out, slice - sent));
                    if (n <= 0)
                        break;
                    sent += size_t(n);
                }
                nextSend += std::chrono::milliseconds(10);
            }
            timeout = int(std::chrono::duration_cast<std::chrono::milliseconds>(nextSend - Clock::now()).count());
            if (timeout < 0)
                timeout = 0;
        }
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, timeout) <= 0)
            continue;
        if (fds[1].revents)
            break;
        if (fds[0].revents & (POLLHUP | POLLERR))
            break;
        if (!(fds[0].revents & POLLIN))
            continue;
        ssize_t n = read(m_fd, buf, sizeof buf);
        if (n <= 0)
            continue;
        if (m_mode == Echo) {
            for (ssize_t done = 0; done < n;) {
                ssize_t w = write(m_fd, buf + done, size_t(n - done));
                if (w <= 0)
                    break;
                done += w;
            }
        }
        size_t before = m_received.fetch_add(size_t(n));
        if (m_callback && before < m_target && before + size_t(n) >= m_target)
            m_callback(m_context);
    }
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    m_cpu = ts.tv_sec + ts.tv_nsec / 1e9;
}
