// Proves the whole drawing chain on the target: a window, a Direct3D 8 device,
// a vs_1_1 token program with a0-relative constant addressing, a draw, and the
// colour read back from a lockable back buffer.
#include <gtest/gtest.h>

#include <windows.h>
#include <d3d8.h>

#include "engine/shader/VertexProgramWriter.h"

namespace {

constexpr int SIZE = 64;

struct Vertex {
    float x, y, z;
};

HWND MakeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "D3dSmokeTest";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "smoke", WS_POPUP | WS_VISIBLE, 0, 0, SIZE, SIZE, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// (r, g, b) of the back buffer's pixel, for the 32- and 16-bit formats.
bool ReadPixel(IDirect3DDevice8* device, int x, int y, int rgb[3]) {
    IDirect3DSurface8* back = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back)))
        return false;
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    D3DLOCKED_RECT lr;
    bool ok = SUCCEEDED(back->LockRect(&lr, nullptr, D3DLOCK_READONLY));
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
        back->UnlockRect();
    }
    back->Release();
    return ok;
}

TEST(D3dSmoke, TokenProgramDrawsPaletteColour) {
    HWND hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DDISPLAYMODE mode;
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = SIZE;
    pp.BackBufferHeight = SIZE;
    pp.BackBufferFormat = mode.Format;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = hwnd;
    pp.Windowed = TRUE;
    pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    IDirect3DDevice8* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp,
                                &device),
              D3D_OK);

    // oPos = v0 × (c0..c3); a0.x = c5.x (2); oD0 = c[a0.x + 6] = c8.
    CVertexDeclarationWriter decl;
    decl.Stream(0);
    decl.Reg(0, VSD_FLOAT3);
    CVertexProgramWriter vs;
    for (uint32_t i = 0; i < 4; ++i)
        vs.Dp4(VsOut::Pos().Mask(1u << i), VsIn::V(0), VsIn::C(i));
    vs.Mov(VsOut::A0(), VsIn::C(5).Swz("x"));
    vs.Mov(VsOut::D(0), VsIn::C(6).Rel());
    std::vector<uint32_t> declTokens = decl.Finish(), programTokens = vs.Finish();
    DWORD shader = 0;
    ASSERT_EQ(device->CreateVertexShader((const DWORD*)declTokens.data(), (const DWORD*)programTokens.data(),
                                         &shader, 0),
              D3D_OK);

    const float constants[9][4] = {
        {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, // c0-c3: identity rows (transposed)
        {0, 0, 0, 0}, {2, 0, 0, 0},                             // c5.x: palette offset
        {0, 1, 0, 1}, {0, 0, 1, 1},                             // c6, c7: wrong colours
        {1, 0.5f, 0, 1},                                        // c8: expected orange
    };
    device->SetVertexShaderConstant(0, constants, 9);
    device->SetVertexShader(shader);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);

    const Vertex tri[3] = {{-1, -1, 0.5f}, {3, -1, 0.5f}, {-1, 3, 0.5f}};
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 255), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, sizeof(Vertex)), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);

    int rgb[3] = {-1, -1, -1};
    ASSERT_TRUE(ReadPixel(device, SIZE / 2, SIZE / 2, rgb));
    EXPECT_NEAR(rgb[0], 255, 3);
    EXPECT_NEAR(rgb[1], 128, 3);
    EXPECT_NEAR(rgb[2], 0, 3);

    device->DeleteVertexShader(shader);
    device->Release();
    d3d->Release();
    DestroyWindow(hwnd);
}

} // namespace
