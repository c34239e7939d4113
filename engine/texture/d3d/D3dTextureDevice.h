#pragma once
#include <windows.h>
#include <d3d8.h>

#include "engine/texture/TextureDevice.h"

class CTexture;

// A frame holding one IDirect3DTexture8 reference, released with the frame.
class CD3dTextureFrame : public CTextureFrame {
public:
    // Takes over the caller's reference.
    explicit CD3dTextureFrame(IDirect3DTexture8* texture) : m_texture(texture) {}
    ~CD3dTextureFrame() override;

    uint32_t GetFormat() const override;
    IDirect3DTexture8* GetD3dTexture() const { return m_texture; }

    CD3dTextureFrame(const CD3dTextureFrame&) = delete;
    CD3dTextureFrame& operator=(const CD3dTextureFrame&) = delete;

private:
    IDirect3DTexture8* m_texture;
};

// The texture device on Direct3D 8: frames through the D3DX texture loader,
// binding through the device's texture-stage states. Made with a device, it
// uses that one; made without, the current renderer's device at each call.
class CD3dTextureDevice : public ITextureDevice {
public:
    explicit CD3dTextureDevice(IDirect3DDevice8* device = nullptr) : m_device(device) {}

    CTextureFrame* CreateFrame(const uint8_t* bytes, size_t size, int mipLevels) override;
    void SetStageSetting(int stage, TextureStageSetting setting, int value) override;
    void SetTexture(int stage, CTextureFrame* frame) override;
    void SetVertexShaderConstant(int reg, const float* values, int count) override;

    IDirect3DDevice8* GetDevice() const;

private:
    IDirect3DDevice8* m_device;
};

// The Direct3D texture of a texture's frame, or null.
IDirect3DTexture8* GetD3dTexture(const CTexture* texture, int frame);

// Points the texture device at the renderer's device and gives the renderer
// its texture hooks: the stage binder (CTexture::BindToStage) and the maker
// of "dummyTex". Call once before the renderer is built.
void InstallTextureHooks();
