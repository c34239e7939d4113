// Textures from image bytes on the real device: the format follows the
// image's alpha, the texels arrive, and a default-pool texture bound through
// the texture device draws.
#include <gtest/gtest.h>

#include "tests/engine/device/DeviceFixture.h"

#include <windows.h>
#include <d3d8.h>

#include "engine/texture/d3d/D3dTextureDevice.h"
#include "engine/texture/Texture.h"
#include "tests/platform/image/TestImages.h"
#include "platform/texture/D3dxTexture.h"

namespace {

class TextureDeviceTest : public DeviceTest {
protected:
    IDirect3DTexture8* Create(const testimages::Bytes& bytes, UINT mipLevels, D3DPOOL pool) {
        IDirect3DTexture8* texture = nullptr;
        HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
            m_device, bytes.data(), (UINT)bytes.size(), 0, 0, mipLevels, 0, D3DFMT_UNKNOWN, pool,
            D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER, D3DX_FILTER_NONE, 0, nullptr, nullptr, &texture);
        EXPECT_EQ(hr, D3D_OK);
        return texture;
    }

    static D3DFORMAT Format(IDirect3DTexture8* texture, UINT level = 0) {
        D3DSURFACE_DESC desc;
        texture->GetLevelDesc(level, &desc);
        return desc.Format;
    }

    static DWORD Texel(IDirect3DTexture8* texture, UINT level, int x, int y) {
        D3DLOCKED_RECT locked;
        if (FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY)))
            return 0xdeadbeef;
        DWORD v = ((const DWORD*)((const BYTE*)locked.pBits + y * locked.Pitch))[x];
        texture->UnlockRect(level);
        return v;
    }
};

TEST_F(TextureDeviceTest, PngAndDdsGiveTheirFormatAndTexels) {
    using namespace testimages;
    CImage clear = Pattern(4, 4, true), opaque = Pattern(4, 4, false);
    struct Case {
        const char* name;
        Bytes bytes;
        D3DFORMAT format;
        int x, y;
        DWORD texel, mask;
    } cases[] = {
        {"png alpha", Png(clear, true), D3DFMT_A8R8G8B8, 1, 2, clear.Texel(1, 2), 0xffffffff},
        {"png opaque", Png(opaque, false), D3DFMT_X8R8G8B8, 3, 1, opaque.Texel(3, 1), 0x00ffffff},
        {"dds argb", DdsArgb(clear, true), D3DFMT_A8R8G8B8, 2, 3, clear.Texel(2, 3), 0xffffffff},
        {"dds dxt1", DdsDxt("DXT1"), D3DFMT_X8R8G8B8, 1, 0, 0xffff0000, 0x00ffffff},
        {"dds dxt5", DdsDxt("DXT5"), D3DFMT_A8R8G8B8, 0, 0, 0x88ff0000, 0xffffffff},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IDirect3DTexture8* managed = Create(c.bytes, 1, D3DPOOL_MANAGED);
        ASSERT_NE(managed, nullptr);
        EXPECT_EQ(Format(managed), c.format);
        EXPECT_EQ(managed->GetLevelCount(), 1u);
        EXPECT_EQ(Texel(managed, 0, c.x, c.y) & c.mask, c.texel & c.mask);
        managed->Release();

        // The loader's own settings: default pool.
        IDirect3DTexture8* pooled = Create(c.bytes, 1, D3DPOOL_DEFAULT);
        ASSERT_NE(pooled, nullptr);
        EXPECT_EQ(Format(pooled), c.format);
        pooled->Release();
    }

    // A full mip chain on request; bad bytes give no texture.
    IDirect3DTexture8* chain = Create(Png(clear, true), 0, D3DPOOL_MANAGED);
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chain->GetLevelCount(), 3u);
    chain->Release();
    Bytes broken = Png(clear, true);
    broken.resize(broken.size() / 2);
    IDirect3DTexture8* none = reinterpret_cast<IDirect3DTexture8*>(1);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(m_device, broken.data(), (UINT)broken.size(), 0, 0, 1, 0,
                                                  D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, D3DX_FILTER_TRIANGLE,
                                                  D3DX_FILTER_NONE, 0, nullptr, nullptr, &none),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(none, nullptr);
}

