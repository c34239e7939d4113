#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "shell/world/World.h"

namespace {

// Moves the clock to a time of day from the start (18:00) at ratio 1.
void SetClock(CWorld& world, float seconds) {
    world.HandleCommand(std::cout, "timeratio", {"1"});
    world.AdvanceClock((seconds - world.GetClockSeconds()) * 1000.0f);
}

} // namespace

TEST(WorldClock, StartsAtSixInTheEvening) {
    CWorld world("world");
    const CClockTime time = world.GetClock();
    EXPECT_EQ(time.hours, 18);
    EXPECT_EQ(time.minutes, 0);
    EXPECT_EQ(time.seconds, 0);
    EXPECT_EQ(world.GetTimeRatio(), 120.0f);
    EXPECT_TRUE(world.IsRoomLightOn());
    world.SetRoomLight(false);
    EXPECT_FALSE(world.IsRoomLightOn());

    // One real second is two world minutes.
    world.AdvanceClock(1000.0f);
    EXPECT_FLOAT_EQ(world.GetClockSeconds(), 64920.0f);
}

TEST(WorldClock, AdvanceWrapsBothWays) {
    struct Case {
        const char* what;
        const char* ratio;
        float stepMs;
        float want;
    };
    // From 18:00 (64800 s).
    const Case cases[] = {
        {"past midnight", "120", 200000.0f, 64800.0f + 24000.0f - 86400.0f},
        {"several days", "1", 86400000.0f * 3 + 1000.0f, 64801.0f},
        {"stopped", "0", 50000.0f, 64800.0f},
        {"backwards below zero", "-1", 64801000.0f, 86399.0f},
        {"not a number reads as 0", "abc", 1000.0f, 64800.0f},
        {"infinite ratio keeps the time", "inf", 1000.0f, 64800.0f},
        {"undefined ratio keeps the time", "nan", 1000.0f, 64800.0f},
    };
    for (const Case& c : cases) {
        CWorld world("world");
        EXPECT_TRUE(world.HandleCommand(std::cout, "timeratio", {c.ratio}));
        world.AdvanceClock(c.stepMs);
        EXPECT_NEAR(world.GetClockSeconds(), c.want, 0.01f) << c.what;
        EXPECT_GE(world.GetClockSeconds(), 0.0f) << c.what;
        EXPECT_LT(world.GetClockSeconds(), 86400.0f) << c.what;
    }
}

TEST(WorldClock, JustBelowMidnightNeverReachesFullDay) {
    CWorld world("world");
    SetClock(world, 0.0f);
    EXPECT_EQ(world.GetClockSeconds(), 0.0f);
    // A tiny step backwards lands so close to 86400 that a float rounds to it.
    world.HandleCommand(std::cout, "timeratio", {"-1"});
    world.AdvanceClock(0.0001f);
    EXPECT_LT(world.GetClockSeconds(), 86400.0f);
    EXPECT_LT(world.GetClock().hours, 24);
}

TEST(WorldClock, ClockFields) {
    struct Case {
        float seconds;
        int hours, minutes, secs;
    };
    const Case cases[] = {
        {86399.9f, 23, 59, 59}, {0.0f, 0, 0, 0}, {3599.5f, 0, 59, 59}, {41400.0f, 11, 30, 0}, {54001.0f, 15, 0, 1},
    };
    for (const Case& c : cases) {
        CWorld world("world");
        SetClock(world, c.seconds);
        const CClockTime time = world.GetClock();
        EXPECT_EQ(time.hours, c.hours) << c.seconds;
        EXPECT_EQ(time.minutes, c.minutes) << c.seconds;
        EXPECT_EQ(time.seconds, c.secs) << c.seconds;
    }
}

TEST(WorldClock, SecondsSinceGoesNegativeAfterMidnight) {
    CWorld world("world");
    SetClock(world, 23 * 3600.0f);
    const float stamp = world.GetClockSeconds();
    world.AdvanceClock(2 * 3600 * 1000.0f); // 01:00
    EXPECT_EQ(world.GetClock().hours, 1);
    EXPECT_FLOAT_EQ(world.SecondsSince(stamp), -22 * 3600.0f);
}

TEST(WorldClock, TimeRatioCommand) {
    CWorld world("world");
    std::ostringstream out;
    EXPECT_FALSE(world.HandleCommand(out, "timeratio", {}));
    EXPECT_EQ(out.str(), "name timeratio value\n");
    EXPECT_EQ(world.GetTimeRatio(), 120.0f);

    out.str("");
    EXPECT_TRUE(world.HandleCommand(out, "timeratio", {"2.5", "ignored"}));
    EXPECT_EQ(world.GetTimeRatio(), 2.5f);
    EXPECT_EQ(out.str(), "");

    EXPECT_FALSE(world.HandleCommand(out, "TimeRatio", {"3"}));
    EXPECT_FALSE(world.HandleCommand(out, "timeratios", {"3"}));
    EXPECT_EQ(world.GetTimeRatio(), 2.5f);
    SelectedObjectName().clear();
    EXPECT_TRUE(world.HandleCommand(out, "select", {}));
    EXPECT_EQ(SelectedObjectName(), "world");
}
