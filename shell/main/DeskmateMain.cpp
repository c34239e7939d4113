// Until the application start lands: a window with a Direct3D 8 device cleared
// each frame.
#include <windows.h>
#include <d3d8.h>

static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY || (msg == WM_KEYDOWN && wp == VK_ESCAPE)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "DeskmateWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "deskmate", WS_POPUP | WS_VISIBLE, 100, 100, 320, 320,
                                nullptr, nullptr, inst, nullptr);
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!hwnd || !d3d) {
        MessageBoxA(nullptr, "Direct3D 8 is not available.", "deskmate", MB_OK | MB_ICONERROR);
        return 1;
    }
    D3DDISPLAYMODE mode;
    d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS pp = {};
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = mode.Format;
    IDirect3DDevice8* device = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                 &pp, &device))) {
        MessageBoxA(nullptr, "The graphics device could not be set up.", "deskmate", MB_OK | MB_ICONERROR);
        d3d->Release();
        return 1;
    }
    ShowWindow(hwnd, show);
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                goto done;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(64, 96, 160), 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        Sleep(16);
    }
done:
    device->Release();
    d3d->Release();
    return (int)msg.wParam;
}