// A default-pool frame made and bound through the texture device draws its
// texels: the top-left quarter of a 2 × 2 texture, point-sampled.
TEST_F(TextureDeviceTest, BoundFrameDrawsItsTexels) {
    using namespace testimages;
    CImage image;
    ASSERT_TRUE(image.Allocate(2, 2));
    const uint32_t colours[4] = {0xffff8000, 0xff00ff00, 0xff0000ff, 0xffffffff};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 4; ++b)
            image.Row(i / 2)[(i % 2) * 4 + b] = (uint8_t)(colours[i] >> (8 * b));
    Bytes tga = Tga(image, 24);

    CD3dTextureDevice device(m_device);
    SetTextureDevice(&device);
    CTexture texture("drawn", TFM_POINT, TFM_POINT, TFM_NONE, TAM_CLAMP, TAM_CLAMP, 1, false);
    CTextureFrame* frame = device.CreateFrame(tga.data(), tga.size(), 1);
    ASSERT_NE(frame, nullptr);
    texture.AppendFrame(frame);
    EXPECT_FALSE(texture.IsTranslucent());
    EXPECT_EQ(frame->GetFormat(), (uint32_t)D3DFMT_X8R8G8B8);
    texture.BindToStage(0);
    SetTextureDevice(nullptr);

    struct Vertex {
        float x, y, z, rhw, u, v;
    };
    const Vertex quad[4] = {
        {0, 0, 0.5f, 1, 0, 0}, {SIZE, 0, 0.5f, 1, 1, 0}, {0, SIZE, 0.5f, 1, 0, 1}, {SIZE, SIZE, 0.5f, 1, 1, 1}};
    m_device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_TEX1);
    m_device->SetRenderState(D3DRS_LIGHTING, FALSE);
    m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    m_device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    m_device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
    ASSERT_EQ(m_device->BeginScene(), D3D_OK);
    ASSERT_EQ(m_device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex)), D3D_OK);
    ASSERT_EQ(m_device->EndScene(), D3D_OK);
    m_device->SetTexture(0, nullptr);

    auto pixel = [&](int x, int y) -> DWORD {
        int rgb[3] = {0, 0, 0};
        EXPECT_TRUE(ReadPixel(x, y, rgb));
        return DWORD(rgb[0]) << 16 | DWORD(rgb[1]) << 8 | DWORD(rgb[2]);
    };
    DWORD topLeft = pixel(SIZE / 4, SIZE / 4), bottomRight = pixel(3 * SIZE / 4, 3 * SIZE / 4);
    DWORD topRight = pixel(3 * SIZE / 4, SIZE / 4);
    auto isClose = [](DWORD got, DWORD want) {
        for (int s = 0; s < 24; s += 8) {
            int d = (int)((got >> s) & 255) - (int)((want >> s) & 255);
            if (d < -8 || d > 8)
                return false;
        }
        return true;
    };
    EXPECT_TRUE(isClose(topLeft, 0xff8000)) << std::hex << topLeft;
    EXPECT_TRUE(isClose(topRight, 0x00ff00)) << std::hex << topRight;
    EXPECT_TRUE(isClose(bottomRight, 0xffffff)) << std::hex << bottomRight;
}

// A picture wider than the device's limit (held at IMAGE_MAX_SIDE at most)
// gives no texture; one at the limit does.
TEST_F(TextureDeviceTest, ImagesBeyondTheTextureLimitAreRefused) {
    using namespace testimages;
    D3DCAPS8 caps;
    ASSERT_EQ(m_device->GetDeviceCaps(&caps), D3D_OK);
    int limit = ImageLimits::Within(caps.MaxTextureWidth, caps.MaxTextureHeight).maxWidth;
    ASSERT_GT(limit, 256);
    for (int width : {limit, limit + 1}) {
        SCOPED_TRACE(width);
        CImage line;
        ASSERT_TRUE(line.Allocate(width == limit ? width : 1, 1));
        Bytes bmp = Bmp(line, 24);
        if (width != limit) {
            // The same header claiming one texel more than the limit, with its pixels there.
            WriteLe32(bmp.data() + 18, (uint32_t)width);
            bmp.resize(54 + (((size_t)width * 3 + 3) & ~(size_t)3), 0);
        }
        IDirect3DTexture8* texture = reinterpret_cast<IDirect3DTexture8*>(1);
        HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(m_device, bmp.data(), (UINT)bmp.size(), 0, 0, 1, 0,
                                                         D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                                         D3DX_FILTER_NONE, 0, nullptr, nullptr, &texture);
        if (width == limit) {
            ASSERT_EQ(hr, D3D_OK);
            ASSERT_NE(texture, nullptr);
            texture->Release();
        } else {
            EXPECT_EQ(hr, D3DXERR_INVALIDDATA);
            EXPECT_EQ(texture, nullptr);
        }
    }
}

// A 16-bit TGA without an alpha bit is opaque: asked for with an alpha
// format its texels stay visible, and an opaque colour key finds its colour.
TEST_F(TextureDeviceTest, SixteenBitTgaWithoutAlphaBitIsOpaque) {
    using namespace testimages;
    const uint16_t red = 0x7c00, blue = 0x001f; // top bit clear in both
    for (int alphaBits : {0, 1}) {
        SCOPED_TRACE(alphaBits);
        Bytes tga = Tga16(2, 1, {red, blue}, alphaBits);
        IDirect3DTexture8* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(m_device, tga.data(), (UINT)tga.size(), 0, 0, 1, 0,
                                                      D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                                      D3DX_FILTER_NONE, 0xffff0000, nullptr, nullptr, &texture),
                  D3D_OK);
        ASSERT_NE(texture, nullptr);
        // Keyed red becomes transparent black; blue keeps its alpha.
        EXPECT_EQ(Texel(texture, 0, 0, 0), alphaBits ? 0x00ff0000u : 0x00000000u);
        EXPECT_EQ(Texel(texture, 0, 1, 0), alphaBits ? 0x000000ffu : 0xff0000ffu);
        texture->Release();
    }
}

} // namespace
