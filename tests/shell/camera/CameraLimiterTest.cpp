// The room box for the target and the range of the distance.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/camera/CameraLimiter.h"

namespace {

TEST(CameraLimiterTest, ClampsTheTargetIntoTheRoomBoxBoundsIncluded) {
    const CCameraLimiter limiter("limiterTest");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        Vec3 in, out;
        bool untouched;
    } cases[] = {
        {Vec3(0, 0, 0), Vec3(0, 0, 0), true},
        {Vec3(-500, -100, -200), Vec3(-500, -100, -200), true}, // the lower corner itself
        {Vec3(450, 300, 350), Vec3(450, 300, 350), true},       // the upper corner itself
        {Vec3(451, 0, 0), Vec3(450, 0, 0), false},
        {Vec3(-900, 1000, 0), Vec3(-500, 300, 0), false},
        {Vec3(0, -100.5f, 351), Vec3(0, -100, 350), false},
        {Vec3(950, 460, 850), Vec3(450, 300, 350), false}, // the eye is outside the room box
        {Vec3(nan, 0, 0), Vec3(-500, 0, 0), false},        // a NaN does not slip through
    };
    for (const Case& c : cases) {
        Vec3 v = c.in;
        EXPECT_EQ(limiter.ClampTarget(v), c.untouched) << c.in.x << " " << c.in.y << " " << c.in.z;
        EXPECT_EQ(v.x, c.out.x);
        EXPECT_EQ(v.y, c.out.y);
        EXPECT_EQ(v.z, c.out.z);
        EXPECT_EQ(limiter.Contains(c.in), c.untouched);
    }
}

TEST(CameraLimiterTest, ClampsTheDistanceInto800To2700) {
    const CCameraLimiter limiter("limiterTest");
    struct Case {
        float in, out;
        bool untouched;
    } cases[] = {
        {1200, 1200, true}, {800, 800, true},  {2700, 2700, true},  {799.9f, 800, false},
        {0, 800, false},    {-50, 800, false}, {5000, 2700, false},
    };
    for (const Case& c : cases) {
        float d = c.in;
        EXPECT_EQ(limiter.ClampDistance(d), c.untouched) << c.in;
        EXPECT_EQ(d, c.out) << c.in;
    }
}

} // namespace
