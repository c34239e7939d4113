// The room drawn through the whole chain on the real device: archives, model
// loading, shaders, lights, the draw list and the frame loop. The picture is
// read back from the screen, kept as "room.png" beside the test program and
// compared at half size with the kept reference beside this test.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/archive/DataFolder.h"
#include "engine/core/FrameStamp.h"
#include "engine/drawlist/DrawList.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/app/RoomStage.h"
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
        auto start = std::chrono::steady_clock::now();
        stage->Queue();
        updateSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++updates;
        if (IsFirstUpdate())
            passStamps.push_back(FrameStamp);
        else if (!passStamps.empty() && FrameStamp != passStamps.back())
            ++stampsWithinPass;
        if (IsFirstUpdate() && ++passes == passLimit)
            PostQuitMessage(0);
        return 0;
    }

    CRoomStage* stage = nullptr;
    int passLimit = 3;
    int passes = 0;
    int updates = 0;
    double updateSeconds = 0;
    std::vector<int32_t> passStamps; // the frame stamp at each pass's first update
    int stampsWithinPass = 0;        // updates that saw the stamp move inside a pass
};

class RoomStage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The test program lives apart from the data; it runs in the data folder.
        SetDataFolder(std::filesystem::current_path().string());
        InstallTextureHooks();
        InstallConsoleHook();
        InstallDrawListHooks();
    }

    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "RoomStageTest";
        RegisterClassA(&wc);
        m_window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "room", WS_POPUP | WS_VISIBLE, 0, 0, WIDTH, HEIGHT,
                                   nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override { DestroyWindow(m_window); }

    RgbPicture ReadWindow() {
        RECT r;
        GetWindowRect(m_window, &r);
        return CaptureScreen(r);
    }

    HWND m_window = nullptr;
};

TEST_F(RoomStage, DrawsTheTexturedRoom) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    run.ResetFrameTimer();
    run.Run();
    ASSERT_EQ(run.passes, 3);

    const RgbPicture shot = ReadWindow();
    ASSERT_EQ(shot.width, WIDTH);
    ASSERT_EQ(shot.height, HEIGHT);
    EXPECT_TRUE(WriteRgbPng("room.png", shot));
    const PictureDifference d =
        CompareWithKept(HalveRgbPicture(shot), DESKMATE_SOURCE_DIR "/tests/shell/app/room_reference.png");
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 3.0);
    EXPECT_LT(d.changedShare, 0.01);
}

// Queuing the room in every update leaves the frame stamp to the frame loop:
// one step a pass, none between the updates of a pass.
TEST_F(RoomStage, FrameStampAdvancesOncePerPass) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    run.passLimit = 8;
    run.ResetFrameTimer();
    run.Run();
    ASSERT_EQ(run.passStamps.size(), 8u);
    for (size_t i = 1; i < run.passStamps.size(); ++i)
        EXPECT_EQ(run.passStamps[i] - run.passStamps[i - 1], 1) << i;
    EXPECT_EQ(run.stampsWithinPass, 0);
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
