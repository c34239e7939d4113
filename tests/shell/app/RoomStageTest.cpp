// The room drawn through the whole chain on the real device: archives, model
// loading, shaders, lights, the draw list and the frame loop. The picture is
// read back from the screen, kept as "room.png" beside the test program and
// compared at half size with the kept reference beside this test.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/FrameStamp.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"
#include "engine/textconsole/Console.h"
#include "shell/app/RoomStage.h"
#include "shell/world/World.h"
#include "tests/shell/support/SceneWindowTest.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/ScreenCapture.h"

namespace {

constexpr int WIDTH = 320, HEIGHT = 240;

class CRoomRun : public CConsoleRenderer {
public:
    CRoomRun(HWND window) : CConsoleRenderer(window, WIDTH, HEIGHT, true, true) {
        if (GetDevice())
            stage = new CRoomStage(WIDTH, HEIGHT);
    }
    ~CRoomRun() override { delete stage; }

    int Update(float) override {
        const int32_t before = FrameStamp;
        if (IsFirstUpdate() && updates > 0)
            loopSteps.push_back(before - lastStamp);
        auto start = std::chrono::steady_clock::now();
        stage->Queue();
        updateSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++updates;
        queueSteps.push_back(FrameStamp - before);
        lastStamp = FrameStamp;
        if (IsFirstUpdate() && ++passes == passLimit)
            PostQuitMessage(0);
        return 0;
    }

    CRoomStage* stage = nullptr;
    int passLimit = 3;
    int passes = 0;
    int updates = 0;
    double updateSeconds = 0;
    std::vector<int32_t> queueSteps; // how far each update's queueing moved the frame stamp
    std::vector<int32_t> loopSteps;  // how far the frame loop moved it between passes
    int32_t lastStamp = 0;
};

class RoomStage : public ConsoleSceneWindowTest {
protected:
    RoomStage() : ConsoleSceneWindowTest("RoomStageTest", "room", WIDTH, HEIGHT) {}
};

// Ten seconds after the start the camera, with nothing to follow, has
// settled into overlooking the room at night.
TEST_F(RoomStage, DrawsTheTexturedRoom) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    for (int i = 0; i < 600; ++i)
        run.stage->Update(1000.0f / 60.0f);
    run.ResetFrameTimer();
    run.Run();
    ASSERT_EQ(run.passes, 3);

    const RgbPicture shot = CaptureWindow();
    ASSERT_EQ(shot.width, WIDTH);
    ASSERT_EQ(shot.height, HEIGHT);
    EXPECT_TRUE(WriteRgbPng("room.png", shot));
    const PictureDifference d =
        CompareWithKept(HalveRgbPicture(shot), DESKMATE_SOURCE_DIR "/tests/shell/app/room_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.01);
}

// The frame loop moves the frame stamp once a pass, and queueing the main
// scene once more, so that a tree queued again recomputes its matrices.
TEST_F(RoomStage, FrameStampAdvancesOncePerPassAndOncePerQueue) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    run.passLimit = 8;
    run.ResetFrameTimer();
    run.Run();
    ASSERT_EQ(run.loopSteps.size(), 7u);
    for (int32_t step : run.loopSteps)
        EXPECT_EQ(step, 1);
    ASSERT_FALSE(run.queueSteps.empty());
    for (int32_t step : run.queueSteps)
        EXPECT_EQ(step, 1);
}

// The stage's world clock starts at 18:00 with the night sky; eighteen world
// hours on (540 real seconds at the default ratio) the day sky shows instead.
TEST_F(RoomStage, FollowsTheWorldClock) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    auto visible = [](const char* name) {
        CTransform* node = dynamic_cast<CTransform*>(
            CurrentResourceManager->Find((std::string(name) + CRoomStage::SCOPE).c_str(), RT_TRANSFORM));
        return node && node->GetChannelValue(CTransform::TC_VISIBLE) > 0;
    };
    EXPECT_TRUE(visible("skyCilinderNight"));
    EXPECT_FALSE(visible("skyCilinderDay"));
    run.stage->Update(540000.0f);
    CClockTime noon = run.stage->GetWorld()->GetClock();
    EXPECT_EQ(noon.hours, 12);
    EXPECT_EQ(noon.minutes, 0);
    EXPECT_TRUE(visible("skyCilinderDay"));
    EXPECT_FALSE(visible("skyCilinderNight"));
}

// Not a timed test: the figures are printed for the record.
TEST_F(RoomStage, BenchmarkFrameLoop) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    run.passLimit = 120;
    run.ResetFrameTimer();
    auto start = std::chrono::steady_clock::now();
    run.Run();
    double wallMs = 1000.0 * std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(run.passes, 120);
    std::printf("room frame loop: %d passes, %d updates, average pass work %.3f ms, average update %.3f ms, "
                "wall time %.2f ms a pass\n",
                run.passes, run.updates, run.GetAverageWorkTime(), 1000.0 * run.updateSeconds / run.updates,
                wallMs / run.passes);
    RecordProperty("average_pass_work_ms", std::to_string(run.GetAverageWorkTime()));
}

} // namespace
