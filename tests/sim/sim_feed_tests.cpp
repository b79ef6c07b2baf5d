// Frames into the network: which are answered, and where the answers go.
#include <random>

#include "frame.h"
#include "sim_test_net.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class FramesIn : public DemoNet {
protected:
    SimNetwork::Output feed(const Bytes &b) { return net.feed(b.data(), b.size(), t0); }
};

TEST_F(FramesIn, EachRequestIsAnsweredToItsSourceInOrder) {
    const auto out = feed(Cat(BuildFrame(250, 254, "GETSETTING"), BuildFrame(238, 17, "SERVICE")));
    ASSERT_EQ(out.replies.size(), 2u);
    EXPECT_EQ(out.replies[0].dst, 254);
    EXPECT_EQ(out.replies[0].src, 250);
    EXPECT_EQ(out.replies[0].text().substr(0, 13), "OK_GETSETTING");
    EXPECT_EQ(out.replies[1].dst, 17);
    EXPECT_EQ(out.replies[1].src, 238);
    EXPECT_EQ(out.requests.size(), 2u);
}

TEST_F(FramesIn, OnlyCheckedFramesForADeviceAreAnswered) {
    Bytes damaged = BuildFrame(250, 254, "GETSETTING");
    damaged[5] ^= 0x01;
    EXPECT_TRUE(feed(damaged).replies.empty());
    EXPECT_TRUE(feed(BuildFrame(239, 254, "SERVICE")).replies.empty());       // nobody at 239
    EXPECT_TRUE(feed(BuildFrame(254, 250, "OK_GETSETTING")).replies.empty());  // a reply on the bus
    EXPECT_TRUE(feed(BuildFrame(250, 254, "")).replies.empty());               // zero length

    // The junk in front goes with the next good frame.
    const auto out = feed(BuildFrame(250, 254, "SERVICE"));
    ASSERT_EQ(out.replies.size(), 1u);
    EXPECT_EQ(net.pendingBytes(), 0u);
}

TEST_F(FramesIn, SplitRequestIsAnsweredWhenComplete) {
    const Bytes f = BuildFrame(240, 254, "GETDEVICE");
    EXPECT_TRUE(feed(Bytes(f.begin(), f.begin() + 5)).replies.empty());
    EXPECT_EQ(feed(Bytes(f.begin() + 5, f.end())).replies.size(), 1u);
}

// A noisy line: junk between requests, bytes arriving in chunks of any size. Every request
// is still answered once, in order.
TEST_F(FramesIn, EveryRequestIsFoundAmongJunkAndOddChunks) {
    std::mt19937 rng(11);
    Bytes line;
    const uint8_t devices[] = {250, 238, 240};
    for (int i = 0; i < 200; ++i) {
        for (int j = int(rng() % 21); j > 0; --j)
            line.push_back(uint8_t(rng()));
        line = Cat(line, BuildFrame(devices[i % 3], 254, "SERVICE"));
    }
    std::vector<uint8_t> sources;
    for (size_t at = 0; at < line.size();) {
        const size_t n = std::min<size_t>(line.size() - at, 1 + rng() % 40);
        for (const auto &r : feed(Bytes(line.begin() + long(at), line.begin() + long(at + n))).replies)
            sources.push_back(r.src);
        at += n;
    }
    ASSERT_EQ(sources.size(), 200u);
    for (size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(sources[i], devices[i % 3]) << "reply " << i;
}

TEST_F(FramesIn, MutedDeviceHearsButDoesNotAnswer) {
    net.setMuted(238, true);
    const auto out = feed(BuildFrame(238, 254, "SERVICE"));
    EXPECT_EQ(out.requests.size(), 1u);
    EXPECT_TRUE(out.replies.empty());
}

}  // namespace
