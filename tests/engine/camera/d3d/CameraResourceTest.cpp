// The camera node: its view from the transform it hangs under, its projection
// to clip space and to window pixels, and its place in the camera table.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/camera/CameraResource.h"
#include "engine/core/FrameStamp.h"
#include "tests/engine/render/PassRenderer.h"
#include "engine/scene/Transform.h"

namespace {

using CameraResourceTest = RecordingRendererTest;

::testing::AssertionResult IsIdentity(const CMatrix& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(m(r, c) - (r == c ? 1.0f : 0.0f)) > 1e-6f)
                return ::testing::AssertionFailure() << "element (" << r << ", " << c << ") is " << m(r, c);
    return ::testing::AssertionSuccess();
}

TEST_F(CameraResourceTest, ViewIsTheInverseOfWhereItHangs) {
    CTransform* mount = new CTransform("mount");
    CCameraResource* camera = new CCameraResource("camera");
    // No parent yet: identity.
    EXPECT_TRUE(IsIdentity(camera->GetViewMatrix()));

    mount->AddChild(camera);
    EXPECT_TRUE(IsIdentity(camera->GetViewMatrix())); // at the origin, unturned

    // Moved to (1, 2, 10): the view takes points back by that much.
    mount->SetTranslation(1, 2, 10);
    AdvanceFrameStamp();
    CMatrix view = camera->GetViewMatrix();
    Vec3 eye(1, 2, 10);
    eye.TransformCoord(view);
    EXPECT_NEAR(eye.x, 0, 1e-5f);
    EXPECT_NEAR(eye.y, 0, 1e-5f);
    EXPECT_NEAR(eye.z, 0, 1e-5f);
    EXPECT_NEAR(view(3, 2), -10, 1e-5f);

    // Turned a quarter about Y: the camera's -Z looks along world -X.
    mount->SetTranslation(0, 0, 0);
    mount->SetRotation(0, 1.5707964f, 0);
    AdvanceFrameStamp();
    Vec3 ahead(-5, 0, 0);
    ahead.TransformCoord(camera->GetViewMatrix());
    EXPECT_NEAR(ahead.x, 0, 1e-5f);
    EXPECT_NEAR(ahead.z, -5, 1e-5f);

    // The mount goes: identity again.
    delete mount;
    EXPECT_TRUE(IsIdentity(camera->GetViewMatrix()));
    delete camera;
}

TEST_F(CameraResourceTest, ProjectsToClipAndToTheClientArea) {
    CTransform* mount = new CTransform("mount");
    mount->SetTranslation(0, 0, 10);
    CCameraResource camera("camera");
    mount->AddChild(&camera);
    // 20 × 10 units seen orthographically, into the renderer's 320 × 240.
    CMatrix ortho;
    ortho.SetOrthoRH(20, 10, 0.1f, 100);
    camera.SetProjection(ortho);

    struct Case {
        Vec3 point;
        float clipX, clipY, screenX, screenY;
    } cases[] = {
        {Vec3(0, 0, 0), 0, 0, 160, 120},           // on the axis: the centre
        {Vec3(5, 2.5f, -30), 0.5f, 0.5f, 240, 60}, // right and up: y grows downward on screen
        {Vec3(-10, -5, 0), -1, -1, 0, 240},        // the bottom-left corner
    };
    for (const Case& c : cases) {
        Vec3 clip = camera.ProjectToClip(c.point);
        EXPECT_NEAR(clip.x, c.clipX, 1e-5f);
        EXPECT_NEAR(clip.y, c.clipY, 1e-5f);
        Vec3 screen = camera.ProjectToScreen(c.point);
        EXPECT_NEAR(screen.x, c.screenX, 1e-3f);
        EXPECT_NEAR(screen.y, c.screenY, 1e-3f);
        EXPECT_EQ(screen.z, 0.0f);
    }

    // A perspective projection divides by w: a point on the axis still lands
    // in the centre, one off the axis moves towards it with distance.
    CMatrix perspective;
    perspective.SetPerspectiveFovRH(1.0f, 320.0f / 240.0f, 0.1f, 100);
    camera.SetProjection(perspective);
    Vec3 centre = camera.ProjectToScreen(Vec3(0, 0, -40));
    EXPECT_NEAR(centre.x, 160, 1e-3f);
    EXPECT_NEAR(centre.y, 120, 1e-3f);
    Vec3 close = camera.ProjectToScreen(Vec3(1, 0, 0));
    Vec3 distant = camera.ProjectToScreen(Vec3(1, 0, -40));
    EXPECT_GT(close.x, distant.x);
    EXPECT_GT(distant.x, 160);

    mount->RemoveChild(&camera);
    delete mount;
}

TEST_F(CameraResourceTest, StoresItsProjectionRowByRowAndIsNeverCloned) {
    CCameraResource camera("camera");
    camera.SetProjection(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(camera.GetProjection()(i / 4, i % 4), (float)(i + 1));
    camera.SetFarDistance(250);
    EXPECT_EQ(camera.GetFarDistance(), 250.0f);
    EXPECT_EQ(camera.GetKind(), RT_CAMERA);
    EXPECT_EQ(camera.Clone("::copy"), nullptr);

    CHandle handle = camera.GetCameraHandle();
    EXPECT_EQ(CameraHandles().Resolve(handle), &camera);
    {
        CCameraResource* other = new CCameraResource("other");
        CHandle otherHandle = other->GetCameraHandle();
        delete other;
        EXPECT_EQ(CameraHandles().Resolve(otherHandle), nullptr);
    }
}

} // namespace
