// The camera body: an eye fixed on the floor plan whose height follows the
// target's ground distance, and a field of view from the distance.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/camera/CameraResource.h"
#include "shell/camera/CameraBody.h"
#include "tests/shell/camera/CameraFixtures.h"

namespace {

TEST(CameraBodyTest, StartsAimedAtTheRoomCentre) {
    CCameraBody body("bodyTest");
    EXPECT_EQ(body.GetView().GetName(), "bodyTest_camera");
    EXPECT_EQ(body.GetEye().x, 950.0f);
    EXPECT_EQ(body.GetEye().z, 850.0f);
    // b = 1274.8: 650000 / b - 50.
    EXPECT_NEAR(body.GetEye().y, 459.9f, 0.05f);
    EXPECT_EQ(body.GetDistance(), 1200.0f);
    EXPECT_EQ(body.GetTarget().x, 0.0f);
    EXPECT_NEAR(body.GetView().GetFovY(), 0.314f, 0.001f);
    EXPECT_NEAR(body.GetView().GetEye().y, 459.9f, 0.05f);
    EXPECT_EQ(body.GetView().GetTarget().z, 0.0f);
    EXPECT_EQ(body.GetMinD(), 500.0f);
    EXPECT_EQ(body.GetDH(), 650000.0f);
    EXPECT_EQ(body.GetH(), -50.0f);
    EXPECT_FLOAT_EQ(body.GetFovYPerDist(), 0.000261799f);
}

TEST(CameraBodyTest, EyeHeightFollowsTheGroundDistanceDownToMinD) {
    CCameraBody body("bodyTest");
    struct Case {
        Vec3 target;
        float eyeHeight;
    } cases[] = {
        {Vec3(-550, 0, -1150), 650000.0f / 2500.0f - 50.0f}, // 1500 x 2000 away: b = 2500
        {Vec3(350, 300, 50), 650000.0f / 1000.0f - 50.0f},   // b = 1000; the target's height does not count
        {Vec3(650, 0, 450), 650000.0f / 500.0f - 50.0f},     // b = 500 exactly
        {Vec3(750, 0, 700), 650000.0f / 500.0f - 50.0f},     // b = 250: held at minD
    };
    for (const Case& c : cases) {
        body.SetTarget(c.target, 1000.0f);
        EXPECT_NEAR(body.GetEye().y, c.eyeHeight, 0.01f) << c.target.x;
        EXPECT_EQ(body.GetEye().x, 950.0f);
        EXPECT_EQ(body.GetEye().z, 850.0f);
        // The view aims at the target from there.
        const Vec3 clip = body.GetView().GetCamera()->ProjectToClip(c.target);
        EXPECT_NEAR(clip.x, 0.0f, 1e-4f);
        EXPECT_NEAR(clip.y, 0.0f, 1e-4f);
    }
}

TEST(CameraBodyTest, DistanceSetsTheFieldOfViewAndTheLensIsKept) {
    CCameraBody body("bodyTest");
    body.SetLens(640.0f / 480.0f, 100.0f, 10000.0f);
    EXPECT_NEAR(body.GetView().GetFovY(), 1200.0f * 0.000261799f, 1e-6f);
    EXPECT_NEAR(body.GetView().GetAspect(), 1.33333f, 1e-5f);
    EXPECT_EQ(body.GetView().GetCamera()->GetFarDistance(), 10000.0f);

    body.SetTarget(Vec3(100, 0, 100), 2700.0f);
    EXPECT_NEAR(body.GetView().GetFovY(), 0.70686f, 1e-4f); // 40.5 degrees
    EXPECT_NEAR(body.GetView().GetAspect(), 1.33333f, 1e-5f);
    EXPECT_EQ(body.GetView().GetNear(), 100.0f);
    EXPECT_EQ(body.GetView().GetFar(), 10000.0f);
    EXPECT_EQ(body.GetDistance(), 2700.0f);
}

TEST(CameraBodyTest, KeywordsTakeEffectAtTheNextAim) {
    CCameraBody body("bodyKeys");
    bool handled = false;
    EXPECT_EQ(Command("bodyKeys", "dH", {}, &handled), "650000\n");
    EXPECT_TRUE(handled);
    Command("bodyKeys", "h", {"0"});
    Command("bodyKeys", "minD", {"2000"});
    Command("bodyKeys", "fovYPerDist", {"0.0005"});
    // Nothing is re-applied at once.
    EXPECT_NEAR(body.GetEye().y, 459.9f, 0.05f);
    body.SetTarget(Vec3(0, 0, 0), 1000.0f);
    EXPECT_NEAR(body.GetEye().y, 325.0f, 0.01f); // 650000 / 2000 + 0
    EXPECT_NEAR(body.GetView().GetFovY(), 0.5f, 1e-6f);

    // Anything else, "select" too, lists the keywords and is taken.
    SelectedObjectName() = "before";
    for (const char* word : {"select", "print", "mind"}) {
        EXPECT_EQ(Command("bodyKeys", word, {}, &handled), "minD dH h fovYPerDist \n") << word;
        EXPECT_TRUE(handled);
    }
    EXPECT_EQ(SelectedObjectName(), "before");
}

} // namespace
