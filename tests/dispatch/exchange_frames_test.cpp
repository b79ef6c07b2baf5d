// Frames out and in: building, cutting out of ReceiveBuffer, and the buffer's rules.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "command_exchange.h"
#include "fake_link.h"
#include "frame.h"

namespace {

constexpr uint8_t kPc = 254;

std::string Frame(uint8_t dst, uint8_t src, const std::string &payload) {
    const std::vector<uint8_t> f = BuildFrame(dst, src, payload);
    return std::string(f.begin(), f.end());
}

std::string Hex(const std::string &bytes) {
    static const char *digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

struct Dispatched {
    std::string payload;
    uint8_t source;
    bool operator==(const Dispatched &) const = default;
};

class ExchangeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        link.incoming.clear();
        link.sent.clear();
        exchange = std::make_unique<CommandExchange>([this](const QString &t) { log << t; });
        exchange->SetPort(&link);
        exchange->SetAddr(kPc);
        exchange->SetReplyHandler([this](const uint8_t *p, int n, uint8_t src) {
            dispatched.push_back({std::string(reinterpret_cast<const char *>(p), static_cast<size_t>(n)), src});
        });
    }
    void Deliver(const std::string &bytes) {
        link.incoming += bytes;
        exchange->ComPortDataReceived(static_cast<int>(bytes.size()));
    }
    std::string Held() const {
        return std::string(reinterpret_cast<const char *>(exchange->ReceiveData()),
                           static_cast<size_t>(exchange->ReceiveFill()));
    }

    FakeLink link;
    QStringList log;
    std::vector<Dispatched> dispatched;
    std::unique_ptr<CommandExchange> exchange;
};

TEST_F(ExchangeFixture, GetSettingFrameMatchesTheWorkedExample) {
    EXPECT_TRUE(exchange->SendFrame(250, "GETSETTING"));
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(Hex(link.sent[0].bytes), "FA FE 0A 00 47 45 54 53 45 54 54 49 4E 47 3F F1");
}

TEST_F(ExchangeFixture, AddressAbove255GoesOutAsItsLowByte) {
    exchange->SetAddr(300);
    exchange->SendFrame(250, "GETSETTING");
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(link.sent[0].bytes[1]), 44);
    // Replies come back to 44 and are taken.
    Deliver(Frame(44, 250, "OK_SETSETTING"));
    EXPECT_EQ(dispatched, (std::vector<Dispatched>{{"OK_SETSETTING", 250}}));
}

TEST_F(ExchangeFixture, PayloadSizeLimitAndRefusingPort) {
    EXPECT_TRUE(exchange->SendFrame(250, std::string(1594, 'x').c_str()));
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0].bytes.size(), 1600u);

    EXPECT_FALSE(exchange->SendFrame(250, std::string(1595, 'x').c_str()));
    EXPECT_EQ(link.sent.size(), 1u) << "a payload of 1595 bytes is not sent at all";

    link.acceptLimit = 5;
    EXPECT_FALSE(exchange->SendFrame(250, "GETSETTING")) << "a port that takes fewer bytes is a failure";

    exchange->SetPort(nullptr);
    EXPECT_FALSE(exchange->SendFrame(250, "GETSETTING"));
}

// Each row feeds the bytes in the listed reads and names what must be dispatched and
// what must stay in ReceiveBuffer afterwards.
struct CutCase {
    const char *name;
    std::vector<std::string> reads;
    std::vector<Dispatched> expected;
    std::string held;
};

