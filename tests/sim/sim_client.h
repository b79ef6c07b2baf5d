#pragma once
// The PC's end of the line for the simulator's tests: opens the port path as the
// configurator would, sends frames from address 254 and cuts the replies addressed to it.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "sim_network.h"

class SimClient {
public:
    static constexpr uint8_t kPc = 254;

    explicit SimClient(const std::string &path);   // opens raw, non-blocking
    explicit SimClient(int fd) : m_fd(fd), m_owned(false) {}
    ~SimClient();
    SimClient(const SimClient &) = delete;
    SimClient &operator=(const SimClient &) = delete;

    bool ok() const { return m_fd >= 0; }
    void sendRaw(const std::vector<uint8_t> &bytes);
    void send(uint8_t dst, std::string_view payload);
    // The next accepted reply within the timeout.
    std::optional<SimFrame> reply(std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
    // One request and its reply.
    std::optional<SimFrame> ask(uint8_t dst, std::string_view payload,
                                std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));
    // Every byte that arrives within the time, uncut.
    std::vector<uint8_t> readRaw(std::chrono::milliseconds duration);
    // Arrival time of each read of the next `size` bytes (pieces of a reply).
    std::vector<std::chrono::steady_clock::time_point> readTimes(size_t size, std::chrono::milliseconds timeout);

private:
    int m_fd = -1;
    bool m_owned = true;
    std::vector<uint8_t> m_buf;
    std::vector<SimFrame> m_ready;
};

std::string Text(const SimFrame &f);
