// The renderer on the real Direct3D 8: set-up on a small window, a few frame
// loop passes, a device reset, and the "init.log" that they leave.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/FrameStamp.h"
#include "tests/engine/device/DeviceFixture.h"
#include "engine/render/ConsoleRenderer.h"

namespace {

std::string ReadInitLog() {
    std::ifstream in("init.log"); // text mode, as written
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CPassCounter : public CConsoleRenderer {
public:
    using CConsoleRenderer::CConsoleRenderer;
    int passes = 0;
    int updates = 0;
    int Update(float) override {
        ++updates;
        if (IsFirstUpdate() && ++passes == 4)
            PostQuitMessage(0);
        return 0;
    }
};

// Wine refuses D3DFMT_D32 in a window and accepts D3DFMT_D24X8; software
// vertex processing is forced, so the log does not depend on the caps.
const std::string EXPECTED_LOG = "Start Initial Window Mode...\nUse Software Processing\n"
                                 "Try [D3DFMT_X8R8G8B8] [D3DFMT_D32]...Failed\n"
                                 "Try [D3DFMT_X8R8G8B8] [D3DFMT_D24X8]...Success\nInit Success\n";

TEST(RendererDevice, SetsUpRunsAndResetsOnAWindow) {
    HWND window = MakeDeviceTestWindow(96, 64);
    ASSERT_NE(window, nullptr);
    {
        CPassCounter renderer(window, 96, 64, true, true);
        ASSERT_NE(renderer.GetDevice(), nullptr) << ReadInitLog();
        EXPECT_EQ(ReadInitLog(), EXPECTED_LOG);

        int stamp = FrameStamp;
        renderer.ResetFrameTimer();
        renderer.Run();
        EXPECT_EQ(renderer.passes, 4);
        EXPECT_GE(renderer.updates, 4);
        EXPECT_EQ(FrameStamp - stamp, 4);
        EXPECT_GT(renderer.GetLastFrameTime(), 0.0f);

        ASSERT_EQ(renderer.ResetDevice(), 0) << ReadInitLog();
        EXPECT_EQ(ReadInitLog(), EXPECTED_LOG);
        EXPECT_EQ(renderer.GetDevice()->TestCooperativeLevel(), D3D_OK);
        // One more pass after the reset presents without loss.
        renderer.passes = 3;
        renderer.Run();
        EXPECT_EQ(renderer.GetDevice()->TestCooperativeLevel(), D3D_OK);
    }
    EXPECT_EQ(CRenderer::Current(), nullptr);
    DestroyWindow(window);
}

} // namespace
