// The camera view: its two nodes, the look-at and the lenses, "print", and
// the inspection camera of its Update hook.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "engine/camera/CameraResource.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "shell/camera/CameraView.h"
#include "tests/shell/camera/CameraFixtures.h"

namespace {

::testing::AssertionResult MatricesNear(const CMatrix& a, const CMatrix& b, float tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(a(r, c) - b(r, c)) > tolerance)
                return ::testing::AssertionFailure()
                       << "element (" << r << ", " << c << "): " << a(r, c) << " against " << b(r, c);
    return ::testing::AssertionSuccess();
}

TEST(CameraViewTest, StartsLookingDownMinusZWithItsDefaultLens) {
    CCameraView view("viewTest");
    EXPECT_EQ(view.GetEye().x, 0.0f);
    EXPECT_EQ(view.GetEye().z, 0.0f);
    EXPECT_EQ(view.GetTarget().z, -1.0f);
    EXPECT_EQ(view.GetUp().y, 1.0f);
    EXPECT_TRUE(view.IsPerspective());
    EXPECT_EQ(view.GetFovY(), 1.0f);
    EXPECT_EQ(view.GetAspect(), 1.0f);
    EXPECT_EQ(view.GetWidth(), 1.0f);
    EXPECT_EQ(view.GetHeight(), 1.0f);
    EXPECT_EQ(view.GetNear(), 1.0f);
    EXPECT_EQ(view.GetFar(), 100.0f);

    CCameraResource* camera = view.GetCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetName(), "viewTest");
    EXPECT_EQ(view.GetTransform()->GetName(), "viewTest");
    EXPECT_EQ(camera->GetParent(), view.GetTransform());
    EXPECT_TRUE(MatricesNear(camera->GetViewMatrix(), CMatrix(), 1e-6f));
    CMatrix lens;
    lens.SetPerspectiveFovRH(1.0f, 1.0f, 1.0f, 100.0f);
    EXPECT_TRUE(MatricesNear(camera->GetProjection(), lens, 1e-6f));
    EXPECT_EQ(camera->GetFarDistance(), 100.0f);
}

TEST(CameraViewTest, TheCameraNodesViewIsTheLookAt) {
    CCameraView view("viewTest");
    const Vec3 eye(950, 459.9f, 850), target(-100, 50, 120), up(0, 1, 0);
    view.LookAt(eye, target, up);
    CMatrix lookAt;
    lookAt.SetLookAtRH(eye, target, up);
    EXPECT_TRUE(MatricesNear(view.GetCamera()->GetViewMatrix(), lookAt, 1e-3f));
    EXPECT_EQ(view.GetEye().y, 459.9f);
    EXPECT_EQ(view.GetTarget().x, -100.0f);

    // The target lands in the middle of the picture, a point off to the
    // right of it on the right half.
    view.SetPerspective(0.314f, 640.0f / 480.0f, 100.0f, 10000.0f);
    Vec3 centre = view.GetCamera()->ProjectToClip(target);
    EXPECT_NEAR(centre.x, 0.0f, 1e-4f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-4f);
    // Seen from (950, ., 850) toward the target, +x and -z lie to the right.
    Vec3 right = view.GetCamera()->ProjectToClip(Vec3(target.x + 60, target.y, target.z - 60));
    EXPECT_GT(right.x, 0.0f);
    // A second look-at in the same frame shows at once.
    view.LookAt(eye, Vec3(0, 0, 0), up);
    centre = view.GetCamera()->ProjectToClip(Vec3(0, 0, 0));
    EXPECT_NEAR(centre.x, 0.0f, 1e-4f);
    EXPECT_NEAR(centre.y, 0.0f, 1e-4f);
}

