#pragma once
// A fixture for the tests that draw a scene on the device and read it back
// from the screen: the data folder and the device hooks are set once for the
// suite, each test gets a visible topmost popup window of the scene's size,
// and a settings fake that answers that size.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "engine/archive/DataFolder.h"
#include "engine/drawlist/DrawList.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "tests/shell/support/FakeSetting.h"
#include "tests/support/ScreenCapture.h"

class SceneWindowTest : public ::testing::Test {
protected:
    // The window class is registered under its own name for each suite.
    SceneWindowTest(const char* className, const char* title, int width, int height)
        : m_setting(width, height),
          m_className(className),
          m_title(title),
          m_width(width),
          m_height(height) {}

    static void SetUpTestSuite() {
        SetDataFolder(std::filesystem::current_path().string());
        InstallTextureHooks();
        InstallDrawListHooks();
    }
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = m_className;
        RegisterClassA(&wc);
        m_window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, m_title, WS_POPUP | WS_VISIBLE, 0, 0, m_width,
                                   m_height, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(m_window, nullptr);
    }
    void TearDown() override { DestroyWindow(m_window); }

    // What the window shows on the screen now.
    RgbPicture CaptureWindow() const {
        POINT origin = {0, 0};
        ClientToScreen(m_window, &origin);
        return CaptureScreen({origin.x, origin.y, origin.x + m_width, origin.y + m_height});
    }

    HWND m_window = nullptr;
    FakeSetting m_setting;

private:
    const char* m_className;
    const char* m_title;
    int m_width, m_height;
};

// The same for scenes drawn with the text console over them.
class ConsoleSceneWindowTest : public SceneWindowTest {
protected:
    using SceneWindowTest::SceneWindowTest;

    static void SetUpTestSuite() {
        SceneWindowTest::SetUpTestSuite();
        InstallConsoleHook();
    }
};
