#pragma once
// The frame on the serial line, both directions:
//   destination (1) | source (1) | length (2, low byte first) | payload (length) | CRC-16 (2, low byte first)
// The CRC covers the first length + 4 bytes. Pure functions: no I/O, no state.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

constexpr size_t kFrameOverhead = 6;     // header 4 + check 2
constexpr size_t kMaxFrameSize = 1600;   // devices assemble frames in a buffer of this size
constexpr size_t kMaxFramePayload = kMaxFrameSize - kFrameOverhead;  // 1594

// Writes the frame into `out` (room for at least length + 6 bytes) and returns its size;
// 0 when the payload does not fit a 1600-byte frame or `outSize` is too small (nothing written).
size_t BuildFrame(uint8_t dst, uint8_t src, const uint8_t *payload, size_t length, uint8_t *out, size_t outSize);
// The same as a vector; empty when the payload is too long.
std::vector<uint8_t> BuildFrame(uint8_t dst, uint8_t src, const uint8_t *payload, size_t length);
std::vector<uint8_t> BuildFrame(uint8_t dst, uint8_t src, std::string_view payload);

// One accepted frame; `payload` points into the scanned bytes.
struct FrameView {
    uint8_t dst = 0;
    uint8_t src = 0;
    const uint8_t *payload = nullptr;
    uint16_t length = 0;

    std::string_view text() const { return {reinterpret_cast<const char *>(payload), length}; }
};

// Whether a frame starts at data[0] and lies wholly inside `size` bytes with a matching
// check and a length above 0. The destination is not looked at: that is the caller's test.
bool MatchFrameAt(const uint8_t *data, size_t size, FrameView &out);

// Cuts the accepted frames out of `data`, in order. A frame is accepted when its destination
// passes `accept(dst)` and MatchFrameAt holds; anything else is stepped over one byte at a
// time, since a damaged or foreign frame may hide a real one a byte further on.
// `onFrame(const FrameView&)` may return false to stop the scan (a handler that emptied the
// caller's buffer must not be shown frames from it); a void callback never stops it.
// Returns the bytes consumed: everything up to the end of the last accepted frame, junk in
// front of it included. Bytes behind it are kept by the caller: they may be a frame still
// arriving. 0 means "keep everything".
template <class Accept, class OnFrame>
size_t CutFrames(const uint8_t *data, size_t size, Accept &&accept, OnFrame &&onFrame) {
    size_t pos = 0;
    size_t consumed = 0;
    // The smallest acceptable frame carries one payload byte: 7 bytes.
    while (pos + kFrameOverhead < size) {
        FrameView f;
        if (accept(data[pos]) && MatchFrameAt(data + pos, size - pos, f)) {
            pos += size_t(f.length) + kFrameOverhead;
            consumed = pos;
            if constexpr (std::is_same_v<decltype(onFrame(f)), void>) {
                onFrame(f);
            } else if (!onFrame(f)) {
                break;
            }
        } else {
            ++pos;
        }
    }
    return consumed;
}
