#include <gtest/gtest.h>

#include "engine/anim/KeyframeData.h"
#include "tests/engine/anim/AnimTestTarget.h"

TEST(KeyframeDataTest, KeysLieEndToEndAndSampleBisects) {
    AnimRegistry r;
    CKeyframeData data("curve");
    data.AppendKey(10.0f, 10.0f, 0.0f);    // 0..10: 0 -> 10
    data.AppendKey(20.0f, -20.0f, 100.0f); // 10..30: 100 -> 80
    data.AppendKey(5.0f, 5.0f, 7.0f);      // 30..35: 7 -> 12

    ASSERT_EQ(data.GetKeys().size(), 3u);
    EXPECT_EQ(data.GetKeys()[1].start, 10.0f);
    EXPECT_EQ(data.GetKeys()[2].start, 30.0f);
    EXPECT_FLOAT_EQ(data.GetDuration(), 35.0f);

    struct Case {
        float time, expected;
    };
    const Case cases[] = {
        {0.0f, 0.0f},   {5.0f, 5.0f},  {10.0f, 100.0f}, {20.0f, 90.0f},
        {30.0f, 7.0f},  {32.5f, 9.5f}, {35.0f, 12.0f},  {-5.0f, -5.0f}, // before the first key: its line extended
        {45.0f, 22.0f},                                                 // after the last key: its line extended
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(data.Sample(c.time), c.expected) << "t=" << c.time;
}

TEST(KeyframeDataTest, SingleKeyExtendsBothWays) {
    AnimRegistry r;
    CKeyframeData data("one");
    data.AppendKey(8.0f, 4.0f, 2.0f);
    EXPECT_FLOAT_EQ(data.Sample(-3.0f), 0.5f);
    EXPECT_FLOAT_EQ(data.Sample(4.0f), 4.0f);
    EXPECT_FLOAT_EQ(data.Sample(16.0f), 10.0f);
}

TEST(KeyframeDataTest, AccumulateOperations) {
    AnimRegistry r;
    CKeyframeData data("flat");
    data.AppendKey(10.0f, 0.0f, 4.0f);

    float acc = 100.0f;
    data.AccumulateLinear(acc, 1.0f, 0.5f, false);
    EXPECT_FLOAT_EQ(acc, 2.0f);
    data.AccumulateLinear(acc, 1.0f, 0.25f, true);
    EXPECT_FLOAT_EQ(acc, 3.0f);

    acc = 9.0f;
    data.AccumulateStep(acc, 0.0f, 0.4f, true);
    EXPECT_FLOAT_EQ(acc, 9.0f); // below one half: unchanged
    data.AccumulateStep(acc, 0.0f, 0.5f, true);
    EXPECT_FLOAT_EQ(acc, 4.0f);
    data.AccumulateStep(acc, 0.0f, 0.5f, false);
    EXPECT_FLOAT_EQ(acc, 2.0f);
}

TEST(KeyframeDataTest, AngleAccumulationTakesTheNearTurn) {
    AnimRegistry r;
    CKeyframeData minus3("minus3");
    minus3.AppendKey(1.0f, 0.0f, -3.0f);
    CKeyframeData plus3("plus3");
    plus3.AppendKey(1.0f, 0.0f, 3.0f);

    // 3.0 already held with weight 0.5 (acc 1.5); -3.0 joins with 0.5.
    float acc = 1.5f;
    minus3.AccumulateAngle(acc, 0.0f, 0.5f, true, 1.0f);
    EXPECT_NEAR(acc, 1.5f + 0.5f * 3.283184f, 1e-5f);

    // The other way round: 3.0 joins -3.0 and is shifted down a turn.
    acc = -1.5f;
    plus3.AccumulateAngle(acc, 0.0f, 0.5f, true, 1.0f);
    EXPECT_NEAR(acc, -1.5f + 0.5f * (3.0f - 6.283184f), 1e-5f);
}

// Curves and accumulations that are not valid must still answer at once,
// without a hang, an out-of-bounds read or a trap.
TEST(KeyframeDataTest, HostileInputsFinish) {
    AnimRegistry r;
    CKeyframeData empty("empty");
    EXPECT_EQ(empty.Sample(3.0f), 0.0f);
    EXPECT_EQ(empty.GetDuration(), 0.0f);
    float acc = 5.0f;
    empty.AccumulateAngle(acc, 0.0f, 1.0f, true, 1.0f);
    empty.AccumulateStep(acc, 0.0f, 1.0f, true);
    EXPECT_EQ(acc, 0.0f);

    CKeyframeData zero("zero");
    zero.AppendKey(0.0f, 5.0f, 3.0f);
    zero.AppendKey(0.0f, 5.0f, 4.0f);
    EXPECT_TRUE(std::isfinite(zero.Sample(0.0f)));
    EXPECT_EQ(zero.Sample(1.0f), 4.0f);
    EXPECT_EQ(zero.GetDuration(), 0.0f);

    struct Case {
        float keyValue, keyLength, time, accumulator, totalWeight;
    };
    const Case cases[] = {
        {INF, 1.0f, 0.0f, 0.0f, 1.0f},          {-INF, 1.0f, 0.0f, 1.0f, 1.0f},
        {NOT_A_NUMBER, 1.0f, 0.0f, 1.0f, 1.0f}, {1e30f, 1.0f, 0.0f, 0.0f, 1.0f},
        {-1e30f, 1.0f, 0.0f, 1e-3f, 1.0f},      {1.0f, 1.0f, INF, 0.0f, 1.0f},
        {1.0f, 1.0f, NOT_A_NUMBER, 0.0f, 1.0f}, {1.0f, INF, 0.0f, 0.0f, 1.0f},
        {1.0f, NOT_A_NUMBER, 0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 0.0f, 1.0f, 0.0f}, // total weight 0: reference is infinite
        {1.0f, 1.0f, 0.0f, INF, 1.0f},          {1.0f, 1.0f, 0.0f, NOT_A_NUMBER, 1.0f},
        {1e30f, 1.0f, 0.0f, -1e30f, 1.0f},
    };
    for (const Case& c : cases) {
        CKeyframeData data("hostile");
        data.AppendKey(c.keyLength, 0.0f, c.keyValue);
        float a = c.accumulator;
        data.AccumulateAngle(a, c.time, 0.5f, true, c.totalWeight);
        data.AccumulateLinear(a, c.time, 0.5f, true);
        data.AccumulateStep(a, c.time, 0.5f, true);
        (void)data.GetDuration();
    }
}

TEST(KeyframeDataTest, HugeAngleIsReducedNearTheReference) {
    AnimRegistry r;
    CKeyframeData data("huge");
    data.AppendKey(1.0f, 0.0f, 1000.0f);
    float acc = 0.5f; // reference 0.5 with total 1
    data.AccumulateAngle(acc, 0.0f, 0.5f, true, 1.0f);
    float shifted = (acc - 0.5f) / 0.5f;
    EXPECT_GT(shifted, 0.5f - 3.141593f);
    EXPECT_LE(shifted, 0.5f + 3.141593f);
    EXPECT_NEAR(std::remainder(shifted - 1000.0f, 6.283184f), 0.0f, 1e-2f);
}
