// The automatic camera through whole manager updates with scripted focus
// points: Track, Wait and Overlook and the hand-overs between them.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/camera/CameraResource.h"
#include "tests/shell/camera/CameraFixtures.h"

namespace {

// Where the character stands at start, raised by 30 as she hands it over.
const Vec3 VESKO(200.0f, 30.0f, 200.0f);

using AutoCameraTest = CameraManagerTest;

// Frames with one focus until the state changes; the number of frames run.
int FramesUntilLeaving(CameraRig& t, const std::string& state, const std::vector<Vec3>& focus, int limit = 3000) {
    int frames = 0;
    if (t.State().empty()) {
        t.Frame(focus);
        ++frames;
    }
    while (t.State() == state && frames < limit) {
        t.Frame(focus);
        ++frames;
    }
    return frames;
}

TEST_F(AutoCameraTest, TracksOneFocusThenWaitsAfterFourStillSeconds) {
    Frame({VESKO});
    EXPECT_EQ(manager.GetMode(), 1);
    EXPECT_EQ(State(), "Track");
    // Activation took over the body's values: distance 1200, target at the origin.
    EXPECT_NEAR(manager.GetAutoCamera().GetDist(), 1200.0f, 1e-3f);

    // Follow until the springs stop, then count the still time.
    int lastMove = 0, frame = 0;
    Vec3 target = manager.GetBody().GetTarget();
    float dist = manager.GetBody().GetDistance();
    while (State() == "Track" && frame < 3000) {
        Frame({VESKO});
        ++frame;
        // The frame in which Wait takes over moves by Wait's springs.
        const bool moved =
            Distance(target, manager.GetBody().GetTarget()) > 0.0f || dist != manager.GetBody().GetDistance();
        if (moved && State() == "Track")
            lastMove = frame;
        target = manager.GetBody().GetTarget();
        dist = manager.GetBody().GetDistance();
    }
    ASSERT_EQ(State(), "Wait");
    // Track rests short of the point: within tgtStopDelta 65, beyond its rest length 60.
    const float left = Distance(manager.GetBody().GetTarget(), VESKO);
    EXPECT_LT(left, 65.0f);
    EXPECT_GT(left, 55.0f);
    EXPECT_NEAR((frame - lastMove) * STEP_MS, 4000.0f, 2 * STEP_MS);

    // Wait zooms in toward 800 and re-aims closer (tgtStopDelta 24).
    Frames(20000, {VESKO});
    EXPECT_EQ(State(), "Wait");
    EXPECT_NEAR(manager.GetBody().GetDistance(), 800.0f, 10.0f);
    EXPECT_LT(Distance(manager.GetBody().GetTarget(), VESKO), 24.0f);
    EXPECT_EQ(manager.GetAutoCamera().GetGoalDist(), 800.0f);
}

TEST_F(AutoCameraTest, ALostFocusIsKeptForThreeSecondsThenTheRoomIsOverlooked) {
    Frames(1000, {VESKO});
    ASSERT_EQ(State(), "Track");
    const int frames = FramesUntilLeaving(*this, "Track", {});
    EXPECT_EQ(State(), "Overlook");
    EXPECT_NEAR(frames * STEP_MS, 3000.0f, 2 * STEP_MS);

    // Overlooking: the distance opens toward 2700 and the target drifts to the centre.
    const float before = manager.GetBody().GetDistance();
    Frame({});
    EXPECT_GT(manager.GetBody().GetDistance(), before);
    Frames(30000, {});
    EXPECT_EQ(State(), "Overlook");
    EXPECT_GT(manager.GetBody().GetDistance(), 2690.0f);
    EXPECT_LE(manager.GetBody().GetDistance(), 2700.0f);
    EXPECT_LT(Distance(manager.GetBody().GetTarget(), Vec3(0, 0, 0)), 10.0f);
}

TEST_F(AutoCameraTest, ALostFocusWhileWaitingAlsoOverlooksAfterThreeSeconds) {
    FramesUntilLeaving(*this, "Track", {VESKO});
    ASSERT_EQ(State(), "Wait");
    Frames(500, {VESKO});
    const int frames = FramesUntilLeaving(*this, "Wait", {});
    EXPECT_EQ(State(), "Overlook");
    EXPECT_NEAR(frames * STEP_MS, 3000.0f, 2 * STEP_MS);
}

TEST_F(AutoCameraTest, TwoFocusPointsOverlookAtOnce) {
    struct Case {
        const char* what;
        std::vector<Vec3> points;
        const char* state;
    } cases[] = {
        {"two places", {VESKO, Vec3(-300, 0, -100)}, "Overlook"},
        {"the show's anchor counted twice", {Vec3(-400, 120, 300), Vec3(-400, 120, 300)}, "Overlook"},
        {"one of them outside the room box", {VESKO, Vec3(-300, 0, 900)}, "Track"},
        {"both outside: lost, not many", {Vec3(2000, 0, 0), Vec3(0, 0, -900)}, "Track"},
    };
    for (const Case& c : cases) {
        CameraRig t;
        t.Frames(1000, {VESKO});
        ASSERT_EQ(t.State(), "Track");
        t.Frame(c.points);
        EXPECT_EQ(t.State(), c.state) << c.what;
    }
}

TEST_F(AutoCameraTest, OverlookTracksAgainOnlyFourSecondsAfterTheLastFastMove) {
    Frames(1000, {VESKO});
    Frames(2000, {VESKO, Vec3(-300, 0, -100)});
    ASSERT_EQ(State(), "Overlook");
    // Back to one point: the jump from the two points' average counts as
    // fast, so Overlook holds for its full four seconds from here.
    const int frames = FramesUntilLeaving(*this, "Overlook", {VESKO});
    EXPECT_EQ(State(), "Track");
    EXPECT_NEAR(frames * STEP_MS, 4000.0f, 2 * STEP_MS);

    // With the points staying two, it never tracks again.
    CameraRig t;
    t.Frames(1000, {VESKO});
    t.Frames(10000, {VESKO, Vec3(-300, 0, -100)});
    EXPECT_EQ(t.State(), "Overlook");
}

TEST_F(AutoCameraTest, AFocusRunningFasterThanMaxV0ForLongerThan100MsOverlooks) {
    struct Case {
        float perFrame;
        int frames;
        const char* state;
    } cases[] = {
        {1.5f, 120, "Track"},  // under maxV0 1.6
        {2.0f, 5, "Track"},    // fast, but only 83 ms
        {2.0f, 8, "Overlook"}, // fast for 133 ms
        {20.0f, 8, "Overlook"},
    };
    for (const Case& c : cases) {
        CameraRig t;
        t.Frames(1000, {VESKO});
        ASSERT_EQ(t.State(), "Track");
        Vec3 p = VESKO;
        for (int i = 0; i < c.frames; ++i) {
            p.x -= c.perFrame * 0.6f;
            p.z -= c.perFrame * 0.8f;
            t.Frame({p});
        }
        EXPECT_EQ(t.State(), c.state) << c.perFrame << " x " << c.frames;
    }
}

float PictureR2(CCameraResource* camera, const Vec3& p) {
    const Vec3 clip = camera->ProjectToClip(p);
    return clip.x * clip.x + clip.y * clip.y;
}

// The point straight above the given one whose projection lies at that
// squared radius of the picture (upward there is room left in the box).
Vec3 PointAtPictureRadius(CCameraResource* camera, const Vec3& from, float r2) {
    float low = 0.0f, high = 300.0f - from.y;
    for (int i = 0; i < 60; ++i) {
        const float mid = (low + high) * 0.5f;
        const Vec3 clip = camera->ProjectToClip(Vec3(from.x, from.y + mid, from.z));
        if (clip.x * clip.x + clip.y * clip.y < r2)
            low = mid;
        else
            high = mid;
    }
    return Vec3(from.x, from.y + low, from.z);
}

TEST_F(AutoCameraTest, WaitReaimsOnlyOutsideTheInnerCircleAndTracksBeyondTheOuter) {
    FramesUntilLeaving(*this, "Track", {VESKO});
    ASSERT_EQ(State(), "Wait");
    // Settled: no longer following.
    Frames(10000, {VESKO});
    CCameraResource* camera = manager.GetView();
    const Vec3 aim = manager.GetBody().GetTarget();

    // A small step inside the inner circle: the aim holds.
    const Vec3 inner = PointAtPictureRadius(camera, VESKO, 0.1f);
    ASSERT_NEAR(PictureR2(camera, inner), 0.1f, 0.005f);
    Frames(500, {inner});
    EXPECT_EQ(State(), "Wait");
    EXPECT_EQ(Distance(manager.GetBody().GetTarget(), aim), 0.0f);

    // Between the circles: it follows again until it is close.
    const Vec3 middle = PointAtPictureRadius(camera, inner, 0.3f);
    ASSERT_NEAR(PictureR2(camera, middle), 0.3f, 0.005f);
    Frame({middle});
    EXPECT_EQ(State(), "Wait");
    Frames(8000, {middle});
    EXPECT_EQ(State(), "Wait");
    EXPECT_LT(Distance(manager.GetBody().GetTarget(), middle), 24.0f);

    // Beyond the outer circle: Track, in the same update.
    const Vec3 outer = PointAtPictureRadius(camera, middle, 0.6f);
    ASSERT_NEAR(PictureR2(camera, outer), 0.6f, 0.005f);
    Frame({outer});
    EXPECT_EQ(State(), "Track");
}

} // namespace
