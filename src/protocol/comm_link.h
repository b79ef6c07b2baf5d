#pragma once
// The three port operations the command exchange needs. The program adapts its serial
// component to this; tests use a fake that records what was sent and feeds replies.
#include <cstdint>

class CommLink {
public:
    virtual ~CommLink() = default;
    // Number of bytes accepted for sending (fewer than `count` when the port refuses).
    virtual int PutBlock(const uint8_t *data, int count) = 0;
    // Number of bytes delivered into `data`, at most `count`.
    virtual int GetBlock(uint8_t *data, int count) = 0;
    virtual bool IsEnabled() const = 0;
};
