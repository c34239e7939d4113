// The splash on its own thread: shown centred and shaped, drawn as its
// picture, kept until the asked time and gone after Close.
#include <gtest/gtest.h>
#include <windows.h>

#include <mmsystem.h>

#include <string>
#include <vector>

#include "engine/window/Dib.h"
#include "shell/splash/SplashThread.h"
#include "tests/support/PictureCompare.h"

namespace {

BOOL CALLBACK MatchSplash(HWND w, LPARAM out) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char title[16] = {};
    GetWindowTextA(w, title, sizeof title);
    if (pid == GetCurrentProcessId() && std::string(title) == "test" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

HWND FindSplash(DWORD timeoutMs = 10000) {
    for (DWORD waited = 0;; waited += 20) {
        HWND found = nullptr;
        EnumWindows(MatchSplash, reinterpret_cast<LPARAM>(&found));
        if (found || waited >= timeoutMs)
            return found;
        Sleep(20);
    }
}

RgbPicture CaptureScreen(const RECT& r) {
    RgbPicture p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const uint8_t* px = static_cast<const uint8_t*>(bits);
    for (int i = 0; i < p.width * p.height; ++i) {
        p.rgb.push_back(px[i * 4 + 2]);
        p.rgb.push_back(px[i * 4 + 1]);
        p.rgb.push_back(px[i * 4 + 0]);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return p;
}

TEST(SplashThread, ShowsItsPictureCentredAndShaped) {
    CSplashThread::Start();
    HWND splash = FindSplash();
    ASSERT_NE(splash, nullptr);
    RECT r;
    GetWindowRect(splash, &r);
    EXPECT_EQ(r.right - r.left, 452);
    EXPECT_EQ(r.bottom - r.top, 452);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 452) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 452) / 2);
    EXPECT_TRUE(GetWindowLongA(splash, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // The outline leaves the green corners out and takes the middle in.
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(splash, outline), ERROR);
    EXPECT_FALSE(PtInRegion(outline, 2, 2));
    EXPECT_FALSE(PtInRegion(outline, 449, 449));
    EXPECT_TRUE(PtInRegion(outline, 226, 226));
    EXPECT_TRUE(PtInRegion(outline, 226, 20));

    // What the screen shows inside the outline is the picture itself.
    Sleep(500);
    RgbPicture shown = CaptureScreen(r);
    WriteRgbPng("splash.png", shown);
    CDib picture;
    ASSERT_TRUE(picture.LoadFromResource(IDB_SPLASH));
    ASSERT_EQ(picture.GetBitCount(), 24);
    RgbPicture expected = shown;
    for (int y = 0; y < 452; ++y)
        for (int x = 0; x < 452; ++x) {
            size_t at = (size_t(y) * 452 + size_t(x)) * 3;
            if (!PtInRegion(outline, x, y))
                continue; // outside: whatever lies under the splash
            const BYTE* src = picture.GetBits() + size_t(451 - y) * size_t(picture.GetStride()) + size_t(x) * 3;
            expected.rgb[at] = src[2], expected.rgb[at + 1] = src[1], expected.rgb[at + 2] = src[0];
        }
    DeleteObject(outline);
    PictureDifference d = ComparePictures(shown, expected);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LT(d.meanChannelDifference, 1.0);
    EXPECT_LT(d.changedShare, 0.002);

    CSplashThread::Close(0);
    EXPECT_FALSE(CSplashThread::IsRunning());
    EXPECT_FALSE(IsWindow(splash));
}

TEST(SplashThread, StaysUntilTheAskedTimeAfterItsStart) {
    const DWORD start = timeGetTime();
    CSplashThread::Start();
    ASSERT_NE(FindSplash(), nullptr);
    Sleep(300); // a short set-up
    CSplashThread::Close(1500);
    const DWORD elapsed = timeGetTime() - start;
    EXPECT_GE(elapsed, 1490u);
    EXPECT_LT(elapsed, 4500u);
    EXPECT_EQ(FindSplash(0), nullptr);
    // A set-up that took longer than the time closes it at once. (Hiding a
    // window takes Wine two seconds on a display without a window manager:
    // it waits that long for the unmapping to be confirmed.)
    CSplashThread::Start();
    ASSERT_NE(FindSplash(), nullptr);
    Sleep(1500);
    const DWORD before = timeGetTime();
    CSplashThread::Close(1000);
    EXPECT_LT(timeGetTime() - before, 3000u);
}

TEST(SplashThread, ClosingAtOnceNeverHangs) {
    // Closed before its thread can have made its queue or its window.
    const DWORD before = timeGetTime();
    CSplashThread::Start();
    CSplashThread::Close(0);
    EXPECT_LT(timeGetTime() - before, 5000u);
    EXPECT_FALSE(CSplashThread::IsRunning());
    EXPECT_EQ(FindSplash(0), nullptr);
    CSplashThread::Close(0); // none running: nothing happens
}

} // namespace
