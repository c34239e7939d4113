#pragma once
#include <cstddef>
#include <cstdint>

// What a texture needs from the graphics device, in terms free of the
// Direct3D headers: the Direct3D side (engine/d3dtexture) implements it for
// the real device, tests with a recording stand-in.

// One device texture, a frame of a CTexture, which owns it: deleting the
// frame releases the device texture.
class CTextureFrame {
public:
    virtual ~CTextureFrame() = default;
    // The D3DFORMAT value of level 0.
    virtual uint32_t GetFormat() const = 0;
};

// The sampler states a texture sets on its stage.
enum TextureStageSetting {
    TSS_MINFILTER = 0,
    TSS_MAGFILTER,
    TSS_MIPFILTER,
    TSS_ADDRESSU,
    TSS_ADDRESSV,
};

class ITextureDevice {
public:
    virtual ~ITextureDevice() = default;
    // A texture from image bytes with the file texture's settings (size and
    // format from the image, the given mip levels, default pool, triangle
    // filter with dither, no colour key); null when the bytes do not decode.
    virtual CTextureFrame* CreateFrame(const uint8_t* bytes, size_t size, int mipLevels) = 0;
    // Filters take TextureFilter values, addressing TextureAddress values.
    virtual void SetStageSetting(int stage, TextureStageSetting setting, int value) = 0;
    // A null frame unbinds the stage.
    virtual void SetTexture(int stage, CTextureFrame* frame) = 0;
    virtual void SetVertexShaderConstant(int reg, const float* values, int count) = 0;
};

// The device every texture loads and binds through; null before the
// renderer's device exists (textures then load no frames and bind nothing).
void SetTextureDevice(ITextureDevice* device);
ITextureDevice* GetTextureDevice();

// Pixel formats, as their D3DFORMAT values, that carry an alpha channel.
bool IsTranslucentFormat(uint32_t format);
