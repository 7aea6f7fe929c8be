// SPDX-License-Identifier: MIT
// The component timer: how it ticks, and that restarting resets the count.
#include "Timer.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Ticks come through the event loop with the timer as sender, stop when disabled, and changing
// the interval restarts the count.
TEST(Timer, TicksThroughTheEventLoopAndRestartsOnANewInterval) {
    TTimer timer;
    int ticks = 0;
    QElapsedTimer clock;
    qint64 firstSlowTick = -1;
    timer.SetInterval(10);
    timer.SetOnTimer([&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        if (++ticks == 4)
            firstSlowTick = clock.elapsed();
    });
    EXPECT_EQ(ticks, 0); // nothing happens before the loop runs
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 5000);
    timer.SetEnabled(false);
    ticks = 3;
    QTest::qWait(50);
    EXPECT_EQ(ticks, 3);

    timer.SetInterval(300);
    timer.SetEnabled(true);
    QTest::qWait(200);
    clock.start();
    timer.SetInterval(400); // the next tick now comes 400 ms from here, not 100 ms
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 4, 5000);
    EXPECT_GE(firstSlowTick, 390);
}

} // namespace
