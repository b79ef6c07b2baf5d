#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// CRC-16/CCITT-FALSE (poly 0x1021, init 0xFFFF, no reflection, no final xor).
uint16_t Crc16(const uint8_t *data, size_t count);
// Sum of every byte of the file as 0..255; 0 when it cannot be opened.
uint64_t FileByteSum(const std::string &path);
