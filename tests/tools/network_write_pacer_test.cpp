// The paced sending of a write into the network: one command per interval, log lines in
// order (a clearing record's after it went out), the end one interval after the last
// command, and stopping between two commands.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <string>
#include <vector>

#include "network_write/network_write_pacer.h"

namespace {

struct Recorder {
    QElapsedTimer clock;
    std::vector<std::string> events; // "log ..." and "send <adr> <payload>"
    std::vector<qint64> sendTimes;
    bool portTakes = true;
    int refuseFrom = -1; // the port refuses this send and all after it

    NetworkWritePacer::Send send() {
        return [this](uint8_t adr, const QByteArray &payload) {
            const int index = int(sendTimes.size());
            if (!portTakes || (refuseFrom >= 0 && index >= refuseFrom))
                return false;
            sendTimes.push_back(clock.elapsed());
            events.push_back("send " + std::to_string(adr) + " " + payload.toStdString());
            return true;
        };
    }
    NetworkWritePacer::Log log() {
        return [this](const QString &t) { events.push_back("log " + t.toStdString()); };
    }
};

std::vector<WriteCommand> Commands() {
    return {{250, "SETSETTINGa", "Записываю настройки в ПД", false},
            {240, "SETDEVICEb", "Записываю настройки в БС:240", false},
            {240, "SETZONEc", "Очищаю настройки в БС:240 АЛ:3", true}};
}

// Runs the event loop until the pacer reports its end; the end's outcome and time.
struct End {
    bool seen = false;
    bool completed = false;
    qint64 atMs = 0;
};
End RunToEnd(NetworkWritePacer &pacer, Recorder &rec, int timeoutMs) {
    End end;
    QEventLoop loop;
    QObject::connect(&pacer, &NetworkWritePacer::finished, &loop, [&](bool completed) {
        end = {true, completed, rec.clock.elapsed()};
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (pacer.IsRunning())
        loop.exec();
    return end;
}

TEST(NetworkWritePacer, OneCommandPerIntervalLogLinesInOrderEndAfterOneMorePause) {
    constexpr int kInterval = 60;
    Recorder rec;
    rec.clock.start();
    NetworkWritePacer pacer(rec.send(), rec.log(), kInterval);
    std::vector<std::pair<int, int>> progress;
    QObject::connect(&pacer, &NetworkWritePacer::commandSent, [&](int s, int t) { progress.push_back({s, t}); });

    ASSERT_TRUE(pacer.Start(Commands()));
    // The first command goes out at once, within the call.
    ASSERT_EQ(rec.sendTimes.size(), 1u);
    EXPECT_FALSE(pacer.Start(Commands())) << "a running write is not started twice";

    const End end = RunToEnd(pacer, rec, 5000);
    ASSERT_TRUE(end.seen);
    EXPECT_TRUE(end.completed);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"log Записываю настройки в ПД", "send 250 SETSETTINGa",
                                                    "log Записываю настройки в БС:240", "send 240 SETDEVICEb",
                                                    "send 240 SETZONEc", "log Очищаю настройки в БС:240 АЛ:3"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    // Never faster than the pace; a loaded machine may be later, not earlier.
    for (size_t i = 1; i < rec.sendTimes.size(); ++i)
        EXPECT_GE(rec.sendTimes[i] - rec.sendTimes[i - 1], kInterval - 5) << "command " << i;
    EXPECT_GE(end.atMs - rec.sendTimes.back(), kInterval - 5) << "the last device gets its pause too";
    EXPECT_FALSE(pacer.IsRunning());
}

TEST(NetworkWritePacer, StoppedBetweenTwoCommandsSaysHowFarItGot) {
    Recorder rec;
    rec.clock.start();
    NetworkWritePacer pacer(rec.send(), rec.log(), 40);
    QObject::connect(&pacer, &NetworkWritePacer::commandSent, [&](int sent, int) {
        if (sent == 2)
            pacer.Stop();
    });
    pacer.Start(Commands());
    const End end = RunToEnd(pacer, rec, 5000);
    EXPECT_TRUE(end.seen);
    EXPECT_FALSE(end.completed);
    EXPECT_EQ(rec.sendTimes.size(), 2u);
    EXPECT_EQ(rec.events.back(), "log Запись в TALVIK остановлена: отправлено команд 2 из 3");
    // Stopping again, or after the end, says nothing more.
    const size_t lines = rec.events.size();
    pacer.Stop();
    EXPECT_EQ(rec.events.size(), lines);
}

TEST(NetworkWritePacer, APortThatRefusesEndsTheWrite) {
    Recorder rec;
    rec.clock.start();
    rec.refuseFrom = 1;
    NetworkWritePacer pacer(rec.send(), rec.log(), 30);
    bool completed = true;
    QObject::connect(&pacer, &NetworkWritePacer::finished, [&](bool c) { completed = c; });
    pacer.Start(Commands());
    RunToEnd(pacer, rec, 5000);
    EXPECT_FALSE(completed);
    EXPECT_EQ(rec.sendTimes.size(), 1u);
    EXPECT_EQ(rec.events.back(), "log Запись в TALVIK прервана, COM порт не принял команду: отправлено команд 1 из 3");
}

} // namespace
