#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame.h"

namespace {

TEST(FrameBuild, GetSettingFromPcToPdIsTheKnownBytes) {
    const std::vector<uint8_t> want = {0xFA, 0xFE, 0x0A, 0x00, 0x47, 0x45, 0x54, 0x53,
                                       0x45, 0x54, 0x54, 0x49, 0x4E, 0x47, 0x3F, 0xF1};
    EXPECT_EQ(BuildFrame(250, 254, "GETSETTING"), want);
}

TEST(FrameBuild, LengthIsLittleEndian) {
    const std::string payload(0x0123, 'x');
    const auto f = BuildFrame(238, 254, payload);
    ASSERT_EQ(f.size(), payload.size() + 6);
    EXPECT_EQ(f[2], 0x23);
    EXPECT_EQ(f[3], 0x01);
}

struct SizeCase {
    const char *name;
    size_t payload;
    size_t frame;  // 0: refused
};

class FrameSizeLimit : public testing::TestWithParam<SizeCase> {};

TEST_P(FrameSizeLimit, OnlyFramesUpTo1600BytesAreBuilt) {
    const auto &c = GetParam();
    const std::vector<uint8_t> payload(c.payload, 0x55);
    EXPECT_EQ(BuildFrame(250, 254, payload.data(), payload.size()).size(), c.frame);

    // The buffer form refuses the same payloads and writes nothing when it does.
    std::vector<uint8_t> out(2000, 0xEE);
    EXPECT_EQ(BuildFrame(250, 254, payload.data(), payload.size(), out.data(), out.size()), c.frame);
    if (c.frame == 0) {
        EXPECT_EQ(out[0], 0xEE);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameSizeLimit,
                         testing::Values(SizeCase{"empty_payload_is_a_bare_header", 0, 6},
                                         SizeCase{"payload_1594_fills_1600_bytes", 1594, 1600},
                                         SizeCase{"payload_1595_is_refused", 1595, 0},
                                         SizeCase{"payload_4000_is_refused", 4000, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FrameBuild, BufferTooSmallIsRefusedWithoutWriting) {
    uint8_t out[10];
    std::fill(std::begin(out), std::end(out), 0xEE);
    const uint8_t payload[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(BuildFrame(250, 254, payload, 5, out, sizeof out), 0u);
    EXPECT_EQ(out[0], 0xEE);
}

}  // namespace
