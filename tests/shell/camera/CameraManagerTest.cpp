// The camera manager: its parts and their names, the choice of controller
// each update, the manual take-over, the lock, and the state file's values.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/camera/CameraResource.h"
#include "shell/state/StateFile.h"
#include "tests/shell/camera/CameraFixtures.h"

namespace {

const Vec3 VESKO(200.0f, 30.0f, 200.0f);

int Entries(const std::string& name) {
    auto range = ConsoleObjectRegistry().equal_range(name);
    int count = 0;
    for (auto it = range.first; it != range.second; ++it)
        ++count;
    return count;
}

TEST(CameraManagerDefaultsTest, BuildsItsPartsUnderTheirNames) {
    CameraSetting setting(true);
    std::unique_ptr<ICameraManager> manager(CreateCameraManager(&setting, "camera"));
    const char* names[] = {"camera",           "camera_camera",        "camera_camera_camera",
                           "camera_limiter",   "camera_auto",          "camera_auto_track",
                           "camera_auto_wait", "camera_auto_overlook", "camera_manual"};
    for (const char* name : names)
        EXPECT_EQ(Entries(name), 1) << name;
    EXPECT_EQ(ConsoleObjectRegistry().find("camera")->second, manager.get());
    EXPECT_TRUE(manager->IsAuto());
    EXPECT_FALSE(manager->IsLocked());
    ASSERT_NE(manager->GetView(), nullptr);
    EXPECT_EQ(manager->GetView()->GetName(), "camera_camera_camera");

    // Gone with the manager.
    manager.reset();
    for (const char* name : names)
        EXPECT_EQ(Entries(name), 0) << name;

    CameraSetting manual(false);
    CCameraManager fromManual(&manual, "camera");
    EXPECT_FALSE(fromManual.IsAuto());
    EXPECT_EQ(fromManual.GetMode(), -1);
    EXPECT_EQ(fromManual.GetResumeTimer(), 0.0f);
    CAutoCamera& automatic = fromManual.GetAutoCamera();
    EXPECT_EQ(automatic.GetDist(), 1800.0f);
    EXPECT_EQ(automatic.GetGoalDist(), 1800.0f);
    EXPECT_EQ(automatic.GetStateName(), nullptr);
    EXPECT_EQ(automatic.GetMachine().GetRequestedIndex(), 0);
    EXPECT_EQ(automatic.GetMachine().GetCurrentIndex(), -1);
    EXPECT_EQ(automatic.GetMachine().GetStateCount(), 3);
    EXPECT_EQ(automatic.GetMachine().GetState(0)->GetName(), "Track");
    EXPECT_EQ(automatic.GetMachine().GetState(1)->GetName(), "Wait");
    EXPECT_EQ(automatic.GetMachine().GetState(2)->GetName(), "Overlook");
}

TEST_F(CameraManagerTest, ADragHandsControlToTheUserUntilThreeSecondsAfterTheLast) {
    Frames(1000, {VESKO});
    ASSERT_EQ(manager.GetMode(), 1);
    input.Drag(15, 5);
    Frames(200, {VESKO});
    EXPECT_EQ(manager.GetMode(), 0);
    const Vec3 turned = manager.GetBody().GetTarget();

    input.Release();
    int frames = 0;
    bool held = true;
    while (manager.GetMode() == 0 && frames < 1000) {
        held = held && Distance(manager.GetBody().GetTarget(), turned) == 0.0f;
        Frame({VESKO});
        ++frames;
    }
    EXPECT_NEAR(frames * STEP_MS, 3000.0f, 2 * STEP_MS);
    // The user's view held until then; the automatic camera took over from it
    // in Track and made one spring step toward the focus.
    EXPECT_TRUE(held);
    EXPECT_EQ(State(), "Track");
    const float step = Distance(manager.GetAutoCamera().GetTarget(), turned);
    EXPECT_GT(step, 0.0f);
    EXPECT_LT(step, 20.0f);
    EXPECT_LT(Distance(manager.GetAutoCamera().GetTarget(), VESKO), Distance(turned, VESKO));

    // The wheel alone takes over too, and so does the button held anywhere.
    input.Wheel(120);
    Frame({VESKO});
    EXPECT_EQ(manager.GetMode(), 0);
    input.Release();
    Frames(3100, {VESKO});
    EXPECT_EQ(manager.GetMode(), 1);
    input.mouse.buttons[PB_LEFT] = 1;
    Frame({VESKO}, false);
    EXPECT_EQ(manager.GetMode(), 0);
}

TEST_F(CameraManagerTest, TheSettingSwitchesTheControllerAtTheNextUpdate) {
    Frame({VESKO});
    EXPECT_EQ(manager.GetMode(), 1);
    manager.SetAuto(false);
    EXPECT_FALSE(manager.IsAuto());
    EXPECT_EQ(manager.GetMode(), 1);
    Frame({VESKO});
    EXPECT_EQ(manager.GetMode(), 0);
    // Back to automatic: re-activated in Track from the body.
    Frames(5000, {VESKO, Vec3(-300, 0, -100)});
    manager.SetAuto(true);
    Frame({VESKO});
    EXPECT_EQ(manager.GetMode(), 1);
    EXPECT_EQ(State(), "Track");
}

TEST_F(ManualCameraManagerTest, ALockRunsTheAutomaticCameraClampedToTheRoom) {
    Frame({});
    ASSERT_EQ(manager.GetMode(), 0);
    manager.LockTarget(Vec3(0, 100, -100), 1000.0f);
    EXPECT_TRUE(manager.IsLocked());
    Frames(20000, {VESKO, Vec3(-300, 0, -100)}); // the points do not count while locked
    EXPECT_EQ(manager.GetMode(), 1);
    EXPECT_EQ(State(), "Track");
    EXPECT_NEAR(manager.GetBody().GetDistance(), 1000.0f, 10.0f);
    EXPECT_LT(Distance(manager.GetBody().GetTarget(), Vec3(0, 100, -100)), 65.0f);

    // A point and a distance outside the limits are clamped after every update.
    manager.LockTarget(Vec3(2000, 900, -1000), 6000.0f);
    for (int i = 0; i < 2000; ++i) {
        Frame({});
        ASSERT_TRUE(manager.GetLimiter().Contains(manager.GetBody().GetTarget())) << i;
        ASSERT_LE(manager.GetBody().GetDistance(), 2700.0f) << i;
    }
    EXPECT_EQ(manager.GetBody().GetDistance(), 2700.0f);
    EXPECT_EQ(manager.GetBody().GetTarget().x, 450.0f);
    EXPECT_EQ(manager.GetBody().GetTarget().y, 300.0f);
    EXPECT_EQ(manager.GetBody().GetTarget().z, -200.0f);
    // Drags do not take over while locked.
    input.Drag(30, 0);
    Frame({});
    EXPECT_EQ(manager.GetMode(), 1);
    EXPECT_EQ(manager.GetBody().GetTarget().x, 450.0f);

    manager.Unlock();
    EXPECT_FALSE(manager.IsLocked());
    Frame({});
    EXPECT_EQ(manager.GetMode(), 0);
}

TEST_F(CameraManagerTest, FocusPointsLastOneUpdate) {
    manager.AddFocusPoint(VESKO, 100.0f);
    manager.AddFocusPoint(Vec3(-400, 120, 300), 50.0f);
    ASSERT_EQ(manager.GetFocusPoints().size(), 2u);
    EXPECT_EQ(manager.GetFocusPoints()[1].weight, 50.0f);
    EXPECT_EQ(manager.GetFocusPoints()[1].position.x, -400.0f);
    manager.Update(STEP_MS, true);
    EXPECT_TRUE(manager.GetFocusPoints().empty());
    // The average ignores the weights.
    EXPECT_EQ(manager.GetAutoCamera().GetFocusCount(), 2);
    EXPECT_NEAR(manager.GetAutoCamera().GetFocus().x, -100.0f, 1e-4f);
    EXPECT_NEAR(manager.GetAutoCamera().GetFocus().y, 75.0f, 1e-4f);
    EXPECT_NEAR(manager.GetAutoCamera().GetFocus().z, 250.0f, 1e-4f);

    // Emptied in manual mode as well.
    manager.SetAuto(false);
    manager.AddFocusPoint(VESKO, 100.0f);
    manager.Update(STEP_MS, true);
    EXPECT_TRUE(manager.GetFocusPoints().empty());
}

TEST_F(CameraManagerTest, TheLensFollowsTheWindowAndTheDistance) {
    manager.SetLens(800.0f / 600.0f, 100.0f, 10000.0f);
    CCameraView& view = manager.GetBody().GetView();
    EXPECT_NEAR(view.GetAspect(), 1.3333f, 1e-4f);
    EXPECT_EQ(view.GetNear(), 100.0f);
    EXPECT_EQ(view.GetFar(), 10000.0f);
    EXPECT_EQ(manager.GetView()->GetFarDistance(), 10000.0f);
    EXPECT_NEAR(view.GetFovY(), 1200.0f * 0.000261799f, 1e-6f);
}

TEST_F(CameraManagerTest, TheStateFileKeepsDistanceAndTarget) {
    Frames(3000, {VESKO});
    CSavedState saved;
    manager.Serialize(saved, true);
    EXPECT_EQ(saved.cameraDistance, manager.GetBody().GetDistance());
    EXPECT_EQ(saved.cameraInterest[0], manager.GetBody().GetTarget().x);
    EXPECT_EQ(saved.cameraInterest[1], manager.GetBody().GetTarget().y);
    EXPECT_EQ(saved.cameraInterest[2], manager.GetBody().GetTarget().z);

    // Through the file's bytes into a fresh camera.
    const std::vector<uint8_t> bytes = EncodeState(saved);
    CSavedState read;
    uint32_t version = 0;
    ASSERT_EQ(DecodeState(bytes.data(), bytes.size(), read, version), SR_OK);
    CameraRig fresh;
    fresh.manager.Serialize(read, false);
    const CCameraBody& body = fresh.manager.GetBody();
    EXPECT_EQ(body.GetDistance(), saved.cameraDistance);
    EXPECT_EQ(body.GetTarget().x, saved.cameraInterest[0]);
    EXPECT_EQ(body.GetTarget().z, saved.cameraInterest[2]);
    // Eye height and field of view follow at once.
    EXPECT_NEAR(body.GetEye().y, manager.GetBody().GetEye().y, 1e-3f);
    EXPECT_NEAR(body.GetView().GetFovY(), manager.GetBody().GetView().GetFovY(), 1e-6f);
    // The first update starts from there.
    fresh.Frame({VESKO});
    EXPECT_LT(Distance(fresh.manager.GetAutoCamera().GetTarget(),
                       Vec3(read.cameraInterest[0], read.cameraInterest[1], read.cameraInterest[2])),
              5.0f);
}

TEST_F(ManualCameraManagerTest, AStateFileOutsideTheLimitsIsBroughtInside) {
    struct Case {
        float distance, x, y, z;
        float wantDistance, wantX, wantY, wantZ;
    } cases[] = {
        {0.0f, 0, 0, 0, 800.0f, 0, 0, 0},
        {-1200.0f, 100, 50, 20, 800.0f, 100, 50, 20},
        {90000.0f, 5000, -900, 0, 2700.0f, 450, -100, 0},
        {1500.0f, 950, 460, 850, 1500.0f, 450, 300, 350}, // the eye itself
    };
    for (const Case& c : cases) {
        CSavedState state;
        state.cameraDistance = c.distance;
        state.cameraInterest[0] = c.x;
        state.cameraInterest[1] = c.y;
        state.cameraInterest[2] = c.z;
        manager.Serialize(state, false);
        const CCameraBody& body = manager.GetBody();
        EXPECT_EQ(body.GetDistance(), c.wantDistance) << c.distance;
        EXPECT_EQ(body.GetTarget().x, c.wantX) << c.distance;
        EXPECT_EQ(body.GetTarget().y, c.wantY) << c.distance;
        EXPECT_EQ(body.GetTarget().z, c.wantZ) << c.distance;
        // The manual camera leaves the body alone without input: the
        // picture must be sound as loaded.
        Frame({});
        const CMatrix projection = manager.GetView()->GetProjection();
        EXPECT_GT(projection(1, 1), 0.0f) << c.distance;
        EXPECT_TRUE(std::isfinite(projection(0, 0)) && std::isfinite(projection(1, 1))) << c.distance;
        const Vec3 clip = manager.GetView()->ProjectToClip(body.GetTarget());
        EXPECT_NEAR(clip.x, 0.0f, 1e-4f) << c.distance;
        EXPECT_NEAR(clip.y, 0.0f, 1e-4f) << c.distance;
    }
}

} // namespace