TEST(CameraViewTest, LensesStoreTheirValuesAndTheFarDistance) {
    CCameraView view("viewTest");
    view.SetOrtho(64000, 48000, 100, 100000);
    EXPECT_FALSE(view.IsPerspective());
    EXPECT_EQ(view.GetWidth(), 64000.0f);
    EXPECT_EQ(view.GetHeight(), 48000.0f);
    EXPECT_EQ(view.GetCamera()->GetFarDistance(), 100000.0f);
    CMatrix ortho;
    ortho.SetOrthoRH(64000, 48000, 100, 100000);
    EXPECT_TRUE(MatricesNear(view.GetCamera()->GetProjection(), ortho, 1e-9f));

    view.SetPerspective(0.5f, 1.5f, 10, 1000);
    EXPECT_TRUE(view.IsPerspective());
    EXPECT_EQ(view.GetFovY(), 0.5f);
    EXPECT_EQ(view.GetAspect(), 1.5f);
    EXPECT_EQ(view.GetNear(), 10.0f);
    EXPECT_EQ(view.GetCamera()->GetFarDistance(), 1000.0f);
    CMatrix lens;
    lens.SetPerspectiveFovRH(0.5f, 1.5f, 10, 1000);
    EXPECT_TRUE(MatricesNear(view.GetCamera()->GetProjection(), lens, 1e-6f));
}

TEST(CameraViewTest, LooksStraightDownAsTheIndicatorCamera) {
    // The render manager's orthographic camera for a 640 x 480 window.
    CCameraView view("viewIndicator");
    view.SetOrtho(64000, 48000, 100, 100000);
    view.LookAt(Vec3(0, 50000, 1), Vec3(0, 0, 0), Vec3(0, 1, 0));
    struct Case {
        Vec3 point;
        float clipX, clipY;
    } cases[] = {
        {Vec3(0, 0, 0), 0, 0},
        {Vec3(16000, 0, 0), 0.5f, 0},  // x to the right
        {Vec3(0, 0, -12000), 0, 0.5f}, // -z up the picture
        {Vec3(-32000, 300, 24000), -1, -1},
    };
    for (const Case& c : cases) {
        const Vec3 clip = view.GetCamera()->ProjectToClip(c.point);
        EXPECT_NEAR(clip.x, c.clipX, 1e-3f) << c.point.x << " " << c.point.z;
        EXPECT_NEAR(clip.y, c.clipY, 1e-3f) << c.point.x << " " << c.point.z;
        EXPECT_GT(clip.z, 0.0f);
        EXPECT_LT(clip.z, 1.0f);
    }
}

