// A reply handler that waits with events (as the file manager does between blocks) while
// more bytes arrive: every frame is dispatched once, in the order it came, none lost.
#include <gtest/gtest.h>

#include <QTimer>

#include <string>
#include <vector>

#include "command_exchange.h"
#include "fake_link.h"
#include "frame.h"

namespace {

TEST(HandlerThatWaits, FramesArrivingMeanwhileAreDispatchedOnceInOrder) {
    FakeLink link;
    CommandExchange exchange(nullptr, ProtocolTimings{60, 3, 25});
    exchange.SetPort(&link);
    auto deliver = [&](const std::string &bytes) {
        link.incoming += bytes;
        exchange.ComPortDataReceived(static_cast<int>(bytes.size()));
    };
    auto frame = [](const std::string &payload) {
        const std::vector<uint8_t> f = BuildFrame(254, 250, payload);
        return std::string(f.begin(), f.end());
    };
    std::vector<std::string> dispatched;
    int depth = 0, deepest = 0;
    exchange.SetReplyHandler([&](const uint8_t *p, int n, uint8_t) {
        dispatched.emplace_back(reinterpret_cast<const char *>(p), static_cast<size_t>(n));
        deepest = std::max(deepest, ++depth);
        if (dispatched.back() == "OK_A")
            exchange.WaitWithEvents(80); // more bytes come in while this handler waits
        --depth;
    });
    const std::string c = frame("OK_C");
    QTimer::singleShot(10, [&] { deliver(frame("OK_B")); });
    QTimer::singleShot(20, [&] { deliver(c.substr(0, 5)); }); // a frame split across two arrivals
    QTimer::singleShot(30, [&] { deliver(c.substr(5) + frame("OK_D")); });
    deliver(frame("OK_A") + frame("OK_E")); // E waits in the buffer behind A

    exchange.WaitWithEvents(150);
    EXPECT_EQ(dispatched, (std::vector<std::string>{"OK_A", "OK_E", "OK_B", "OK_C", "OK_D"}));
    EXPECT_EQ(exchange.ReceiveFill(), 0) << "nothing left behind";
    EXPECT_GE(deepest, 1);
}

} // namespace
