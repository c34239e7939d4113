// Until the application start lands: the room in the frame loop, in a plain
// popup window, with a fixed camera; its sky and lights follow the world
// clock. Escape ends it.
#include <windows.h>

#include "engine/textconsole/Console.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "engine/drawlist/DrawList.h"
#include "engine/render/ConsoleRenderer.h"
#include "shell/app/RoomStage.h"

namespace {

constexpr int WIDTH = 640, HEIGHT = 480;

class CRoomViewer : public CConsoleRenderer {
public:
    CRoomViewer(HWND window) : CConsoleRenderer(window, WIDTH, HEIGHT, true, false) {}
    ~CRoomViewer() override { delete m_stage; }

    bool Start() {
        if (!GetDevice())
            return false;
        m_stage = new CRoomStage(WIDTH, HEIGHT);
        return m_stage->IsLoaded();
    }
    int Update(float stepMs) override {
        m_stage->Update(stepMs);
        m_stage->Queue();
        return 0;
    }

private:
    CRoomStage* m_stage = nullptr;
};

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY || (msg == WM_KEYDOWN && wp == VK_ESCAPE)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "DeskmateWindow";
    RegisterClassA(&wc);
    int x = (GetSystemMetrics(SM_CXSCREEN) - WIDTH) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - HEIGHT) / 2;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "deskmate", WS_POPUP, x, y, WIDTH, HEIGHT, nullptr, nullptr, inst,
                                nullptr);
    if (!hwnd)
        return 1;
    InstallTextureHooks();
    InstallConsoleHook();
    InstallDrawListHooks();
    int result = 1;
    {
        CRoomViewer viewer(hwnd);
        if (!viewer.Start()) {
            MessageBoxA(nullptr,
                        viewer.GetDevice() ? "The files needed for start-up could not be read."
                                           : "The graphics device could not be set up.",
                        "deskmate", MB_OK | MB_ICONERROR);
        } else {
            ShowWindow(hwnd, show);
            viewer.ResetFrameTimer();
            result = viewer.Run();
        }
    }
    DestroyWindow(hwnd);
    return result;
}