TEST(CameraViewTest, BelongsToNoRegistryAndHangsUnderNoNode) {
    std::unique_ptr<CResourceManager> registry(new CResourceManager());
    CResourceManager* saved = CurrentResourceManager;
    CurrentResourceManager = registry.get();
    CTransform* root = new CTransform("viewTestRoot");
    CTransform* savedParent = GetDefaultParent();
    SetDefaultParent(root);
    root->SetTranslation(1000, 0, 0);

    std::unique_ptr<CCameraView> view(new CCameraView("viewTestOwned"));
    SetDefaultParent(savedParent);
    CurrentResourceManager = saved;

    EXPECT_EQ(registry->Find("viewTestOwned", RT_TRANSFORM), nullptr);
    EXPECT_EQ(registry->Find("viewTestOwned", RT_CAMERA), nullptr);
    EXPECT_EQ(view->GetTransform()->GetParent(), nullptr);
    EXPECT_TRUE(root->GetChildren().empty());
    // The moved root does not shift the view.
    view->LookAt(Vec3(0, 0, 10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    Vec3 origin = view->GetCamera()->ProjectToClip(Vec3(0, 0, 0));
    EXPECT_NEAR(origin.x, 0.0f, 1e-5f);

    // The registry goes first, then the view: each deletes only its own.
    registry.reset();
    view.reset();
}

TEST(CameraViewTest, PrintWritesTheLookAtAndTheLens) {
    CCameraView view("viewPrint");
    view.LookAt(Vec3(1, 2.5f, 3), Vec3(4, 5, -6), Vec3(0, 1, 0));
    view.SetPerspective(0.5f, 1.5f, 100, 10000);
    std::ostringstream out;
    EXPECT_TRUE(view.HandleCommand(out, "print", {}));
    EXPECT_EQ(out.str(), "viewPrint:\n"
                         "  EyeVec(1, 2.5, 3)\n"
                         "  IntVec(4, 5, -6)\n"
                         "   UpVec(0, 1, 0)\n"
                         "  FovY(0.5) Aspect(1.5)\n"
                         "  Near(100) Far(10000)\n");

    view.SetOrtho(64000, 48000, 100, 100000);
    out.str("");
    EXPECT_TRUE(view.HandleCommand(out, "print", {"extra"}));
    EXPECT_EQ(out.str(), "viewPrint:\n"
                         "  EyeVec(1, 2.5, 3)\n"
                         "  IntVec(4, 5, -6)\n"
                         "   UpVec(0, 1, 0)\n"
                         "  Width(64000) Height(48000)\n"
                         "  Near(100) Far(100000)\n");

    // Other words go to the base: "select" selects, anything else is not taken.
    out.str("");
    EXPECT_TRUE(view.HandleCommand(out, "select", {}));
    EXPECT_EQ(SelectedObjectName(), "viewPrint");
    EXPECT_FALSE(view.HandleCommand(out, "Print", {}));
    EXPECT_FALSE(view.HandleCommand(out, "minD", {}));
    EXPECT_EQ(out.str(), "");
}

struct InspectionCameraTest : ::testing::Test {
    InspectionCameraTest() : view("viewInspect") {
        view.SetInput(&input);
        view.LookAt(Vec3(0, 0, 10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    }
    ScriptedInput input;
    CCameraView view;
};

TEST_F(InspectionCameraTest, PushesTheEyeTowardTheTargetButNotOntoIt) {
    struct Case {
        uint8_t left, right;
        int32_t dy;
        float eyeZ;
    } cases[] = {
        {1, 0, 4, 8.0f},   // 4 x 0.5
        {1, 0, -4, 12.0f}, // back out
        {0, 1, 1, 5.0f},   // button 1: ten times the step
        {0, 1, 4, 0.1f},   // would pass the target: stops 0.1 short
        {0, 0, 4, 10.0f},  // no button: nothing
    };
    input.keys.down = {CAMERA_KEY_PUSH};
    for (const Case& c : cases) {
        view.LookAt(Vec3(0, 0, 10), Vec3(0, 0, 0), Vec3(0, 1, 0));
        input.mouse.buttons[PB_LEFT] = c.left;
        input.mouse.buttons[PB_RIGHT] = c.right;
        input.mouse.deltas[PA_Y] = c.dy;
        view.Update(0);
        EXPECT_NEAR(view.GetEye().z, c.eyeZ, 1e-4f) << c.dy;
        EXPECT_EQ(view.GetTarget().z, 0.0f);
    }
}

TEST_F(InspectionCameraTest, PansEyeAndTargetTogetherAndOrbitsAtTheSameDistance) {
    input.mouse.buttons[PB_LEFT] = 1;
    input.mouse.deltas[PA_X] = 2;
    input.mouse.deltas[PA_Y] = -4;
    input.keys.down = {CAMERA_KEY_PAN};
    view.Update(0);
    // Right is +x here; moving the pointer right drags the scene along.
    EXPECT_NEAR(view.GetEye().x, -1.0f, 1e-5f);
    EXPECT_NEAR(view.GetTarget().x, -1.0f, 1e-5f);
    EXPECT_NEAR(view.GetEye().y, -2.0f, 1e-5f);
    EXPECT_NEAR(view.GetTarget().y, -2.0f, 1e-5f);
    EXPECT_NEAR(view.GetEye().z, 10.0f, 1e-5f);

    view.LookAt(Vec3(0, 0, 10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    input.keys.down = {CAMERA_KEY_ORBIT};
    input.mouse.deltas[PA_X] = 30;
    input.mouse.deltas[PA_Y] = 0;
    view.Update(0);
    EXPECT_NEAR(Distance(view.GetEye(), view.GetTarget()), 10.0f, 1e-4f);
    EXPECT_NEAR(std::atan2(view.GetEye().x, view.GetEye().z), -0.3f, 1e-4f);
    EXPECT_EQ(view.GetTarget().x, 0.0f);

    // Orbiting far upward stops short of straight overhead: the view stays usable.
    input.mouse.deltas[PA_X] = 0;
    input.mouse.deltas[PA_Y] = -1000;
    view.Update(0);
    EXPECT_NEAR(Distance(view.GetEye(), view.GetTarget()), 10.0f, 1e-4f);
    EXPECT_GT(view.GetEye().y, 9.9f);
    const CMatrix matrix = view.GetCamera()->GetViewMatrix();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_TRUE(std::isfinite(matrix(r, c)));
}

} // namespace
