// The screen-saver logo's timing: the first showing after 10 s and then one
// every 30 s, the fade over its 600 frames, and its place on screens of
// several sizes.
#include <gtest/gtest.h>

#include "shell/indicator/IndicatorSchedule.h"

namespace {

TEST(IndicatorSchedule, FirstShowingAfterTenSecondsThenEveryThirty) {
    CIndicatorSchedule schedule;
    std::vector<int> showings;
    for (int update = 1; update <= 8000; ++update) {
        if (schedule.Step(10.0f))
            showings.push_back(update);
    }
    // The timer is checked before it is counted down, so a showing starts
    // in the update after the timer passed below zero.
    EXPECT_EQ(showings, (std::vector<int>{1002, 4003, 7004}));
}

TEST(IndicatorSchedule, LongStepsStillShowOnceAPeriod) {
    CIndicatorSchedule schedule;
    EXPECT_FALSE(schedule.Step(20000.0f));
    EXPECT_TRUE(schedule.Step(20000.0f));
    EXPECT_FLOAT_EQ(schedule.GetTimer(), 10000.0f);
    EXPECT_FALSE(schedule.Step(20000.0f));
    EXPECT_TRUE(schedule.Step(20000.0f));
}

TEST(IndicatorLogoAlpha, FadesInHoldsAndFadesOut) {
    struct Case {
        float frame;
        int length;
        float alpha;
    };
    const Case cases[] = {
        {0.0f, 600, 0.0f},   {65.0f, 600, 0.5f},  {129.0f, 600, 129.0f / 130.0f},
        {130.0f, 600, 1.0f}, {300.0f, 600, 1.0f}, {539.0f, 600, 1.0f},
        {540.0f, 600, 1.0f}, {570.0f, 600, 0.5f}, {599.0f, 600, 1.0f / 60.0f},
        {600.0f, 700, 0.0f}, {650.0f, 700, 0.0f}, {665.0f, 600, 0.5f}, // taken modulo the length
        {-10.0f, 600, 0.0f}, {65.0f, 0, 0.5f},                         // no length: the time as it is
    };
    for (const Case& c : cases)
        EXPECT_NEAR(IndicatorLogoAlpha(c.frame, c.length), c.alpha, 1e-5f) << c.frame << " of " << c.length;
}

TEST(IndicatorPlacement, LowerLeftCornerScaledWithTheWidth) {
    struct Case {
        int width, height;
        float x, y, scale;
    };
    const Case cases[] = {
        {640, 480, -29000.0f, -21000.0f, 75.0f},
        {1280, 1024, -58000.0f, -45800.0f, 150.0f},
        {800, 600, -36250.0f, -26250.0f, 93.75f},
    };
    for (const Case& c : cases) {
        IndicatorPlacement p = PlaceIndicatorLogo(c.width, c.height);
        EXPECT_NEAR(p.translation.x, c.x, 0.5f) << c.width;
        EXPECT_NEAR(p.translation.y, c.y, 0.5f) << c.width;
        EXPECT_FLOAT_EQ(p.translation.z, -200.0f);
        EXPECT_NEAR(p.scale, c.scale, 1e-3f) << c.width;
    }
}

} // namespace
