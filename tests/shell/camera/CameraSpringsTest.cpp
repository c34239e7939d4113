// The spring steps of the automatic camera and the focus speed.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/camera/CameraSprings.h"

namespace {

const float STEP = 16.666666f;

TEST(CameraSpringsTest, ScalarStopsOnlyInsideStopDelta) {
    struct Case {
        float cur, goal, stopDelta;
        bool moves;
    } cases[] = {
        {1205.0f, 1200.0f, 10.0f, false}, // 5 away, inside 10
        {1190.5f, 1200.0f, 10.0f, false}, // 9.5 below
        {1210.0f, 1200.0f, 10.0f, true},  // exactly stopDelta away: still moves
        {1800.0f, 1200.0f, 10.0f, true},  {800.0f, 1200.0f, 10.0f, true},
    };
    for (const Case& c : cases) {
        float cur = c.cur;
        EXPECT_EQ(SpringStepScalar(cur, c.goal, c.goal, STEP, c.stopDelta, 0.0008f, 0.0f, 0.0f), c.moves) << c.cur;
        if (c.moves)
            EXPECT_LT(std::fabs(cur - c.goal), std::fabs(c.cur - c.goal)) << c.cur;
        else
            EXPECT_EQ(cur, c.cur);
    }
}

TEST(CameraSpringsTest, ScalarPullsByTheSpringAndTheGoalsMotion) {
    // From 1800 toward 1200: 600 x 0.0008 per ms over 16.67 ms.
    float cur = 1800.0f;
    SpringStepScalar(cur, 1200.0f, 1200.0f, STEP, 10.0f, 0.0008f, 0.0f, 0.0f);
    EXPECT_NEAR(cur, 1800.0f - 600.0f * 0.0008f * STEP, 1e-3f);

    // Below the goal it pulls upward by the same law.
    cur = 800.0f;
    SpringStepScalar(cur, 1200.0f, 1200.0f, STEP, 10.0f, 0.0008f, 0.0f, 0.0f);
    EXPECT_NEAR(cur, 800.0f + 400.0f * 0.0008f * STEP, 1e-3f);

    // A goal that moved away (prev 1100 -> 1200) adds the damper term.
    cur = 1800.0f;
    SpringStepScalar(cur, 1200.0f, 1100.0f, STEP, 10.0f, 0.0f, 0.001f, 0.0f);
    EXPECT_NEAR(cur, 1800.0f + (-100.0f * STEP * 0.001f) * STEP, 1e-3f);

    // Repeated steps settle inside stopDelta and stay there.
    cur = 2700.0f;
    int steps = 0;
    while (SpringStepScalar(cur, 800.0f, 800.0f, STEP, 10.0f, 0.001f, 0.0f, 0.0f) && steps < 10000)
        ++steps;
    EXPECT_LT(steps, 10000);
    EXPECT_LT(std::fabs(cur - 800.0f), 10.0f);
    EXPECT_GT(cur, 800.0f); // approached without crossing
}

TEST(CameraSpringsTest, VectorMovesAlongTheLineAndRestsAtItsLength) {
    const Vec3 goal(100.0f, 0.0f, -50.0f);
    Vec3 cur(400.0f, 0.0f, 350.0f); // 500 away along (0.6, 0, 0.8)
    ASSERT_TRUE(SpringStepVector(cur, goal, goal, STEP, 65.0f, 0.002f, 0.0f, 60.0f));
    const float moved = (500.0f - 60.0f) * 0.002f * STEP;
    EXPECT_NEAR(cur.x, 400.0f - 0.6f * moved, 1e-3f);
    EXPECT_NEAR(cur.z, 350.0f - 0.8f * moved, 1e-3f);
    EXPECT_FLOAT_EQ(cur.y, 0.0f);

    // Track's values: it comes to rest at tgtStopDelta, not on the point.
    int steps = 0;
    while (SpringStepVector(cur, goal, goal, STEP, 65.0f, 0.002f, 0.0f, 60.0f) && steps < 10000)
        ++steps;
    EXPECT_LT(steps, 10000);
    const float left = std::sqrt((cur.x - goal.x) * (cur.x - goal.x) + (cur.z - goal.z) * (cur.z - goal.z));
    EXPECT_LT(left, 65.0f);
    EXPECT_GT(left, 60.0f);

    // Inside stopDelta nothing changes.
    Vec3 near(goal.x + 3.0f, goal.y, goal.z);
    EXPECT_FALSE(SpringStepVector(near, goal, goal, STEP, 10.0f, 0.002f, 0.0f, 0.0f));
    EXPECT_EQ(near.x, goal.x + 3.0f);
}

TEST(CameraSpringsTest, VectorDamperFollowsAGoalThatMoves) {
    // The goal moved 10 toward +x since the previous update, away from cur.
    const Vec3 goal(0.0f, 0.0f, 0.0f), prevGoal(-10.0f, 0.0f, 0.0f);
    Vec3 cur(-200.0f, 0.0f, 0.0f);
    SpringStepVector(cur, goal, prevGoal, STEP, 1.0f, 0.0f, 0.0002f, 0.0f);
    // d = (-200, 0, 0), v = (-10 * dt, 0, 0): s = 10 dt * 0.0002 pushes cur
    // further along d, so the damper alone moves it by -(s * dt).
    const float s = 10.0f * STEP * 0.0002f;
    EXPECT_NEAR(cur.x, -200.0f - s * STEP, 1e-3f);
}

TEST(CameraSpringsTest, VectorOnItsGoalWithNoStopDistanceStaysFinite) {
    const Vec3 goal(10.0f, 20.0f, 30.0f);
    Vec3 cur = goal;
    EXPECT_FALSE(SpringStepVector(cur, goal, Vec3(0, 0, 0), STEP, 0.0f, 0.002f, 0.0002f, 60.0f));
    EXPECT_EQ(cur.x, 10.0f);
    EXPECT_EQ(cur.y, 20.0f);
    EXPECT_EQ(cur.z, 30.0f);
    EXPECT_FALSE(SpringStepVector(cur, goal, Vec3(0, 0, 0), STEP, -5.0f, 0.002f, 0.0002f, 60.0f));
    EXPECT_TRUE(std::isfinite(cur.x) && std::isfinite(cur.y) && std::isfinite(cur.z));
}

TEST(CameraSpringsTest, HorizontalSpeedIsPerFrameOnTheGroundPlane) {
    struct Case {
        Vec3 a, b;
        float dt, speed;
    } cases[] = {
        {Vec3(3, 0, 4), Vec3(0, 0, 0), STEP, 5.0f},      // 5 units in one frame
        {Vec3(3, 500, 4), Vec3(0, -200, 0), STEP, 5.0f}, // height does not count
        {Vec3(3, 0, 4), Vec3(0, 0, 0), 2 * STEP, 2.5f},  // over two frames
        {Vec3(30, 0, 40), Vec3(0, 0, 0), 0.5f, 0.0f},    // a step under 1 ms
        {Vec3(1, 0, 0), Vec3(1, 0, 0), STEP, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(HorizontalSpeed(c.a, c.b, c.dt), c.speed, 1e-4f) << c.dt;
}

} // namespace
