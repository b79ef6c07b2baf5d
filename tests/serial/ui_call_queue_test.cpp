// The worker-to-UI call: runs on the owner's thread, blocks the worker until it ran,
// and can be served from a wait on the UI thread.
#include "ui_call_queue.h"

#include <QCoreApplication>
#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(UiCallQueue, CallRunsOnOwnerThreadAndReturnsAfterIt) {
    QObject owner;
    UiCallQueue queue(&owner);
    std::atomic<bool> returned{false};
    std::thread::id ranOn;
    std::thread worker([&] {
        queue.Call([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 3000));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(UiCallQueue, ServeUntilRunsCallsWithoutTheEventLoop) {
    QObject owner;
    UiCallQueue queue(&owner);
    std::atomic<bool> finished{false};
    int runs = 0;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            queue.Call([&] { ++runs; });
        finished = true;
        queue.Wake();
    });
    queue.ServeUntil([&] { return finished.load(); });
    worker.join();
    EXPECT_EQ(runs, 3);
    QCoreApplication::processEvents(); // the posted wake finds nothing left to run
    EXPECT_EQ(runs, 3);
}

TEST(UiCallQueue, WaitInsideACallReleasesTheCallerFirst) {
    QObject owner;
    UiCallQueue queue(&owner);
    std::atomic<bool> finished{false};
    bool served = false;
    std::thread worker([&] {
        queue.Call([&] {
            // The handler waits for the very worker that asked for it.
            queue.ServeUntil([&] { return finished.load(); });
            served = true;
        });
        finished = true;
        queue.Wake();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return served; }, 3000));
    worker.join();
}

} // namespace
