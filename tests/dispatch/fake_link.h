#pragma once
// A port that records every frame sent and hands out bytes a test queues.
#include <QElapsedTimer>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "comm_link.h"

class FakeLink : public CommLink {
public:
    struct Sent {
        std::string bytes;
        qint64 atMs;
    };

    FakeLink() { m_clock.start(); }

    int PutBlock(const uint8_t *data, int count) override {
        const int taken = std::min(count, acceptLimit);
        sent.push_back(
            {std::string(reinterpret_cast<const char *>(data), static_cast<size_t>(taken)), m_clock.elapsed()});
        return taken;
    }
    int GetBlock(uint8_t *data, int count) override {
        const int n = std::min<int>(count, static_cast<int>(incoming.size()));
        std::memcpy(data, incoming.data(), static_cast<size_t>(n));
        incoming.erase(0, static_cast<size_t>(n));
        return n;
    }
    bool IsEnabled() const override { return true; }

    // Payload text of the i-th frame sent (the frame without header and check).
    std::string SentPayload(size_t i) const { return sent.at(i).bytes.substr(4, sent.at(i).bytes.size() - 6); }

    std::vector<Sent> sent;
    std::string incoming;
    int acceptLimit = 1 << 30;

private:
    QElapsedTimer m_clock;
};
