#include "checksum.h"

#include <array>
#include <cstdio>

namespace {
// Entry i: the CRC register after shifting i (in the high byte) eight times through 0x1021.
constexpr std::array<uint16_t, 256> MakeCrcTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        uint16_t crc = static_cast<uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
        table[i] = crc;
    }
    return table;
}
constexpr std::array<uint16_t, 256> kCrcTable = MakeCrcTable();
} // namespace

uint16_t Crc16(const uint8_t *data, size_t count) {
    uint16_t crc = 0xFFFF;
    if (!data)
        return crc;
    for (size_t i = 0; i < count; ++i)
        crc = static_cast<uint16_t>(kCrcTable[((crc >> 8) ^ data[i]) & 0xFF] ^ (crc << 8));
    return crc;
}

uint64_t FileByteSum(const std::string &path) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return 0;
    uint64_t sum = 0;
    unsigned char block[1024];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0)
        for (size_t i = 0; i < got; ++i)
            sum += block[i];
    std::fclose(f);
    return sum;
}
