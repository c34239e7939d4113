// The desktop around full screen: maximised windows are minimised and come
// back maximised; normal windows get their place back.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/placement/WindowPlacementKeeper.h"

namespace {

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlacementTestWindow";
        RegisterClassA(&wc);
        m_normal = Make(100, 120, 300, 200);
        m_maximised = Make(50, 60, 320, 240);
        m_hidden = CreateWindowExA(0, "PlacementTestWindow", "hidden", WS_OVERLAPPEDWINDOW, 10, 10, 100, 100, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(m_maximised, SW_SHOWMAXIMIZED);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(m_normal);
        DestroyWindow(m_maximised);
        DestroyWindow(m_hidden);
    }
    HWND Make(int x, int y, int w, int h) {
        HWND window = CreateWindowExA(0, "PlacementTestWindow", "editor", WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        return window;
    }
    static void Pump() {
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(10);
        }
    }
    HWND m_normal = nullptr, m_maximised = nullptr, m_hidden = nullptr;
};

TEST_F(Desktop, MaximisedWindowIsMinimisedAndComesBackMaximised) {
    ASSERT_TRUE(IsZoomed(m_maximised));
    CWindowPlacementKeeper& keeper = CWindowPlacementKeeper::Instance();
    keeper.SaveAndMinimize(nullptr);
    Pump();
    EXPECT_TRUE(keeper.HasSaved(m_normal));
    EXPECT_TRUE(keeper.HasSaved(m_maximised));
    EXPECT_FALSE(keeper.HasSaved(m_hidden));
    EXPECT_TRUE(IsIconic(m_maximised));
    EXPECT_FALSE(IsIconic(m_normal));

    // Something moves the normal window meanwhile.
    SetWindowPos(m_normal, nullptr, 400, 300, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    keeper.RestoreAll();
    Pump();
    EXPECT_TRUE(IsZoomed(m_maximised));
    RECT r;
    GetWindowRect(m_normal, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    EXPECT_FALSE(keeper.HasSaved(m_normal)); // a restore empties the record
}

TEST_F(Desktop, ExceptedAndMinimisedWindowsAreLeftAlone) {
    ShowWindow(m_normal, SW_SHOWMINNOACTIVE);
    Pump();
    CWindowPlacementKeeper& keeper = CWindowPlacementKeeper::Instance();
    keeper.SaveAndMinimize(m_maximised);
    Pump();
    EXPECT_FALSE(keeper.HasSaved(m_normal));    // already minimised
    EXPECT_FALSE(keeper.HasSaved(m_maximised)); // excepted
    EXPECT_TRUE(IsZoomed(m_maximised));
    keeper.RestoreAll();
}

TEST_F(Desktop, ASecondSaveForgetsTheFirst) {
    CWindowPlacementKeeper& keeper = CWindowPlacementKeeper::Instance();
    keeper.SaveAndMinimize(nullptr);
    Pump();
    ASSERT_TRUE(keeper.HasSaved(m_normal));
    keeper.SaveAndMinimize(m_normal);
    EXPECT_FALSE(keeper.HasSaved(m_normal));
    SetWindowPos(m_normal, nullptr, 400, 300, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    keeper.RestoreAll();
    RECT r;
    GetWindowRect(m_normal, &r);
    EXPECT_EQ(r.left, 400); // not put back: the first save was forgotten
}

} // namespace
