// The ending's smoke puffs: the order in which a rebirth draws its chances,
// and what one step does with a puff's age, place and spin.
#include <gtest/gtest.h>

#include "engine/core/Random.h"
#include "shell/ending/EndingParticle.h"

namespace {

const SmokeEmitter TV_SMOKE = {Vec3(-35.0f, 93.0f, -150.0f), Vec3(35.0f, 93.0f, -150.0f)};

TEST(EndingParticle, RebirthDrawsItsChancesInTheirOrder) {
    // Seed 1 gives 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962,
    // 24464, 5705, ...; the first is thrown away, then place, heading,
    // delay, growth, rotation and spin take one or more each.
    SeedRand(1);
    CEndingParticle puff;
    puff.Respawn(TV_SMOKE);
    EXPECT_NEAR(puff.position.x, -40.453981f, 1e-4f);
    EXPECT_NEAR(puff.position.y, 91.779424f, 1e-4f);
    EXPECT_NEAR(puff.position.z, -143.922031f, 1e-4f);
    EXPECT_NEAR(puff.velocity.x, -0.0063704f, 1e-6f);
    EXPECT_NEAR(puff.velocity.y, 0.0988378f, 1e-6f);
    EXPECT_NEAR(puff.velocity.z, -0.0138025f, 1e-6f);
    EXPECT_FLOAT_EQ(puff.age, -6.982421875f);
    EXPECT_NEAR(puff.growth, 0.0184443f, 1e-6f);
    EXPECT_FLOAT_EQ(puff.rotation, 344.0f);
    EXPECT_FLOAT_EQ(puff.spin, 0.154296875f);
    // Eleven values were drawn.
    EXPECT_EQ(Rand(), 28145);
}

TEST(EndingParticle, EveryRebirthStaysNearTheSegmentHeadsUpAndWaits) {
    SeedRand(7);
    CEndingParticle puff;
    for (int i = 0; i < 2000; ++i) {
        puff.Respawn(TV_SMOKE);
        ASSERT_GE(puff.position.x, -45.0f);
        ASSERT_LE(puff.position.x, 45.0f);
        ASSERT_NEAR(puff.position.y, 93.0f, 10.0001f);
        ASSERT_NEAR(puff.position.z, -150.0f, 10.0001f);
        ASSERT_NEAR(puff.velocity.Length(), 0.1f, 1e-5f);
        ASSERT_GT(puff.velocity.y, 0.08f);
        ASSERT_LT(puff.age, 0.0f);
        ASSERT_GE(puff.age, -10.0f);
        ASSERT_GE(puff.growth, 0.5f * 0.02222f);
        ASSERT_LT(puff.growth, 1.5f * 0.02222f);
        ASSERT_GE(puff.rotation, 0.0f);
        ASSERT_LT(puff.rotation, 360.0f);
        ASSERT_GT(puff.spin, -1.0f);
        ASSERT_LE(puff.spin, 1.0f);
    }
}

TEST(EndingParticle, FreshPuffIsBornAtItsFirstStepAndWaitsUnseen) {
    SeedRand(1);
    CEndingParticle puff;
    EXPECT_FLOAT_EQ(puff.age, 11.0f);
    SmokePuff look = puff.Step(TV_SMOKE);
    EXPECT_NEAR(look.translation.x, -40.453981f, 1e-4f);
    EXPECT_FLOAT_EQ(puff.age, -6.982421875f + puff.growth);
    EXPECT_FLOAT_EQ(look.scale, 0.0001f);
    // While it waits it does not move.
    EXPECT_NEAR(puff.position.x, -40.453981f, 1e-4f);
    EXPECT_NEAR(look.rotation, (344.0f + 0.154296875f) * 0.017453289f, 1e-5f);
}

TEST(EndingParticle, StepAgesTurnsMovesAndFades) {
    struct Case {
        float age;
        float growth;
        float expectScale; // after the step
        bool moves;
        float expectAlpha;
    };
    const Case cases[] = {
        {-0.5f, 0.25f, 0.0001f, false, 1.025f},                                  // still waiting
        {-0.25f, 0.25f, 0.0001f, false, 1.0f},                                   // reaches 0: not shown yet
        {0.0f, 0.25f, 0.25f, true, 0.975f},                                      // shown from above 0
        {4.0f, 1.0f, 5.0f, true, 0.5f},         {9.5f, 0.5f, 10.0f, true, 0.0f}, // at 10 exactly it is not reborn
    };
    for (const Case& c : cases) {
        CEndingParticle puff;
        puff.position = Vec3(1.0f, 2.0f, 3.0f);
        puff.velocity = Vec3(0.0f, 0.1f, 0.0f);
        puff.age = c.age;
        puff.growth = c.growth;
        puff.rotation = 90.0f;
        puff.spin = -1.0f;
        SmokePuff look = puff.Step(TV_SMOKE);
        EXPECT_FLOAT_EQ(look.translation.y, 2.0f) << c.age;
        EXPECT_FLOAT_EQ(puff.position.y, c.moves ? 2.1f : 2.0f) << c.age;
        EXPECT_FLOAT_EQ(look.scale, c.expectScale) << c.age;
        EXPECT_NEAR(look.alpha, c.expectAlpha, 1e-6f) << c.age;
        EXPECT_NEAR(look.rotation, 89.0f * 0.017453289f, 1e-6f) << c.age;
    }
    // Past 10 the next step starts a new life on the segment.
    CEndingParticle old;
    old.age = 10.001f;
    old.position = Vec3(500.0f, 500.0f, 500.0f);
    SeedRand(3);
    old.Step(TV_SMOKE);
    EXPECT_LT(old.age, 0.0f);
    EXPECT_NEAR(old.position.z, -150.0f, 10.0001f);
}

} // namespace
