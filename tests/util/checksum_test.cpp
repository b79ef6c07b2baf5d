#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "checksum.h"
#include "temp_dir.h"

namespace {
uint16_t CrcOf(const std::string &s) {
    return Crc16(reinterpret_cast<const uint8_t *>(s.data()), s.size());
}
} // namespace

TEST(Crc16, KnownValues) {
    EXPECT_EQ(CrcOf("123456789"), 0x29B1);
    EXPECT_EQ(CrcOf("abc"), 0x514A);
    EXPECT_EQ(CrcOf(""), 0xFFFF);
    EXPECT_EQ(Crc16(nullptr, 5), 0xFFFF);
}

TEST(Crc16, FramesLongerThan32767Bytes) {
    // A received block can exceed a signed 16-bit count; every byte must still count.
    std::vector<uint8_t> data(40000, 0x55);
    uint16_t whole = Crc16(data.data(), data.size());
    data.back() = 0x56;
    EXPECT_NE(Crc16(data.data(), data.size()), whole);
}

TEST(FileByteSum, SumsEveryByte) {
    TempDir dir;
    auto write = [&](const std::string &name, const std::string &bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    };
    EXPECT_EQ(FileByteSum(write("three", "\xFF\xFF\x01")), 511u);
    EXPECT_EQ(FileByteSum(write("empty", "")), 0u);
    EXPECT_EQ(FileByteSum((dir / "missing").string()), 0u);
    // More than one 1024-byte block.
    EXPECT_EQ(FileByteSum(write("big", std::string(5000, '\xFF'))), 5000u * 255u);
}
