// The benchmark's baseline: a popup window of the program's size with a
// Direct3D 8 device and one dynamic vertex buffer (filled each frame),
// clearing and presenting at 60 Hz. It does nothing else, so what the program costs beyond it is the
// program's own.
//   bench_baseline.exe [width height]
#include <windows.h>
#include <d3d8.h>

#include <cstdlib>

#include "engine/render/FrameReport.h"

namespace {

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY || (msg == WM_KEYDOWN && wp == VK_ESCAPE)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    int width = 640, height = 640;
    if (__argc >= 3) {
        width = std::atoi(__argv[1]);
        height = std::atoi(__argv[2]);
        if (width <= 0 || height <= 0)
            return 2;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "BenchBaseline";
    RegisterClassA(&wc);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "bench baseline", WS_POPUP, x, y, width, height, nullptr, nullptr,
                                inst, nullptr);
    if (!hwnd)
        return 1;
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (!d3d)
        return 1;
    D3DDISPLAYMODE mode;
    d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.BackBufferFormat = mode.Format;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = hwnd;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D16;
    // Hardware vertex processing first, as the program's renderer does.
    IDirect3DDevice8* device = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params,
                                 &device)) &&
        FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                                 &device))) {
        d3d->Release();
        return 1;
    }
    IDirect3DVertexBuffer8* buffer = nullptr;
    device->CreateVertexBuffer(4096, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &buffer);
    ShowWindow(hwnd, show);

    const DWORD period = 1000 / 60;
    DWORD next = GetTickCount();
    MSG msg;
    bool running = true;
    while (running) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                running = false;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!running)
            break;
        // The buffer is filled every frame as a dynamic buffer is; nothing draws.
        BYTE* bytes = nullptr;
        if (buffer && SUCCEEDED(buffer->Lock(0, 0, &bytes, D3DLOCK_DISCARD))) {
            for (int i = 0; i < 64; ++i)
                bytes[i] = BYTE(i);
            buffer->Unlock();
        }
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0);
        device->BeginScene();
        device->EndScene();
        if (SUCCEEDED(device->Present(nullptr, nullptr, nullptr, nullptr)))
            NoteFramePresented();
        next += period;
        const DWORD now = GetTickCount();
        if (int(next - now) > 0)
            Sleep(next - now);
        else
            next = now;
    }
    if (buffer)
        buffer->Release();
    device->Release();
    d3d->Release();
    DestroyWindow(hwnd);
    return 0;
}
