#pragma once
// Where the simulated network meets the PC: a pseudo-terminal of its own (the PC opens the
// slave side as it opens a serial port), or an existing serial device, e.g. a second
// USB-RS485 adapter on the same bus.
#include <memory>
#include <string>

class SimPort {
public:
    static std::unique_ptr<SimPort> OpenPty(std::string &error);
    // Raw 8N1 at a standard `baud`; a pseudo-terminal slave path works as well.
    static std::unique_ptr<SimPort> Attach(const std::string &path, int baud, std::string &error);
    ~SimPort();
    SimPort(const SimPort &) = delete;
    SimPort &operator=(const SimPort &) = delete;

    // Non-blocking; the devices read requests from it and write replies to it.
    int fd() const { return m_fd; }
    // What a client opens: the pseudo-terminal's slave, or the attached device itself.
    const std::string &path() const { return m_path; }
    // Bytes written that the client has not read yet; -1 when that cannot be known
    // (an attached device).
    long unreadByClient() const;
    // Throws those bytes away, as a line does with bytes sent while nobody listens.
    void discardUnread();

private:
    SimPort() = default;
    int m_fd = -1;
    int m_keeper = -1;  // holds the slave open, so the master never sees a hang-up between clients
    std::string m_path;
};
