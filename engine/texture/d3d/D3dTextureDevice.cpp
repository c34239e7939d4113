#include "engine/texture/d3d/D3dTextureDevice.h"

#include "engine/render/RenderHooks.h"
#include "engine/render/Renderer.h"
#include "engine/texture/Texture.h"
#include "platform/texture/D3dxTexture.h"

static_assert((int)TFM_NONE == (int)D3DTEXF_NONE && (int)TFM_POINT == (int)D3DTEXF_POINT &&
                  (int)TFM_LINEAR == (int)D3DTEXF_LINEAR && (int)TFM_ANISOTROPIC == (int)D3DTEXF_ANISOTROPIC,
              "filters are stored as their Direct3D values");

namespace {

DWORD ToD3dAddress(int mode) {
    switch (mode) {
    case TAM_MIRROR: return D3DTADDRESS_MIRROR;
    case TAM_CLAMP: return D3DTADDRESS_CLAMP;
    default: return D3DTADDRESS_WRAP;
    }
}

D3DTEXTURESTAGESTATETYPE ToD3dState(TextureStageSetting setting) {
    switch (setting) {
    case TSS_MINFILTER: return D3DTSS_MINFILTER;
    case TSS_MAGFILTER: return D3DTSS_MAGFILTER;
    case TSS_MIPFILTER: return D3DTSS_MIPFILTER;
    case TSS_ADDRESSU: return D3DTSS_ADDRESSU;
    default: return D3DTSS_ADDRESSV;
    }
}

void BindTexture(CTexture* texture, int stage) {
    if (texture)
        texture->BindToStage(stage);
}

void MakeDefaultTexture() {
    new CFileTexture("dummyTex", "whiteTex.TGA", TFM_LINEAR, TFM_LINEAR, TFM_LINEAR, TAM_WRAP, TAM_WRAP, 1, false);
}

} // namespace

CD3dTextureFrame::~CD3dTextureFrame() {
    if (m_texture)
        m_texture->Release();
}

uint32_t CD3dTextureFrame::GetFormat() const {
    D3DSURFACE_DESC desc;
    if (!m_texture || FAILED(m_texture->GetLevelDesc(0, &desc)))
        return D3DFMT_UNKNOWN;
    return (uint32_t)desc.Format;
}

IDirect3DDevice8* CD3dTextureDevice::GetDevice() const {
    if (m_device)
        return m_device;
    CRenderer* renderer = CRenderer::Current();
    return renderer ? renderer->GetDevice() : nullptr;
}

CTextureFrame* CD3dTextureDevice::CreateFrame(const uint8_t* bytes, size_t size, int mipLevels) {
    IDirect3DDevice8* device = GetDevice();
    if (!device || !bytes || size == 0)
        return nullptr;
    IDirect3DTexture8* texture = nullptr;
    HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
        device, bytes, (UINT)size, 0, 0, (UINT)mipLevels, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT,
        D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER, D3DX_FILTER_NONE, 0, nullptr, nullptr, &texture);
    if (FAILED(hr) || !texture)
        return nullptr;
    return new CD3dTextureFrame(texture);
}

void CD3dTextureDevice::SetStageSetting(int stage, TextureStageSetting setting, int value) {
    if (IDirect3DDevice8* device = GetDevice()) {
        DWORD v = (setting == TSS_ADDRESSU || setting == TSS_ADDRESSV) ? ToD3dAddress(value) : (DWORD)value;
        device->SetTextureStageState((DWORD)stage, ToD3dState(setting), v);
    }
}

void CD3dTextureDevice::SetTexture(int stage, CTextureFrame* frame) {
    if (IDirect3DDevice8* device = GetDevice())
        device->SetTexture((DWORD)stage, frame ? static_cast<CD3dTextureFrame*>(frame)->GetD3dTexture() : nullptr);
}

void CD3dTextureDevice::SetVertexShaderConstant(int reg, const float* values, int count) {
    if (IDirect3DDevice8* device = GetDevice())
        device->SetVertexShaderConstant((DWORD)reg, values, (DWORD)count);
}

IDirect3DTexture8* GetD3dTexture(const CTexture* texture, int frame) {
    CTextureFrame* f = texture ? texture->GetFrame(frame) : nullptr;
    return f ? static_cast<CD3dTextureFrame*>(f)->GetD3dTexture() : nullptr;
}

void InstallTextureHooks() {
    static CD3dTextureDevice renderersDevice;
    SetTextureDevice(&renderersDevice);
    SetTextureStageBinder(BindTexture);
    SetDefaultTextureMaker(MakeDefaultTexture);
}
