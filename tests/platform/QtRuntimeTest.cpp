#include <gtest/gtest.h>

#include <QCoreApplication>

#include "platform/runtime/QtRuntime.h"

// Real time: these tests assert what happens, never how long it took.

TEST(QtRuntime, TimersTickAndOneShotsFireOnce) {
    QtRuntime rt;
    int ticks = 0;
    int once = 0;
    const auto id = rt.startTimer(5, [&] { ++ticks; });
    rt.callAfter(1, [&] { ++once; });
    while (ticks < 3) {
        rt.waitStep();
    }
    rt.stopTimer(id);
    const int stopped = ticks;
    for (int i = 0; i < 5; ++i) {
        rt.waitStep();
    }
    EXPECT_EQ(ticks, stopped);
    EXPECT_EQ(once, 1);
}

TEST(QtRuntime, ATimerMayStopItselfInItsTick) {
    QtRuntime rt;
    int ticks = 0;
    Runtime::TimerId id = 0;
    id = rt.startTimer(1, [&] {
        ++ticks;
        rt.stopTimer(id);
    });
    while (ticks == 0) {
        rt.waitStep();
    }
    for (int i = 0; i < 3; ++i) {
        rt.waitStep();
    }
    EXPECT_EQ(ticks, 1);
}

TEST(QtRuntime, IdleWaitStepReturnsAndTheClockMovesOn) {
    QtRuntime rt;
    const double start = rt.now();
    while (rt.now() == start) {
        rt.waitStep();  // would hang for ever if an idle wait never returned
    }
    EXPECT_GT(rt.now(), start);
}

TEST(QtRuntime, NestedWaitStepsInsideATimerReturn) {
    QtRuntime rt;
    int inner = 0;
    bool done = false;
    rt.callAfter(1, [&] {
        for (int i = 0; i < 3; ++i) {
            rt.waitStep();
            ++inner;
        }
        done = true;
    });
    while (!done) {
        rt.waitStep();
    }
    EXPECT_EQ(inner, 3);
}

TEST(QtRuntime, PostedCallsRunInOrderFromTheEventLoop) {
    QtRuntime rt;
    QStringList order;
    rt.post([&] { order << "1"; });
    rt.post([&] { order << "2"; });
    EXPECT_TRUE(order.isEmpty());
    rt.yield();
    EXPECT_EQ(order, QStringList({"1", "2"}));
}

TEST(QtRuntime, QuitRequestedBeforeTheLoopStartsEndsRunAtOnce) {
    QtRuntime rt;
    rt.requestQuit();
    EXPECT_TRUE(rt.quitRequested());
    EXPECT_EQ(rt.run(), 0);
    rt.yield();  // the posted exit() finds no loop and does nothing
}

TEST(QtRuntime, QuitFromInsideTheLoopEndsRun) {
    QtRuntime rt;
    rt.callAfter(1, [&] {
        // A loop that waits inside the event loop notices the stop at its next step.
        while (!rt.quitRequested()) {
            rt.waitStep();
            rt.requestQuit();
        }
    });
    EXPECT_EQ(rt.run(), 0);
}
