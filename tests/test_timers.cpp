#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/manual_timers.h"

namespace {
TEST(ManualClock, TicksComeInTimeOrderAcrossWindowsAndFollowRestarts)
{
    ManualClock clock;
    std::vector<std::string> ticks;
    ManualTimers main(clock, [&](TimerId id) { ticks.push_back("main " + std::to_string(id) + " @" + std::to_string(clock.now())); });
    ManualTimers panel(clock, [&](TimerId id) { ticks.push_back("panel " + std::to_string(id) + " @" + std::to_string(clock.now())); });

    main.start(1000, 300);
    panel.start(1000, 200);
    clock.advance(250);
    main.start(1000, 300);  // restarted: its next tick moves to 550
    clock.advance(350);
    EXPECT_EQ(ticks, (std::vector<std::string>{"panel 1000 @200", "panel 1000 @400", "main 1000 @550",
                                                "panel 1000 @600"}));
    EXPECT_EQ(clock.now(), 600u);
}

TEST(ManualClock, ATickMayStopOrRestartItsOwnTimer)
{
    ManualClock clock;
    ManualTimers timers(clock);
    int seekTicks = 0;
    timers.setTick([&](TimerId id) {
        if (id == 1003)
            timers.stop(1003);
        if (id == 1001 && ++seekTicks < 3)
            timers.start(1001, 100 - 10 * seekTicks);
    });
    timers.start(1003, 1000);
    timers.start(1001, 100);
    clock.advance(5000);
    EXPECT_EQ(timers.ticks(1003), 1);
    EXPECT_FALSE(timers.isRunning(1003));
    // 100, then 90, then 80 with the timer left running at that period.
    EXPECT_EQ(timers.period(1001), 80u);
    EXPECT_GT(timers.ticks(1001), 3);
}

TEST(ManualClock, PeriodsBelowTheMinimumAreRaised)
{
    ManualClock clock;
    ManualTimers timers(clock);
    timers.start(7, 0);
    EXPECT_EQ(timers.period(7), kMinimumTimerPeriod);
    timers.fire(7);
    timers.fire(8);  // not running: no tick
    EXPECT_EQ(timers.ticks(7), 1);
    EXPECT_EQ(timers.ticks(8), 0);
}
}  // namespace
