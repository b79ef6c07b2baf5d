#include "frame.h"

#include "checksum.h"

size_t BuildFrame(uint8_t dst, uint8_t src, const uint8_t *payload, size_t length, uint8_t *out, size_t outSize) {
    const size_t total = length + kFrameOverhead;
    if (length > kMaxFramePayload || outSize < total)
        return 0;
    out[0] = dst;
    out[1] = src;
    out[2] = uint8_t(length & 0xFF);
    out[3] = uint8_t(length >> 8);
    for (size_t i = 0; i < length; ++i)
        out[4 + i] = payload[i];
    const uint16_t crc = Crc16(out, length + 4);
    out[4 + length] = uint8_t(crc & 0xFF);
    out[5 + length] = uint8_t(crc >> 8);
    return total;
}

std::vector<uint8_t> BuildFrame(uint8_t dst, uint8_t src, const uint8_t *payload, size_t length) {
    if (length > kMaxFramePayload)
        return {};
    std::vector<uint8_t> out(length + kFrameOverhead);
    BuildFrame(dst, src, payload, length, out.data(), out.size());
    return out;
}

std::vector<uint8_t> BuildFrame(uint8_t dst, uint8_t src, std::string_view payload) {
    return BuildFrame(dst, src, reinterpret_cast<const uint8_t *>(payload.data()), payload.size());
}

bool MatchFrameAt(const uint8_t *data, size_t size, FrameView &out) {
    if (size < kFrameOverhead)
        return false;
    const size_t length = size_t(data[2]) | (size_t(data[3]) << 8);
    if (length == 0 || length + kFrameOverhead > size)
        return false;
    const uint16_t want = uint16_t(data[4 + length] | (data[5 + length] << 8));
    if (Crc16(data, length + 4) != want)
        return false;
    out.dst = data[0];
    out.src = data[1];
    out.payload = data + 4;
    out.length = uint16_t(length);
    return true;
}
