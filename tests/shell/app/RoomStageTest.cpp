// The room drawn through the whole chain on the real device: archives, model
// loading, shaders, lights, the draw list and the frame loop. The picture is
// read back from the screen and kept as "room.png" beside the test program.
#include <gtest/gtest.h>

#include <windows.h>
#include <png.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "engine/archive/DataFolder.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "engine/drawlist/DrawList.h"
#include "engine/render/ConsoleRenderer.h"
#include "engine/scene/Transform.h"
#include "engine/resource/ResourceManager.h"
#include "shell/app/RoomStage.h"
#include "shell/world/World.h"

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
        if (IsFirstUpdate() && ++passes == passLimit)
            PostQuitMessage(0);
        return 0;
    }

    CRoomStage* stage = nullptr;
    int passLimit = 3;
    int passes = 0;
    int updates = 0;
    double updateSeconds = 0;
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
        m_window = CreateWindowExA(0, wc.lpszClassName, "room", WS_POPUP | WS_VISIBLE, 0, 0, WIDTH, HEIGHT, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override { DestroyWindow(m_window); }

    // The window's pixels as R, G, B, copied from the screen through GDI.
    bool ReadWindow(std::vector<uint8_t>& rgb) {
        HDC window = GetDC(m_window);
        HDC memory = CreateCompatibleDC(window);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = WIDTH;
        info.bmiHeader.biHeight = -HEIGHT;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = bitmap != nullptr;
        if (ok) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            ok = BitBlt(memory, 0, 0, WIDTH, HEIGHT, window, 0, 0, SRCCOPY) != 0;
            GdiFlush();
            rgb.resize(WIDTH * HEIGHT * 3);
            const DWORD* pixels = (const DWORD*)bits;
            for (int i = 0; i < WIDTH * HEIGHT; ++i) {
                rgb[3 * i] = (pixels[i] >> 16) & 255;
                rgb[3 * i + 1] = (pixels[i] >> 8) & 255;
                rgb[3 * i + 2] = pixels[i] & 255;
            }
            SelectObject(memory, old);
            DeleteObject(bitmap);
        }
        DeleteDC(memory);
        ReleaseDC(m_window, window);
        return ok;
    }

    HWND m_window = nullptr;
};

bool WritePng(const char* path, const std::vector<uint8_t>& rgb) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = WIDTH;
    image.height = HEIGHT;
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path, 0, rgb.data(), WIDTH * 3, nullptr) != 0;
}

TEST_F(RoomStage, DrawsTheTexturedRoom) {
    CRoomRun run(m_window);
    ASSERT_NE(run.GetDevice(), nullptr);
    ASSERT_TRUE(run.stage->IsLoaded());
    run.ResetFrameTimer();
    run.Run();
    ASSERT_EQ(run.passes, 3);

    std::vector<uint8_t> rgb;
    ASSERT_TRUE(ReadWindow(rgb));
    EXPECT_TRUE(WritePng("room.png", rgb));

    // The sky and the room cover the window: hardly a pixel of the clear
    // colour, few black ones, and the many colours of textured, lit surfaces.
    int clear = 0, black = 0;
    std::set<uint32_t> colours;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        uint8_t r = rgb[i], g = rgb[i + 1], b = rgb[i + 2];
        clear += r == 0 && g == 0 && b == 255;
        black += r < 8 && g < 8 && b < 8;
        colours.insert((r << 16) | (g << 8) | b);
    }
    const int pixels = WIDTH * HEIGHT;
    EXPECT_LT(clear, pixels / 100);
    EXPECT_LT(black, pixels / 10);
    EXPECT_GT(colours.size(), 500u);
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
