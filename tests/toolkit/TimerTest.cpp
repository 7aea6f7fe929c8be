// The component timer: when it runs, how it ticks, and that restarting resets the count.
#include "Timer.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Timer, RunsOnlyWhenEnabledWithIntervalAndHandler) {
    struct Case {
        bool enabled;
        unsigned interval;
        bool handler;
        bool running;
    };
    const Case cases[] = {
        {true, 100, true, true},   {false, 100, true, false}, {true, 0, true, false},
        {true, 100, false, false}, {false, 0, false, false},
    };
    for (const Case& c : cases) {
        TTimer timer;
        timer.SetEnabled(c.enabled);
        timer.SetInterval(c.interval);
        if (c.handler)
            timer.SetOnTimer([](QObject*) {});
        EXPECT_EQ(timer.Running(), c.running) << c.enabled << " " << c.interval << " " << c.handler;
    }
    TTimer fresh;
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_EQ(fresh.Interval(), 1000u);
}

TEST(Timer, TicksThroughTheEventLoopWithItselfAsSender) {
    TTimer timer;
    int ticks = 0;
    QObject* sender = nullptr;
    timer.SetInterval(10);
    timer.SetOnTimer([&](QObject* s) {
        ++ticks;
        sender = s;
    });
    EXPECT_EQ(ticks, 0); // nothing happens before the loop runs
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 5000);
    EXPECT_EQ(sender, &timer);
    timer.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(50);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, ChangingTheIntervalRestartsTheCount) {
    TTimer timer;
    int ticks = 0;
    QElapsedTimer clock;
    qint64 tickedAt = -1;
    timer.SetInterval(300);
    timer.SetOnTimer([&](QObject*) {
        if (ticks++ == 0)
            tickedAt = clock.elapsed();
    });
    QTest::qWait(200);
    clock.start();
    timer.SetInterval(400); // the first tick now comes 400 ms from here, not 100 ms
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 5000);
    EXPECT_GE(tickedAt, 390);
}

} // namespace
