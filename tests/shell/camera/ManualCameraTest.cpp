// The manual camera: drag turns about the eye, shift-drag and the wheel zoom,
// and what it leaves alone.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/math/Geometry2D.h"
#include "tests/shell/camera/CameraFixtures.h"

namespace {

// Where the turn must land: the direction from the eye turned by the deltas,
// at the radius taken at activation.
Vec3 Turned(const Vec3& eye, const Vec3& target, float radius, int dx, int dy) {
    float pitch, yaw;
    DirectionToPitchYaw(pitch, yaw, Vec3(target.x - eye.x, target.y - eye.y, target.z - eye.z));
    pitch += dy * 0.004f;
    yaw -= dx * 0.004f;
    return Vec3(eye.x + radius * std::cos(pitch) * std::sin(yaw), eye.y - radius * std::sin(pitch),
                eye.z + radius * std::cos(pitch) * std::cos(yaw));
}

TEST_F(ManualCameraManagerTest, ActivationTakesTheRadiusFromEyeToTarget) {
    EXPECT_EQ(manager.GetManualCamera().GetRadius(), 2000.0f);
    Frame({});
    EXPECT_EQ(manager.GetMode(), 0);
    const CCameraBody& body = manager.GetBody();
    EXPECT_NEAR(manager.GetManualCamera().GetRadius(), Distance(body.GetEye(), body.GetTarget()), 1e-3f);
    EXPECT_NEAR(manager.GetManualCamera().GetRadius(), 1355.2f, 0.5f); // (950, 459.9, 850) to the origin
}

TEST_F(ManualCameraManagerTest, DraggingInTheCameraZoneTurnsTheView) {
    Frame({});
    const float radius = manager.GetManualCamera().GetRadius();
    struct Case {
        int dx, dy;
    } cases[] = {{10, 0}, {-25, 0}, {0, 15}, {7, -9}};
    for (const Case& c : cases) {
        // The eye's height follows each new target.
        const Vec3 eye = manager.GetBody().GetEye();
        const Vec3 before = manager.GetBody().GetTarget();
        Vec3 expected = Turned(eye, before, radius, c.dx, c.dy);
        manager.GetLimiter().ClampTarget(expected);
        input.Drag(c.dx, c.dy);
        Frame({});
        const Vec3 after = manager.GetBody().GetTarget();
        EXPECT_NEAR(after.x, expected.x, 0.05f) << c.dx << " " << c.dy;
        EXPECT_NEAR(after.y, expected.y, 0.05f) << c.dx << " " << c.dy;
        EXPECT_NEAR(after.z, expected.z, 0.05f) << c.dx << " " << c.dy;
        EXPECT_GT(Distance(after, before), 1.0f);
        EXPECT_EQ(manager.GetBody().GetDistance(), 1200.0f);
    }
    // Dragging right turns the view right: seen from the eye the target moves
    // toward the picture's right, which here is +x and -z.
    input.Drag(20, 0);
    const Vec3 before = manager.GetBody().GetTarget();
    Frame({});
    const Vec3 after = manager.GetBody().GetTarget();
    EXPECT_GT(after.x - before.x, 0.0f);
    EXPECT_LT(after.z - before.z, 0.0f);
}

TEST_F(ManualCameraManagerTest, ZoomAndWhatIsLeftAlone) {
    Frame({});
    struct Case {
        const char* what;
        bool inZone, shift, button;
        int dx, dy, wheel;
        float distance; // after, from 1200
        bool turned;
    } cases[] = {
        {"shift-drag up widens the view", true, true, true, 0, -50, 0, 1300.0f, false},
        {"shift-drag down narrows it", true, true, true, 3, 40, 0, 1120.0f, false},
        {"shift-drag is clamped", true, true, true, 0, 600, 0, 800.0f, false},
        {"wheel", true, false, false, 0, 0, 120, 1320.0f, false},
        {"wheel outside the camera zone", false, false, false, 0, 0, -240, 960.0f, false},
        {"wheel is clamped", true, false, false, 0, 0, 2400, 2700.0f, false},
        {"wheel with a still button", true, false, true, 0, 0, 120, 1320.0f, false},
        {"drag outside the camera zone", false, false, true, 30, 30, 0, 1200.0f, false},
        {"moving without the button", true, false, false, 30, 30, 0, 1200.0f, false},
        {"drag with the wheel: the drag wins", true, false, true, 30, 0, 120, 1200.0f, true},
    };
    for (const Case& c : cases) {
        manager.GetBody().SetTarget(Vec3(0, 0, 0), 1200.0f);
        input.Release();
        input.keys.down.clear();
        if (c.shift)
            input.keys.down.insert(c.dx ? CAMERA_KEY_RSHIFT : CAMERA_KEY_LSHIFT);
        input.mouse.buttons[PB_LEFT] = c.button ? 1 : 0;
        input.mouse.deltas[PA_X] = c.dx;
        input.mouse.deltas[PA_Y] = c.dy;
        input.mouse.deltas[PA_WHEEL] = c.wheel;
        Frame({}, c.inZone);
        EXPECT_NEAR(manager.GetBody().GetDistance(), c.distance, 1e-3f) << c.what;
        EXPECT_EQ(Distance(manager.GetBody().GetTarget(), Vec3(0, 0, 0)) > 1.0f, c.turned) << c.what;
    }
}

TEST_F(ManualCameraManagerTest, ATurnStaysInsideTheRoomBox) {
    Frame({});
    input.Drag(-2000, 0); // about 8 radians round
    for (int i = 0; i < 10; ++i) {
        Frame({});
        Vec3 target = manager.GetBody().GetTarget();
        EXPECT_TRUE(manager.GetLimiter().Contains(target));
    }
    input.Drag(0, -400); // far up
    Frame({});
    EXPECT_LE(manager.GetBody().GetTarget().y, 300.0f);
}

TEST_F(ManualCameraManagerTest, WithoutInputTheBodyIsNotTouched) {
    Frame({});
    manager.GetBody().SetTarget(Vec3(5000, 0, 0), 100.0f); // far outside on purpose
    Frames(500, {Vec3(0, 0, 0)});
    EXPECT_EQ(manager.GetBody().GetTarget().x, 5000.0f);
    EXPECT_EQ(manager.GetBody().GetDistance(), 100.0f);
    // The first real input clamps everything back.
    input.Wheel(1);
    Frame({});
    EXPECT_EQ(manager.GetBody().GetTarget().x, 450.0f);
    EXPECT_EQ(manager.GetBody().GetDistance(), 800.0f);
}

} // namespace