std::vector<CutCase> CutCases() {
    const std::string a = Frame(kPc, 250, "OK_SETSETTING");
    const std::string b = Frame(kPc, 240, "OK_SETDEVICE");
    std::string badCheck = b;
    badCheck[badCheck.size() - 1] ^= 0x55;
    const std::string tail = "\xFE\xF0\x20"; // the start of a frame still arriving
    return {
        {"two replies in one read are dispatched in order",
         {a + b},
         {{"OK_SETSETTING", 250}, {"OK_SETDEVICE", 240}},
         ""},
        {"a reply split over reads is dispatched when its last byte arrives",
         {a.substr(0, 3), a.substr(3, 6), a.substr(9)},
         {{"OK_SETSETTING", 250}},
         ""},
        {"garbage in front of a reply is dropped with it", {"\x01\xFE\x33junk" + a}, {{"OK_SETSETTING", 250}}, ""},
        {"garbage with no reply behind it stays", {"\x01\xFE\x33junk and more"}, {}, "\x01\xFE\x33junk and more"},
        {"a frame for another address is never dispatched",
         {Frame(250, kPc, "GETSETTING")},
         {},
         Frame(250, kPc, "GETSETTING")},
        {"a frame of length zero is never dispatched", {Frame(kPc, 250, "") + "x"}, {}, Frame(kPc, 250, "") + "x"},
        {"a damaged check is stepped over and the next reply found", {badCheck + a}, {{"OK_SETSETTING", 250}}, ""},
        {"bytes behind the last reply stay for the next read", {a + tail}, {{"OK_SETSETTING", 250}}, tail},
        {"a reply behind a foreign frame is found", {Frame(250, kPc, "GETSETTING") + b}, {{"OK_SETDEVICE", 240}}, ""},
    };
}

TEST_F(ExchangeFixture, CuttingFramesOutOfReceivedBytes) {
    for (const CutCase &c : CutCases()) {
        SCOPED_TRACE(c.name);
        SetUp();
        dispatched.clear();
        for (const std::string &r : c.reads)
            Deliver(r);
        EXPECT_EQ(dispatched, c.expected);
        EXPECT_EQ(Hex(Held()), Hex(c.held));
    }
}

TEST_F(ExchangeFixture, TwoRepliesSplitAtEveryByteAreEachDispatchedOnce) {
    const std::string bytes = Frame(kPc, 250, "OK_SETSETTING") + Frame(kPc, 240, "OK_SETZONE5");
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        SetUp();
        dispatched.clear();
        Deliver(bytes.substr(0, cut));
        Deliver(bytes.substr(cut));
        ASSERT_EQ(dispatched, (std::vector<Dispatched>{{"OK_SETSETTING", 250}, {"OK_SETZONE5", 240}}))
            << "cut at byte " << cut;
        EXPECT_EQ(exchange->ReceiveFill(), 0);
    }
}

TEST_F(ExchangeFixture, HandlerStartingACommandLeavesTheBufferEmpty) {
    // The first reply makes its handler send a new request; the two replies queued behind
    // it belong to the old exchange and must not be dispatched.
    exchange->SetReplyHandler([this](const uint8_t *p, int n, uint8_t src) {
        dispatched.push_back({std::string(reinterpret_cast<const char *>(p), static_cast<size_t>(n)), src});
        exchange->SendCommand(240, "GETZONE1");
    });
    Deliver(Frame(kPc, 250, "OK_SETSETTING") + Frame(kPc, 240, "OK_SETDEVICE") + Frame(kPc, 240, "OK_SETZONE3"));
    EXPECT_EQ(dispatched, (std::vector<Dispatched>{{"OK_SETSETTING", 250}}));
    EXPECT_EQ(exchange->ReceiveFill(), 0);
    exchange->StopRepeats();
}

TEST_F(ExchangeFixture, OverflowBeyond65535BytesEmptiesTheBuffer) {
    Deliver(std::string(65530, '\x55'));
    EXPECT_EQ(exchange->ReceiveFill(), 65530);
    const std::string reply = Frame(kPc, 250, "OK_SETSETTING");
    Deliver(reply); // 65530 + 19 > 65535: the noise is dropped first, then the reply read
    EXPECT_EQ(dispatched, (std::vector<Dispatched>{{"OK_SETSETTING", 250}}));
    EXPECT_EQ(exchange->ReceiveFill(), 0);

    // One read larger than the whole buffer takes at most 65535 bytes.
    Deliver(std::string(70000, '\x55'));
    EXPECT_EQ(exchange->ReceiveFill(), 65535);
}

TEST_F(ExchangeFixture, SendCommandDropsLeftoversOfEarlierTraffic) {
    Deliver("leftover bytes");
    exchange->SendCommand(250, "GETSETTING");
    EXPECT_EQ(exchange->ReceiveFill(), 0);
    exchange->StopRepeats();
}

} // namespace
