#pragma once
// A fixture for the tests that run the whole system object in a window of
// their own: the data folder and the device and console hooks are set once
// for the suite; each test starts and ends with no launch settings and no
// saved game, its suite's window class registered, and the window it made
// (m_window) destroyed.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "engine/archive/DataFolder.h"
#include "engine/drawlist/DrawList.h"
#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "shell/settings/LaunchConfig.h"
#include "shell/state/StateFile.h"

class SystemWindowTest : public ::testing::Test {
protected:
    SystemWindowTest(const char* className, WNDPROC windowProc) : m_className(className), m_windowProc(windowProc) {}

    static void SetUpTestSuite() {
        SetDataFolder(std::filesystem::current_path().string());
        InstallTextureHooks();
        InstallConsoleHook();
        InstallDrawListHooks();
    }
    void SetUp() override {
        DeleteFileA(LAUNCH_CONFIG_FILE_NAME);
        DeleteFileA(STATE_FILE_NAME);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = m_windowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = m_className;
        RegisterClassA(&wc);
    }
    void TearDown() override {
        if (m_window)
            DestroyWindow(m_window);
        DeleteFileA(LAUNCH_CONFIG_FILE_NAME);
        DeleteFileA(STATE_FILE_NAME);
    }

    HWND m_window = nullptr;

private:
    const char* m_className;
    WNDPROC m_windowProc;
};
