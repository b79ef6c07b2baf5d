// The progress window of long paced jobs: what it shows as the job goes on, and that the
// stop request reaches the job once, whether by the button or by closing the window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include "progress_window.h"

namespace {

struct ProgressRow {
    const char *name;
    int total;
    int stepMs;
    int done;
    const char *doneText;
    const char *secondsLeft;
    int barValue;
};

TEST(ProgressWindow, ShowsStepsDoneAndSecondsLeft) {
    const ProgressRow rows[] = {
        {"nothing done yet", 18, 1000, 0, "Отправлено команд: 0 из 18", "Осталось секунд: 18", 0},
        {"part way", 205, 1000, 5, "Отправлено команд: 5 из 205", "Осталось секунд: 200", 5},
        {"all done", 18, 1000, 18, "Отправлено команд: 18 из 18", "Осталось секунд: 0", 18},
        {"a part second rounds up", 3, 1500, 2, "Отправлено команд: 2 из 3", "Осталось секунд: 2", 2},
        {"more than the total is the total", 4, 1000, 9, "Отправлено команд: 4 из 4", "Осталось секунд: 0", 4},
        {"no steps shows a full bar", 0, 1000, 0, "Отправлено команд: 0 из 0", "Осталось секунд: 0", 1},
    };
    for (const ProgressRow &r : rows) {
        SCOPED_TRACE(r.name);
        TfrProgress w;
        w.Start("Запись", r.total, r.stepMs, "Отправлено команд");
        w.SetDone(r.done);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.windowTitle(), "Запись");
        EXPECT_EQ(w.findChild<QLabel *>("lbDone")->text(), QString(r.doneText));
        EXPECT_EQ(w.findChild<QLabel *>("lbSecondsLeft")->text(), QString(r.secondsLeft));
        EXPECT_EQ(w.findChild<QProgressBar *>("pbProgress")->value(), r.barValue);
    }
}

TEST(ProgressWindow, StopIsRequestedOnceByTheButtonOrByClosing) {
    TfrProgress w;
    QSignalSpy stop(&w, &TfrProgress::stopRequested);
    auto *bt = w.findChild<QPushButton *>("btStop");
    ASSERT_NE(bt, nullptr);
    EXPECT_EQ(bt->text(), "Остановить");
    EXPECT_FALSE(w.findChild<QProgressBar *>("pbProgress")->accessibleName().isEmpty());

    w.Start("Запись", 5, 1000);
    EXPECT_EQ(w.DoneText(), "Выполнено: 0 из 5");
    bt->click();
    bt->click();
    w.close();
    EXPECT_EQ(stop.count(), 1) << "the job hears one stop, however often the user insists";

    // A new job may be stopped again, here by the window's frame.
    w.Start("Запись", 5, 1000);
    w.close();
    EXPECT_EQ(stop.count(), 2);

    // Once the job is over, closing is only closing.
    w.Start("Запись", 5, 1000);
    w.Finish();
    EXPECT_FALSE(w.isVisible());
    w.close();
    EXPECT_EQ(stop.count(), 2);
}

} // namespace
