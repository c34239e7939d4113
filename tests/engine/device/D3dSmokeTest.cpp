// Proves the whole drawing chain on the target: a window, a Direct3D 8 device,
// a vs_1_1 token program with a0-relative constant addressing, a draw, and the
// colour read back from a lockable back buffer.
#include "tests/engine/device/DeviceFixture.h"

#include "engine/vertexprogram/VertexProgramWriter.h"

namespace {

struct Vertex {
    float x, y, z;
};

using D3dSmoke = DeviceTest;

TEST_F(D3dSmoke, TokenProgramDrawsPaletteColour) {
    IDirect3DDevice8* device = m_device;

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
    ASSERT_EQ(
        device->CreateVertexShader((const DWORD*)declTokens.data(), (const DWORD*)programTokens.data(), &shader, 0),
        D3D_OK);

    const float constants[9][4] = {
        {1, 0, 0, 0},    {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, // c0-c3: identity rows (transposed)
        {0, 0, 0, 0},    {2, 0, 0, 0},                             // c5.x: palette offset
        {0, 1, 0, 1},    {0, 0, 1, 1},                             // c6, c7: wrong colours
        {1, 0.5f, 0, 1},                                           // c8: expected orange
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
    ASSERT_TRUE(ReadPixel(SIZE / 2, SIZE / 2, rgb));
    EXPECT_NEAR(rgb[0], 255, 3);
    EXPECT_NEAR(rgb[1], 128, 3);
    EXPECT_NEAR(rgb[2], 0, 3);

    device->DeleteVertexShader(shader);
}

} // namespace
