#include <gtest/gtest.h>

#include "platform/runtime/VirtualRuntime.h"

TEST(VirtualRuntime, OneShotFiresAtExactlyItsVirtualTime) {
    VirtualRuntime rt;
    double firedAt = -1;
    rt.callAfter(300'000, [&] { firedAt = rt.now(); });
    rt.advance(299.999);
    EXPECT_EQ(firedAt, -1);
    rt.advance(0.001);
    EXPECT_DOUBLE_EQ(firedAt, 300.0);
    EXPECT_EQ(rt.activeTimers(), 0);
}

TEST(VirtualRuntime, WaitStepLoopSeesEveryTickOfARepeatingTimer) {
    VirtualRuntime rt;
    int ticks = 0;
    rt.startTimer(1000, [&] { ++ticks; });
    const double start = rt.now();
    int steps = 0;
    while (rt.now() - start < 10.0) {
        rt.waitStep();
        ++steps;
    }
    EXPECT_EQ(ticks, 10);
    // An idle step moves time by at most 10 ms.
    EXPECT_GE(steps, 1000);
}

TEST(VirtualRuntime, YieldNeverMovesTimeButRunsPostedCallsInOrder) {
    VirtualRuntime rt;
    QStringList order;
    rt.post([&] { order << "a"; });
    rt.post([&] {
        order << "b";
        rt.post([&] { order << "later"; });
    });
    rt.yield();
    EXPECT_EQ(order, QStringList({"a", "b"}));
    EXPECT_EQ(rt.now(), 0.0);
    rt.yield();
    EXPECT_EQ(order.last(), "later");
    EXPECT_EQ(rt.now(), 0.0);
}

TEST(VirtualRuntime, NestedWaitsKeepTimeMonotonicAndFireEachDueTimerOnce) {
    VirtualRuntime rt;
    QList<double> seen;
    int fast = 0;
    int slowTicks = 0;
    rt.startTimer(100, [&] {
        ++fast;
        seen << rt.now();
    });
    rt.startTimer(1000, [&] {
        ++slowTicks;
        // The handler itself waits half a second.
        const double start = rt.now();
        while (rt.now() - start < 0.5) {
            rt.waitStep();
            seen << rt.now();
        }
    });
    rt.advance(2.6);
    for (qsizetype i = 1; i < seen.size(); ++i) {
        ASSERT_LE(seen[i - 1], seen[i]) << "time went back at step " << i;
    }
    EXPECT_EQ(slowTicks, 2);
    // 100 ms ticks from 0.1 s to 2.6 s, each exactly once, those inside the nested
    // waits of the slow handler (1.0 to 1.5 s and 2.0 to 2.5 s) included.
    EXPECT_EQ(fast, 26);
}

TEST(VirtualRuntime, StoppedTimersAndCancelledCallsNeverFire) {
    VirtualRuntime rt;
    int fired = 0;
    const auto id = rt.callAfter(50, [&] { ++fired; });
    Runtime::TimerId self = 0;
    self = rt.startTimer(10, [&] {
        ++fired;
        rt.stopTimer(self);  // stopping a timer inside its own tick
    });
    rt.stopTimer(id);
    rt.advance(1.0);
    EXPECT_EQ(fired, 1);
}

TEST(VirtualRuntime, QuitInsideALongDelayEndsTheLoopAtItsNextStep) {
    VirtualRuntime rt;
    int hooks = 0;
    rt.addQuitHook([&] { ++hooks; });
    rt.callAfter(5'000, [&] { rt.requestQuit(); });
    const double start = rt.now();
    int stepsAfterQuit = 0;
    while (rt.now() - start < 120.0) {
        if (rt.quitRequested()) {
            break;
        }
        rt.waitStep();
        if (rt.quitRequested()) {
            ++stepsAfterQuit;
        }
    }
    EXPECT_TRUE(rt.quitRequested());
    EXPECT_EQ(stepsAfterQuit, 1);
    EXPECT_NEAR(rt.now(), 5.0, 0.011);
    rt.requestQuit();
    EXPECT_EQ(hooks, 1) << "hooks run once";
}

TEST(VirtualRuntime, WaitUntilStopsAtTheConditionOrTheLimit) {
    VirtualRuntime rt;
    bool flag = false;
    rt.callAfter(2'000, [&] { flag = true; });
    EXPECT_TRUE(rt.waitUntil([&] { return flag; }, 10));
    EXPECT_NEAR(rt.now(), 2.0, 0.011);
    EXPECT_FALSE(rt.waitUntil([] { return false; }, 3));
    EXPECT_NEAR(rt.now(), 5.0, 0.011);
}

TEST(VirtualRuntime, WallClockFollowsVirtualTime) {
    VirtualRuntime rt(QDateTime(QDate(2026, 3, 1), QTime(23, 59, 59)));
    rt.advance(2);
    EXPECT_EQ(rt.wallClock().date(), QDate(2026, 3, 2));
}
