#include <gtest/gtest.h>

#include <cmath>

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
// NaN equals NaN here; anything else must match exactly.
void ExpectSameFloat(float got, float want, const char* what, int row) {
    if (std::isnan(want))
        EXPECT_TRUE(std::isnan(got)) << what << " row " << row << ": " << got;
    else
        EXPECT_EQ(got, want) << what << " row " << row;
}

TEST(KeyframeDataTest, HostileInputsGiveTheirArithmeticResults) {
    AnimRegistry r;
    CKeyframeData empty("empty");
    EXPECT_EQ(empty.Sample(3.0f), 0.0f);
    EXPECT_EQ(empty.GetDuration(), 0.0f);
    float acc = 5.0f;
    empty.AccumulateAngle(acc, 0.0f, 1.0f, true, 1.0f); // 0 lies more than a half turn below 5
    EXPECT_FLOAT_EQ(acc, 5.0f + 6.283184f);
    empty.AccumulateStep(acc, 0.0f, 1.0f, true);
    EXPECT_EQ(acc, 0.0f);

    CKeyframeData zero("zero");
    zero.AppendKey(0.0f, 5.0f, 3.0f);
    zero.AppendKey(0.0f, 5.0f, 4.0f);
    EXPECT_EQ(zero.Sample(0.0f), 4.0f); // both keys start at 0: the later one, without dividing by its length
    EXPECT_EQ(zero.Sample(-1.0f), 3.0f);
    EXPECT_EQ(zero.Sample(1.0f), 4.0f);
    EXPECT_EQ(zero.GetDuration(), 0.0f);

    // One flat key (change 0) of the given length and value. Each operation
    // starts from the same accumulator, with weight 0.5 and add set: linear
    // gives acc + sample / 2, step gives the sample, angle gives acc + the
    // sample shifted near acc / total by whole turns, halved. Infinities and
    // NaN go through as the arithmetic carries them (0 × ∞ is NaN); a length
    // that is 0 or not finite is never divided by. NEAR: the shifted sample
    // lies within half a turn of the reference, its exact value being lost to
    // float precision.
    const float NEAR = 12345.0f;
    const float HALF_HUGE = 0.5f * 1e30f;
    struct Case {
        float keyValue, keyLength, time, accumulator, totalWeight;
        float sample, linear, angle;
    };
    const Case cases[] = {
        {INF, 1.0f, 0.0f, 0.0f, 1.0f, INF, INF, INF},
        {-INF, 1.0f, 0.0f, 1.0f, 1.0f, -INF, -INF, -INF},
        {NOT_A_NUMBER, 1.0f, 0.0f, 1.0f, 1.0f, NOT_A_NUMBER, NOT_A_NUMBER, NOT_A_NUMBER},
        {1e30f, 1.0f, 0.0f, 0.0f, 1.0f, 1e30f, HALF_HUGE, NEAR},
        {-1e30f, 1.0f, 0.0f, 1e-3f, 1.0f, -1e30f, 1e-3f - HALF_HUGE, NEAR},
        {1.0f, 1.0f, INF, 0.0f, 1.0f, NOT_A_NUMBER, NOT_A_NUMBER, NOT_A_NUMBER},
        {1.0f, 1.0f, NOT_A_NUMBER, 0.0f, 1.0f, NOT_A_NUMBER, NOT_A_NUMBER, NOT_A_NUMBER},
        {1.0f, INF, 0.0f, 0.0f, 1.0f, 1.0f, 0.5f, 0.5f},
        {1.0f, NOT_A_NUMBER, 5.0f, 0.0f, 1.0f, 1.0f, 0.5f, 0.5f},
        // Total weight 0: the reference is infinite, so no turn is taken off.
        {1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.5f, 1.5f},
        {1.0f, 1.0f, 0.0f, INF, 1.0f, 1.0f, INF, INF},
        {1.0f, 1.0f, 0.0f, NOT_A_NUMBER, 1.0f, 1.0f, NOT_A_NUMBER, NOT_A_NUMBER},
        // Near -1e30 the only float within half a turn is -1e30 itself.
        {1e30f, 1.0f, 0.0f, -1e30f, 1.0f, 1e30f, -1e30f + HALF_HUGE, -1e30f - HALF_HUGE},
    };
    int row = 0;
    for (const Case& c : cases) {
        ++row;
        CKeyframeData data("hostile");
        data.AppendKey(c.keyLength, 0.0f, c.keyValue);
        ExpectSameFloat(data.Sample(c.time), c.sample, "sample", row);
        float a = c.accumulator;
        data.AccumulateLinear(a, c.time, 0.5f, true);
        ExpectSameFloat(a, c.linear, "linear", row);
        a = c.accumulator;
        data.AccumulateStep(a, c.time, 0.5f, true);
        ExpectSameFloat(a, c.sample, "step", row);
        a = c.accumulator;
        data.AccumulateAngle(a, c.time, 0.5f, true, c.totalWeight);
        if (c.angle == NEAR) {
            float shifted = (a - c.accumulator) / 0.5f;
            float reference = c.accumulator / c.totalWeight;
            EXPECT_GT(shifted, reference - 3.141593f) << "angle row " << row;
            EXPECT_LE(shifted, reference + 3.141593f) << "angle row " << row;
        } else {
            ExpectSameFloat(a, c.angle, "angle", row);
        }
        ExpectSameFloat(data.GetDuration(), c.keyLength, "duration", row);
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
