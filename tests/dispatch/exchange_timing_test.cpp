// Repeats of SendCommand on shrunk timings, and WaitWithEvents with a wrapping tick counter.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <memory>

#include "command_exchange.h"
#include "fake_link.h"
#include "frame.h"

namespace {

constexpr ProtocolTimings kFast{/*repeatIntervalMs=*/100, /*repeatTransmissions=*/3, /*sweepIntervalMs=*/20};

class RepeatFixture : public ::testing::Test {
protected:
    void SetUp() override {
        exchange = std::make_unique<CommandExchange>([this](const QString &t) { log << t; }, kFast);
        exchange->SetPort(&link);
        exchange->SetReplyHandler([this](const uint8_t *, int, uint8_t) {
            ++replies;
            exchange->StopRepeats(); // what the dispatcher does first for every frame
        });
    }
    void DeliverReply() {
        const std::vector<uint8_t> f = BuildFrame(254, 250, std::string_view("OK_SETSETTING"));
        link.incoming.append(f.begin(), f.end());
        exchange->ComPortDataReceived(static_cast<int>(f.size()));
    }

    FakeLink link;
    QStringList log;
    int replies = 0;
    std::unique_ptr<CommandExchange> exchange;
};

TEST_F(RepeatFixture, UnansweredCommandGoesOutThreeTimesThenReportsNoReply) {
    exchange->SendCommand(250, "GETSETTING");
    EXPECT_EQ(link.sent.size(), 1u) << "the first transmission goes out at once";
    exchange->WaitWithEvents(4 * kFast.repeatIntervalMs + 40);

    ASSERT_EQ(link.sent.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(link.SentPayload(i), "GETSETTING");
    // The timer keeps its schedule (a tick a loaded machine runs late shortens the next gap),
    // so the n-th repeat comes no earlier than n intervals after the first transmission.
    EXPECT_GE(link.sent[1].atMs - link.sent[0].atMs, kFast.repeatIntervalMs - 5);
    EXPECT_GE(link.sent[2].atMs - link.sent[0].atMs, 2 * kFast.repeatIntervalMs - 5);
    EXPECT_EQ(log, QStringList{QString::fromUtf8("Нет ответа от устройства")});
    EXPECT_FALSE(exchange->RepeatsActive());
}

TEST_F(RepeatFixture, AReplyStopsTheRepeats) {
    exchange->SendCommand(250, "GETSETTING");
    exchange->WaitWithEvents(kFast.repeatIntervalMs + kFast.repeatIntervalMs / 2); // between 2nd and 3rd
    ASSERT_EQ(link.sent.size(), 2u);
    DeliverReply();
    exchange->WaitWithEvents(3 * kFast.repeatIntervalMs);
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(link.sent.size(), 2u) << "no third transmission";
    EXPECT_TRUE(log.isEmpty()) << "no failure line";
}

TEST_F(RepeatFixture, ASecondCommandReplacesThePendingOneAndRestartsTheCount) {
    exchange->SendCommand(250, "GETSETTING");
    exchange->WaitWithEvents(kFast.repeatIntervalMs + kFast.repeatIntervalMs / 2);
    exchange->SendCommand(240, "GETDEVICE");
    exchange->WaitWithEvents(4 * kFast.repeatIntervalMs + 40);
    ASSERT_EQ(link.sent.size(), 5u);
    EXPECT_EQ(link.SentPayload(1), "GETSETTING");
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(link.SentPayload(i), "GETDEVICE");
        EXPECT_EQ(static_cast<uint8_t>(link.sent[i].bytes[0]), 240);
    }
    EXPECT_EQ(log.size(), 1) << "one failure line, for the command that replaced the first";
}

TEST_F(RepeatFixture, ARefusingPortShowsAsNoReply) {
    link.acceptLimit = 0;
    exchange->SendCommand(250, "GETSETTING");
    exchange->WaitWithEvents(4 * kFast.repeatIntervalMs + 40);
    EXPECT_EQ(log, QStringList{QString::fromUtf8("Нет ответа от устройства")});
}

TEST(ElapsedTicks, CountsAcrossTheWrap) {
    struct Row {
        const char *name;
        uint32_t start, now, elapsed;
    };
    const Row rows[] = {
        {"no wrap", 1000, 1500, 500},
        {"same tick", 7, 7, 0},
        {"wrapped: the counter's own reckoning", 0xFFFFFF00u, 0x10u, 0x10u + 0xFFu},
        {"wrapped right at zero", UINT32_MAX, 0, 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ElapsedTicks(r.start, r.now), r.elapsed) << r.name;
}

TEST(WaitWithEvents, WaitsTheGivenTicksAcrossAWrapAndHandlesEvents) {
    CommandExchange exchange(nullptr, kFast);
    // A tick counter 100 ms below the wrap that advances 3 ms per reading: a wait of
    // 200 ticks must see the wrap and still end after 200 ticks, not at once and not never.
    uint32_t tick = UINT32_MAX - 100;
    int readings = 0;
    exchange.SetTickSource([&] {
        ++readings;
        const uint32_t now = tick;
        tick += 3;
        return now;
    });
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    exchange.WaitWithEvents(200);
    EXPECT_TRUE(timerRan) << "events are processed while waiting";
    const uint32_t start = UINT32_MAX - 100;
    const uint32_t last = tick - 3;
    EXPECT_GE(ElapsedTicks(start, last), 200u) << "ended only once 200 ticks had passed";
    EXPECT_LT(ElapsedTicks(start, last - 3), 200u) << "and not a reading later";
    EXPECT_GT(readings, 60);
}

TEST(WaitWithEvents, DispatchesRepliesThatArriveDuringTheWait) {
    FakeLink link;
    CommandExchange exchange(nullptr, kFast);
    exchange.SetPort(&link);
    int replies = 0;
    exchange.SetReplyHandler([&](const uint8_t *, int, uint8_t) { ++replies; });
    QTimer::singleShot(10, [&] {
        const std::vector<uint8_t> f = BuildFrame(254, 250, std::string_view("OK_SETDEVICE"));
        link.incoming.append(f.begin(), f.end());
        exchange.ComPortDataReceived(static_cast<int>(f.size()));
    });
    exchange.WaitWithEvents(50);
    EXPECT_EQ(replies, 1);
}

} // namespace
