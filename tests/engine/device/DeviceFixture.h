#pragma once
// Windows and back-buffer reads (a pixel, the whole picture) for the tests that draw through the real
// Direct3D 8 device, and a fixture with a small window and a windowed device.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d8.h>

#include <filesystem>
#include <system_error>

#include "engine/archive/DataFolder.h"
#include "engine/drawlist/DrawList.h"
#include "engine/render/RenderHooks.h"
#include "engine/texture/TextureDevice.h"
#include "engine/texture/d3d/D3dTextureDevice.h"
#include "tests/support/PictureCompare.h"

// A visible popup window at the top left corner for a device to draw in.
inline HWND MakeDeviceTestWindow(int width, int height) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DeviceTestWindow";
    RegisterClassA(&wc); // fails harmlessly once registered
    return CreateWindowExA(0, wc.lpszClassName, "device test", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// (r, g, b) of a back-buffer pixel, for the 32- and 16-bit formats. A back
// buffer that cannot be locked is read through a copy.
inline bool ReadBackBufferPixel(IDirect3DDevice8* device, int x, int y, int rgb[3]) {
    IDirect3DSurface8* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    IDirect3DSurface8* copy = nullptr;
    IDirect3DSurface8* read = back;
    D3DLOCKED_RECT lr;
    bool ok = SUCCEEDED(read->LockRect(&lr, nullptr, D3DLOCK_READONLY));
    if (!ok && SUCCEEDED(device->CreateImageSurface(desc.Width, desc.Height, desc.Format, &copy)) &&
        SUCCEEDED(device->CopyRects(back, nullptr, 0, copy, nullptr))) {
        read = copy;
        ok = SUCCEEDED(read->LockRect(&lr, nullptr, D3DLOCK_READONLY));
    }
    if (ok) {
        const BYTE* row = (const BYTE*)lr.pBits + y * lr.Pitch;
        if (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8) {
            DWORD p = ((const DWORD*)row)[x];
            rgb[0] = (p >> 16) & 255, rgb[1] = (p >> 8) & 255, rgb[2] = p & 255;
        } else if (desc.Format == D3DFMT_R5G6B5) {
            WORD p = ((const WORD*)row)[x];
            rgb[0] = ((p >> 11) & 31) * 255 / 31, rgb[1] = ((p >> 5) & 63) * 255 / 63, rgb[2] = (p & 31) * 255 / 31;
        } else {
            ok = false;
        }
        read->UnlockRect();
    }
    if (copy)
        copy->Release();
    back->Release();
    return ok;
}

// The whole 32-bit back buffer, rows top first; one that cannot be locked is
// read through a copy.
inline bool ReadBackBuffer(IDirect3DDevice8* device, RgbPicture& out) {
    IDirect3DSurface8* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    D3DLOCKED_RECT lr;
    IDirect3DSurface8* copy = nullptr;
    IDirect3DSurface8* read = back;
    bool ok = desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8;
    if (ok && FAILED(read->LockRect(&lr, nullptr, D3DLOCK_READONLY))) {
        ok = SUCCEEDED(device->CreateImageSurface(desc.Width, desc.Height, desc.Format, &copy)) &&
             SUCCEEDED(device->CopyRects(back, nullptr, 0, copy, nullptr));
        read = copy;
        ok = ok && SUCCEEDED(read->LockRect(&lr, nullptr, D3DLOCK_READONLY));
    }
    if (ok) {
        out.width = int(desc.Width);
        out.height = int(desc.Height);
        out.rgb.resize(size_t(out.width) * size_t(out.height) * 3);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                DWORD p = ((const DWORD*)((const BYTE*)lr.pBits + y * lr.Pitch))[x];
                uint8_t* q = &out.rgb[(size_t(y) * size_t(out.width) + size_t(x)) * 3];
                q[0] = uint8_t(p >> 16), q[1] = uint8_t(p >> 8), q[2] = uint8_t(p);
            }
        read->UnlockRect();
    }
    if (copy)
        copy->Release();
    back->Release();
    return ok;
}

// Takes out the texture and draw-list hooks that a renderer over the
// program's data installs, once the renderer is gone.
inline void RemoveDeviceHooks() {
    SetDrawListPass(nullptr);
    SetTextureDevice(nullptr);
    SetTextureStageBinder(nullptr);
    SetDefaultTextureMaker(nullptr);
}

// A working directory of the test's own while a renderer runs: it writes
// "init.log" in the current directory, which other test programs running
// beside this one read. Leave goes back and removes the folder.
class ScratchDirectory {
public:
    void Enter(const std::filesystem::path& folder) {
        m_saved = std::filesystem::current_path();
        m_folder = folder;
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    void Leave() {
        std::error_code ec;
        if (!m_saved.empty())
            std::filesystem::current_path(m_saved, ec);
        if (!m_folder.empty())
            std::filesystem::remove_all(m_folder, ec);
    }
    // The working directory before, where the test program stands.
    const std::filesystem::path& Saved() const { return m_saved; }

private:
    std::filesystem::path m_saved, m_folder;
};

// For the tests that draw the program's generated data: the data folder is
// the test program's own (where the build packs the archives), the working
// directory a scratch one and the device hooks are in; Leave, once the
// renderer is gone, takes the hooks out and puts both folders back.
class GeneratedDataRun {
public:
    void Enter(const std::filesystem::path& scratch) {
        m_savedFolder = GetDataFolder();
        SetDataFolder(std::filesystem::current_path().string());
        m_scratch.Enter(scratch);
        InstallTextureHooks();
        InstallDrawListHooks();
    }
    void Leave() {
        RemoveDeviceHooks();
        if (!m_savedFolder.empty())
            SetDataFolder(m_savedFolder);
        m_scratch.Leave();
    }
    // Where the test program stands, for the pictures it leaves to look at.
    const std::filesystem::path& ProgramFolder() const { return m_scratch.Saved(); }

private:
    std::string m_savedFolder;
    ScratchDirectory m_scratch;
};

class DeviceTest : public ::testing::Test {
protected:
    static constexpr int SIZE = 64;

    void SetUp() override {
        m_window = MakeDeviceTestWindow(SIZE, SIZE);
        ASSERT_NE(m_window, nullptr);
        m_d3d = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(m_d3d, nullptr);
        D3DDISPLAYMODE mode;
        ASSERT_EQ(m_d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
        D3DPRESENT_PARAMETERS pp = {};
        pp.BackBufferWidth = SIZE;
        pp.BackBufferHeight = SIZE;
        pp.BackBufferFormat = mode.Format;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = m_window;
        pp.Windowed = TRUE;
        pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        ASSERT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                      &pp, &m_device),
                  D3D_OK);
    }

    void TearDown() override {
        if (m_device)
            m_device->Release();
        if (m_d3d)
            m_d3d->Release();
        if (m_window)
            DestroyWindow(m_window);
    }

    bool ReadPixel(int x, int y, int rgb[3]) { return ReadBackBufferPixel(m_device, x, y, rgb); }

    HWND m_window = nullptr;
    IDirect3D8* m_d3d = nullptr;
    IDirect3DDevice8* m_device = nullptr;
};
