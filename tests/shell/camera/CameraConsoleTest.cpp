// The camera's tunable values through their named objects: every keyword
// with its default, setting it, the keyword lists, and values taking effect.
#include <gtest/gtest.h>

#include "tests/shell/camera/CameraFixtures.h"

namespace {

const Vec3 VESKO(200.0f, 30.0f, 200.0f);

struct Keyword {
    const char* object;
    const char* keyword;
    const char* printed; // the default, as the stream writes it
};

const Keyword KEYWORDS[] = {
    {"camera_camera", "minD", "500"},
    {"camera_camera", "dH", "650000"},
    {"camera_camera", "h", "-50"},
    {"camera_camera", "fovYPerDist", "0.000261799"},
    {"camera_auto", "maxV0", "1.6"},
    {"camera_auto", "maxV1", "1"},
    {"camera_auto", "overlookTimeConst0", "100"},
    {"camera_auto", "overlookTimeConst1", "3000"},
    {"camera_auto_track", "stopTimeConst", "4000"},
    {"camera_auto_track", "distStopDelta", "10"},
    {"camera_auto_track", "distSpring", "0.0008"},
    {"camera_auto_track", "distDamp", "0"},
    {"camera_auto_track", "distSpringLen", "0"},
    {"camera_auto_track", "tgtStopDelta", "65"},
    {"camera_auto_track", "tgtSpring", "0.002"},
    {"camera_auto_track", "tgtDamp", "0.0002"},
    {"camera_auto_track", "tgtSpringLen", "60"},
    {"camera_auto_wait", "waitTime", "5000"},
    {"camera_auto_wait", "waitArea1", "0.2"},
    {"camera_auto_wait", "waitArea2", "0.4"},
    {"camera_auto_wait", "distStopDelta", "10"},
    {"camera_auto_wait", "distSpring", "0.001"},
    {"camera_auto_wait", "distDamp", "0"},
    {"camera_auto_wait", "distSpringLen", "0"},
    {"camera_auto_wait", "tgtStopDelta", "24"},
    {"camera_auto_wait", "tgtSpring", "0.0008"},
    {"camera_auto_wait", "tgtDamp", "5e-05"},
    {"camera_auto_wait", "tgtSpringLen", "20"},
    {"camera_auto_overlook", "timeConst", "4000"},
    {"camera_auto_overlook", "distStopDelta", "10"},
    {"camera_auto_overlook", "distSpring", "0.0006"},
    {"camera_auto_overlook", "distDamp", "0"},
    {"camera_auto_overlook", "distSpringLen", "0"},
    {"camera_auto_overlook", "tgtStopDelta", "10"},
    {"camera_auto_overlook", "tgtSpring", "0.001"},
    {"camera_auto_overlook", "tgtDamp", "0.0002"},
    {"camera_auto_overlook", "tgtSpringLen", "0"},
};

TEST_F(CameraManagerTest, EveryKeywordPrintsItsDefaultAndTakesANewValue) {
    for (const Keyword& k : KEYWORDS) {
        bool handled = false;
        EXPECT_EQ(Command(k.object, k.keyword, {}, &handled), std::string(k.printed) + "\n")
            << k.object << " " << k.keyword;
        EXPECT_TRUE(handled);
        EXPECT_EQ(Command(k.object, k.keyword, {"12.5", "7"}, &handled), "") << k.object << " " << k.keyword;
        EXPECT_TRUE(handled);
        EXPECT_EQ(Command(k.object, k.keyword), "12.5\n") << k.object << " " << k.keyword;
    }
    // Only its own object's value changed: the three states keep separate springs.
    Command("camera_auto_track", "distSpring", {"0.0008"});
    EXPECT_EQ(Command("camera_auto_track", "distSpring"), "0.0008\n");
    EXPECT_EQ(Command("camera_auto_wait", "distSpring"), "12.5\n");
}

TEST_F(CameraManagerTest, OtherWordsListTheKeywordsOrGoToTheBase) {
    const char* springs =
        "distStopDelta distSpring distDamp distSpringLen tgtStopDelta tgtSpring tgtDamp tgtSpringLen ";
    struct Case {
        const char* object;
        std::string listed;
    } cases[] = {
        {"camera_camera", "minD dH h fovYPerDist \n"},
        {"camera_auto", "maxV0 maxV1 overlookTimeConst0 overlookTimeConst1 \n"},
        {"camera_auto_track", std::string("stopTimeConst ") + springs + "\n"},
        {"camera_auto_wait", std::string("waitTime waitArea1 waitArea2 ") + springs + "\n"},
        {"camera_auto_overlook", std::string("timeConst ") + springs + "\n"},
    };
    SelectedObjectName() = "none";
    for (const Case& c : cases) {
        for (const char* word : {"select", "unknown", "MaxV0", ""}) {
            bool handled = false;
            EXPECT_EQ(Command(c.object, word, {"3"}, &handled), c.listed) << c.object << " " << word;
            EXPECT_TRUE(handled) << c.object << " " << word;
        }
    }
    EXPECT_EQ(SelectedObjectName(), "none");

    // The manager, limiter and manual controller know only "select".
    for (const char* object : {"camera", "camera_limiter", "camera_manual"}) {
        bool handled = true;
        EXPECT_EQ(Command(object, "maxV0", {}, &handled), "") << object;
        EXPECT_FALSE(handled) << object;
        EXPECT_EQ(Command(object, "select", {}, &handled), "") << object;
        EXPECT_TRUE(handled) << object;
        EXPECT_EQ(SelectedObjectName(), object);
    }
}

TEST_F(CameraManagerTest, NewValuesTakeEffectAtTheNextUse) {
    // A shorter loss allowance, one second instead of three.
    Frames(1000, {VESKO});
    Command("camera_auto", "overlookTimeConst1", {"1000"});
    int frames = 0;
    while (State() == "Track" && frames < 1000) {
        Frame({});
        ++frames;
    }
    EXPECT_EQ(State(), "Overlook");
    // The lost timer was last set from the old value.
    EXPECT_NEAR(frames * STEP_MS, 3000.0f, 2 * STEP_MS);

    // Tracking again, the next loss is allowed the new second.
    Frames(4100, {VESKO});
    ASSERT_EQ(State(), "Track");
    frames = 0;
    while (State() == "Track" && frames < 1000) {
        Frame({});
        ++frames;
    }
    EXPECT_EQ(State(), "Overlook");
    EXPECT_NEAR(frames * STEP_MS, 1000.0f, 2 * STEP_MS);

    // A slow walk counts as fast under a lower maxV0.
    Frames(4100, {VESKO});
    ASSERT_EQ(State(), "Track");
    Command("camera_auto", "maxV0", {"0.5"});
    Vec3 p = VESKO;
    for (int i = 0; i < 10; ++i) {
        p.x -= 1.0f;
        Frame({p});
    }
    EXPECT_EQ(State(), "Overlook");
}

TEST_F(CameraManagerTest, ZeroTimesFromTheConsoleCannotHangAnUpdate) {
    // With no time to wait anywhere, Track and Overlook would hand over to
    // each other for ever within one update.
    Frames(1000, {VESKO});
    Command("camera_auto", "overlookTimeConst0", {"0"});
    Command("camera_auto_overlook", "timeConst", {"0"});
    Vec3 p = VESKO;
    for (int i = 0; i < 30; ++i) {
        p.x += (i % 2 ? 40.0f : -40.0f);
        Frame({p});
        const std::string state = State();
        EXPECT_TRUE(state == "Track" || state == "Overlook") << state;
    }
    EXPECT_TRUE(manager.GetLimiter().Contains(manager.GetBody().GetTarget()));
}

} // namespace
