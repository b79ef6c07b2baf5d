// The fault shapes, without a line: what goes out for one reply frame.
#include <gtest/gtest.h>

#include "frame.h"
#include "sim_faults.h"

namespace {

const std::vector<uint8_t> kFrame = BuildFrame(254, 250, "OK_GETSETTINGsetting:{adr:250}");

std::vector<uint8_t> Joined(const FaultInjector::Shaped &s) {
    std::vector<uint8_t> out;
    for (const auto &p : s.pieces)
        out.insert(out.end(), p.bytes.begin(), p.bytes.end());
    return out;
}

TEST(Faults, NoneLeaveTheFrameWhole) {
    FaultInjector f(FaultSettings{});
    const auto s = f.shape(kFrame);
    ASSERT_EQ(s.pieces.size(), 1u);
    EXPECT_EQ(s.pieces[0].bytes, kFrame);
}

TEST(Faults, EachDoesWhatItSays) {
    FaultSettings drop;
    drop.dropShare = 1;
    EXPECT_TRUE(FaultInjector(drop).shape(kFrame).pieces.empty());

    FaultSettings corrupt;
    corrupt.corruptShare = 1;
    const auto bad = Joined(FaultInjector(corrupt).shape(kFrame));
    ASSERT_EQ(bad.size(), kFrame.size());
    size_t differing = 0;
    for (size_t i = 0; i < bad.size(); ++i)
        differing += bad[i] != kFrame[i];
    EXPECT_EQ(differing, 1u);

    FaultSettings noise;
    noise.noiseShare = 1;
    const auto noisy = Joined(FaultInjector(noise).shape(kFrame));
    ASSERT_GT(noisy.size(), kFrame.size());
    ASSERT_LE(noisy.size(), kFrame.size() + FaultInjector::kMaxNoise);
    EXPECT_TRUE(std::equal(kFrame.begin(), kFrame.end(), noisy.end() - long(kFrame.size())));

    FaultSettings split;
    split.splitBytes = 4;
    split.splitGap = std::chrono::milliseconds(7);
    const auto pieces = FaultInjector(split).shape(kFrame);
    EXPECT_EQ(pieces.pieces.size(), (kFrame.size() + 3) / 4);
    EXPECT_EQ(pieces.pieces[0].gapBefore.count(), 0);
    EXPECT_EQ(pieces.pieces[1].gapBefore.count(), 7);
    EXPECT_EQ(Joined(pieces), kFrame);
}

// A chosen reply word is dropped a given number of times, others pass.
TEST(Faults, ADroppedWordGoesUnsentItsCountOfTimes) {
    FaultSettings s;
    s.dropWord = "OK_UPLOAD_PART";
    s.dropWordCount = 2;
    FaultInjector f(s);
    EXPECT_FALSE(f.shape(kFrame, "OK_UPLOAD").dropped);
    EXPECT_TRUE(f.shape(kFrame, "OK_UPLOAD_PART").dropped);
    EXPECT_FALSE(f.shape(kFrame, "OK_UPLOAD_FINISH").dropped);
    EXPECT_TRUE(f.shape(kFrame, "OK_UPLOAD_PART").dropped);
    EXPECT_FALSE(f.shape(kFrame, "OK_UPLOAD_PART").dropped) << "the count is spent";
}

// The same seed gives the same faults; the share is kept over many replies.
TEST(Faults, SharesAreReproducibleFromTheSeed) {
    FaultSettings s;
    s.dropShare = 0.3;
    s.seed = 42;
    auto pattern = [&](FaultSettings settings) {
        FaultInjector f(settings);
        std::vector<bool> dropped;
        for (int i = 0; i < 1000; ++i)
            dropped.push_back(f.shape(kFrame).dropped);
        return dropped;
    };
    const auto a = pattern(s);
    EXPECT_EQ(a, pattern(s));
    const auto n = std::count(a.begin(), a.end(), true);
    EXPECT_GT(n, 240);
    EXPECT_LT(n, 360);
    s.seed = 43;
    EXPECT_NE(a, pattern(s));
}

}  // namespace
