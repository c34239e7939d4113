#include <gtest/gtest.h>

#include "shell/lighting/LightPresets.h"
#include "shell/world/DayBlend.h"

namespace {

struct Case {
    int h, m, s;
    bool roomLight;
    float sky[3];
    float window[3];
    int presetA;
    float weightA;
    int presetB;
    float weightB;
};

// Each band, the first and last second of each fade, and the room light.
const Case CASES[] = {
    {7, 0, 0, true, {1, 0, 0}, {1, 0, 0}, LP_MORNING, 1, LP_AFTERNOON, 0},
    {10, 59, 59, true, {1, 0, 0}, {1, 0, 0}, LP_MORNING, 1, LP_AFTERNOON, 0},
    {11, 0, 0, true, {1, 0, 0}, {1, 0, 0}, LP_MORNING, 1, LP_AFTERNOON, 0},
    {11, 30, 0, true, {1, 0, 0}, {1, 0, 0}, LP_MORNING, 0.5f, LP_AFTERNOON, 0.5f},
    {12, 0, 0, true, {1, 0, 0}, {1, 0, 0}, LP_AFTERNOON, 1, LP_EVENING, 0},
    {14, 10, 0, false, {1, 0, 0}, {1, 0, 0}, LP_AFTERNOON, 1, LP_EVENING, 0},
    {15, 0, 0, true, {1, 0, 0}, {1, 0, 0}, LP_AFTERNOON, 1, LP_EVENING, 0},
    {15,
     0,
     1,
     true,
     {1, 1 / 3600.0f, 0},
     {1 - 1 / 3600.0f, 1, 0},
     LP_AFTERNOON,
     1 - 1 / 3600.0f,
     LP_EVENING,
     1 / 3600.0f},
    {15, 45, 0, true, {1, 0.75f, 0}, {0.25f, 1, 0}, LP_AFTERNOON, 0.25f, LP_EVENING, 0.75f},
    {16, 0, 0, true, {0, 1, 0}, {0, 1, 0}, LP_EVENING, 1, LP_NIGHT_LIGHT_ON, 0},
    {17, 30, 0, true, {0, 1, 0.5f}, {0, 1, 0.5f}, LP_EVENING, 0.5f, LP_NIGHT_LIGHT_ON, 0.5f},
    // The evening fade goes to the lit night even with the light off.
    {17, 30, 0, false, {0, 1, 0.5f}, {0, 1, 0.5f}, LP_EVENING, 0.5f, LP_NIGHT_LIGHT_ON, 0.5f},
    {18, 0, 0, true, {0, 0, 1}, {0, 0, 1}, LP_NIGHT_LIGHT_ON, 1, LP_MORNING, 0},
    {18, 0, 0, false, {0, 0, 1}, {0, 0, 1}, LP_NIGHT_LIGHT_OFF, 1, LP_MORNING, 0},
    {23, 0, 0, true, {0, 0, 1}, {0, 0, 1}, LP_NIGHT_LIGHT_ON, 1, LP_MORNING, 0},
    {0, 0, 0, false, {0, 0, 1}, {0, 0, 1}, LP_NIGHT_LIGHT_OFF, 1, LP_MORNING, 0},
    {6, 0, 0, true, {0, 0, 1}, {0, 0, 1}, LP_NIGHT_LIGHT_ON, 1, LP_MORNING, 0},
    {6,
     0,
     1,
     true,
     {1, 0, 1 - 1 / 3600.0f},
     {1 / 3600.0f, 0, 1},
     LP_NIGHT_LIGHT_ON,
     1 - 1 / 3600.0f,
     LP_MORNING,
     1 / 3600.0f},
    {6, 30, 0, true, {1, 0, 0.5f}, {0.5f, 0, 1}, LP_NIGHT_LIGHT_ON, 0.5f, LP_MORNING, 0.5f},
    {6, 30, 0, false, {1, 0, 0.5f}, {0.5f, 0, 1}, LP_NIGHT_LIGHT_OFF, 0.5f, LP_MORNING, 0.5f},
    {6,
     59,
     59,
     true,
     {1, 0, 1 / 3600.0f},
     {1 - 1 / 3600.0f, 0, 1},
     LP_NIGHT_LIGHT_ON,
     1 / 3600.0f,
     LP_MORNING,
     1 - 1 / 3600.0f},
    // Hours read modulo a day.
    {30, 30, 0, true, {1, 0, 0.5f}, {0.5f, 0, 1}, LP_NIGHT_LIGHT_ON, 0.5f, LP_MORNING, 0.5f},
    {-13, 0, 0, true, {1, 0, 0}, {1, 0, 0}, LP_MORNING, 1, LP_AFTERNOON, 0},
};

TEST(DayBlend, WeightsAndPresetsByTheHour) {
    for (const Case& c : CASES) {
        SCOPED_TRACE(testing::Message() << c.h << ":" << c.m << ":" << c.s << (c.roomLight ? " on" : " off"));
        const DayBlend b = BlendForClock(CClockTime{c.h, c.m, c.s}, c.roomLight);
        for (int i = 0; i < DP_COUNT; ++i) {
            EXPECT_NEAR(b.sky[i], c.sky[i], 1e-6f) << "sky " << i;
            EXPECT_NEAR(b.window[i], c.window[i], 1e-6f) << "window " << i;
        }
        EXPECT_EQ(b.presetA, c.presetA);
        EXPECT_NEAR(b.weightA, c.weightA, 1e-6f);
        EXPECT_EQ(b.presetB, c.presetB);
        EXPECT_NEAR(b.weightB, c.weightB, 1e-6f);
    }
}

TEST(DayBlend, PresetWeightsSumToOneThroughTheDay) {
    for (int second = 0; second < 86400; second += 37) {
        const DayBlend b = BlendForClock(CClockTime{second / 3600, second / 60 % 60, second % 60}, true);
        ASSERT_NEAR(b.weightA + b.weightB, 1.0f, 1e-6f) << second;
        ASSERT_GE(b.weightA, 0.0f) << second;
        ASSERT_GE(b.weightB, 0.0f) << second;
        // Some sky always shows.
        ASSERT_GT(b.sky[DP_DAY] + b.sky[DP_EVENING] + b.sky[DP_NIGHT], 0.0f) << second;
    }
}

} // namespace
