#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kPc = 254;

Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Got {
    uint8_t src;
    std::string text;
    bool operator==(const Got &) const = default;
};

struct CutResult {
    std::vector<Got> frames;
    size_t consumed;
};

CutResult CutForPc(const Bytes &buf) {
    CutResult r;
    r.consumed = CutFrames(
        buf.data(), buf.size(), [](uint8_t dst) { return dst == kPc; },
        [&](const FrameView &f) { r.frames.push_back({f.src, std::string(f.text())}); });
    return r;
}

Bytes Reply(uint8_t src, const std::string &text) { return BuildFrame(kPc, src, text); }

struct CutCase {
    const char *name;
    Bytes buffer;
    std::vector<Got> frames;
    size_t consumed;
};

std::vector<CutCase> CutCases() {
    const Bytes a = Reply(250, "OK_SETSETTING");
    const Bytes b = Reply(240, "OK_SETZONE5");
    const Bytes junk = {0x00, 0xFE, 0x13, 0xFE, 0xFF, 0x7A};
    Bytes damaged = a;
    damaged[6] ^= 0x20;
    const Bytes forDevice = BuildFrame(250, kPc, "GETSETTING");
    const Bytes empty = BuildFrame(kPc, 250, "");
    // A stray address byte whose "length" runs past the buffer must not hide the frame behind it.
    const Bytes hugeHeader = {kPc, 250, 0xFF, 0x7F};
    return {
        {"two_frames_in_one_buffer_in_order", a + b, {{250, "OK_SETSETTING"}, {240, "OK_SETZONE5"}}, a.size() + b.size()},
        {"garbage_before_a_frame_goes_with_it", junk + a, {{250, "OK_SETSETTING"}}, junk.size() + a.size()},
        {"frame_for_another_address_is_kept_not_dispatched", forDevice, {}, 0},
        {"zero_length_frame_is_never_dispatched", empty, {}, 0},
        {"damaged_frame_is_stepped_over", damaged + b, {{240, "OK_SETZONE5"}}, damaged.size() + b.size()},
        {"partial_frame_behind_a_complete_one_stays", a + Bytes(b.begin(), b.end() - 1), {{250, "OK_SETSETTING"}}, a.size()},
        {"garbage_alone_is_kept", junk, {}, 0},
        {"impossible_length_is_stepped_over", hugeHeader + a, {{250, "OK_SETSETTING"}}, hugeHeader.size() + a.size()},
    };
}

class FrameCut : public testing::TestWithParam<CutCase> {};

TEST_P(FrameCut, AcceptsOnlyWholeCheckedFramesForTheAddress) {
    const auto &c = GetParam();
    const auto r = CutForPc(c.buffer);
    EXPECT_EQ(r.frames, c.frames);
    EXPECT_EQ(r.consumed, c.consumed);
}

INSTANTIATE_TEST_SUITE_P(Buffers, FrameCut, testing::ValuesIn(CutCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// The receiver collects bytes as they come; a frame split anywhere is dispatched exactly
// once, when its last byte arrives, and the buffer ends empty.
TEST(FrameCutIncremental, FrameSplitAtEveryBoundaryIsDispatchedOnceWhenComplete) {
    const Bytes frame = Reply(238, "OK_GETZONE" + std::string(40, 'z'));
    for (size_t cut = 1; cut < frame.size(); ++cut) {
        Bytes buf;
        std::vector<Got> seen;
        auto feed = [&](Bytes::const_iterator from, Bytes::const_iterator to) {
            buf.insert(buf.end(), from, to);
            auto r = CutForPc(buf);
            seen.insert(seen.end(), r.frames.begin(), r.frames.end());
            buf.erase(buf.begin(), buf.begin() + long(r.consumed));
        };
        feed(frame.begin(), frame.begin() + long(cut));
        EXPECT_TRUE(seen.empty()) << "cut at " << cut;
        feed(frame.begin() + long(cut), frame.end());
        ASSERT_EQ(seen.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(seen[0].src, 238);
        EXPECT_TRUE(buf.empty()) << "cut at " << cut;
    }
}

// A reply handler that empties the caller's buffer stops the scan: the frames queued
// behind it are not shown, and only the bytes up to the stopping frame count as consumed.
TEST(FrameCutIncremental, HandlerCanStopTheScan) {
    const Bytes a = Reply(250, "OK_GETSETTING");
    const Bytes buf = a + Reply(240, "OK_SETDEVICE");
    int calls = 0;
    const size_t consumed = CutFrames(
        buf.data(), buf.size(), [](uint8_t dst) { return dst == kPc; },
        [&](const FrameView &) {
            ++calls;
            return false;
        });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(consumed, a.size());
}

TEST(FrameCutIncremental, PayloadPointsIntoTheScannedBytes) {
    const Bytes buf = Bytes{1, 2, 3} + Reply(250, "OK_LIST");
    const uint8_t *payload = nullptr;
    CutFrames(buf.data(), buf.size(), [](uint8_t dst) { return dst == kPc; },
              [&](const FrameView &f) { payload = f.payload; });
    EXPECT_EQ(payload, buf.data() + 3 + 4);
}

}  // namespace
