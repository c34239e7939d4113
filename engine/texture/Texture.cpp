#include "engine/texture/Texture.h"

#include <cmath>
#include <cstdio>

#include "engine/anim/AnimAttribute.h"
#include "engine/archive/TextureArchives.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceKind.h"
#include "engine/resource/ResourceManager.h"
#include "engine/texture/TextureDevice.h"

namespace {

// Frame stamps count up and may wrap; compare by difference.
bool IsLater(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b) > 0; }

} // namespace

CTexture::CTexture(const char* name, int magFilter, int minFilter, int mipFilter, int addressU, int addressV,
                   int mipLevels, bool animated)
    : CResource(name, RT_TEXTURE),
      m_magFilter(magFilter),
      m_minFilter(minFilter),
      m_mipFilter(mipFilter),
      m_addressU(addressU),
      m_addressV(addressV),
      m_mipLevels(mipLevels),
      m_translucent(false),
      m_animated(animated),
      m_channels{CChannel(this, 1.0f), CChannel(this, 0.0f), CChannel(this, 0.0f),
                 CChannel(this, 0.0f), CChannel(this, 1.0f), CChannel(this, 1.0f)},
      m_matrixStamp(FrameStamp - 1) {}

CTexture::~CTexture() { ReleaseDeviceObjects(); }

CHandle CTexture::GetChannel(int attribute) {
    switch (attribute) {
    case AA_FRAME_EXTENSION: return m_channels[TXC_FRAME].GetHandle();
    case AA_TRANSLATION_U: return m_channels[TXC_OFFSET_U].GetHandle();
    case AA_TRANSLATION_V: return m_channels[TXC_OFFSET_V].GetHandle();
    case AA_ROTATION_W: return m_channels[TXC_ROTATION].GetHandle();
    case AA_SCALE_U: return m_channels[TXC_SCALE_U].GetHandle();
    case AA_SCALE_V: return m_channels[TXC_SCALE_V].GetHandle();
    default: return NULL_HANDLE;
    }
}

void CTexture::ReleaseDeviceObjects() {
    for (CTextureFrame* frame : m_frames)
        delete frame;
    m_frames.clear();
}

void CTexture::SetChannelValue(int slot, float value) {
    if (slot < 0 || slot >= TXC_COUNT)
        return;
    m_channels[slot].m_value = value;
    Touch();
}

int CTexture::GetFrameIndex() const {
    int count = (int)m_frames.size();
    if (count == 0)
        return -1;
    // Clamped as a float first: a huge or NaN channel value must not reach
    // the integer conversion.
    float value = m_channels[TXC_FRAME].m_value;
    if (!(value >= 1.0f))
        return 0;
    if (value >= (float)count)
        return count - 1;
    return (int)value - 1;
}

CTextureFrame* CTexture::GetFrame(int index) const {
    return index >= 0 && index < (int)m_frames.size() ? m_frames[index] : nullptr;
}

void CTexture::AppendFrame(CTextureFrame* frame) {
    if (!frame)
        return;
    m_frames.push_back(frame);
    UpdateTranslucency();
}

void CTexture::UpdateTranslucency() {
    CTextureFrame* first = GetFrame(0);
    m_translucent = first && IsTranslucentFormat(first->GetFormat());
}

const CMatrix& CTexture::GetCoordinateMatrix() {
    if (IsLater(GetChangeStamp(), m_matrixStamp)) {
        float su = m_channels[TXC_SCALE_U].m_value, sv = m_channels[TXC_SCALE_V].m_value;
        float tu = m_channels[TXC_OFFSET_U].m_value, tv = m_channels[TXC_OFFSET_V].m_value;
        float w = m_channels[TXC_ROTATION].m_value;
        CMatrix s, t, r, st;
        s(0, 0) = su, s(1, 1) = sv, s(2, 2) = 0.0f;
        t(2, 2) = 0.0f, t(3, 0) = tu - 0.5f, t(3, 1) = tv - 0.5f;
        float c = std::cos(w), n = std::sin(w);
        r(0, 0) = c, r(0, 1) = n, r(1, 0) = -n, r(1, 1) = c, r(2, 2) = 0.0f, r(3, 0) = 0.5f, r(3, 1) = 0.5f;
        D3DXMatrixMultiply(&st, &s, &t);
        D3DXMatrixMultiply(&m_coordinateMatrix, &st, &r);
        m_matrixStamp = FrameStamp;
    }
    return m_coordinateMatrix;
}

void CTexture::BindToStage(int stage) {
    ITextureDevice* device = GetTextureDevice();
    if (!device)
        return;
    device->SetStageSetting(stage, TSS_MINFILTER, m_minFilter);
    device->SetStageSetting(stage, TSS_MAGFILTER, m_magFilter);
    device->SetStageSetting(stage, TSS_MIPFILTER, m_mipFilter);
    device->SetStageSetting(stage, TSS_ADDRESSU, m_addressU);
    device->SetStageSetting(stage, TSS_ADDRESSV, m_addressV);
    // Without frames the stage gets no texture; nothing is read.
    device->SetTexture(stage, GetFrame(GetFrameIndex()));
    CMatrix transposed = GetCoordinateMatrix();
    transposed.Transpose();
    device->SetVertexShaderConstant(COORDINATE_MATRIX_REGISTER, &transposed.m[0][0], 3);
}

std::string AnimatedFrameName(const std::string& fileName, int number) {
    size_t dot = fileName.rfind('.');
    std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
    char digits[16];
    std::snprintf(digits, sizeof digits, ".%d", number);
    return stem + digits + extension;
}

CFileTexture::CFileTexture(const char* name, const char* fileName, int magFilter, int minFilter, int mipFilter,
                           int addressU, int addressV, int mipLevels, bool animated)
    : CTexture(name, magFilter, minFilter, mipFilter, addressU, addressV, mipLevels, animated),
      m_fileName(fileName ? fileName : "") {
    RestoreDeviceObjects();
}

bool CFileTexture::LoadFrame(const std::string& path) {
    ArchiveEntry entry = GetTextureEntry(path);
    if (!entry.data)
        return false;
    ITextureDevice* device = GetTextureDevice();
    CTextureFrame* frame = device ? device->CreateFrame(entry.data, entry.size, GetMipLevels()) : nullptr;
    if (!frame)
        return false;
    AppendFrame(frame);
    return true;
}

void CFileTexture::RestoreDeviceObjects() {
    // Loading twice must not stack a second set of frames.
    ReleaseDeviceObjects();
    if (!IsAnimated()) {
        if (!LoadFrame(m_fileName))
            ReportMissingResource();
    } else {
        for (int n = 1; LoadFrame(AnimatedFrameName(m_fileName, n)); ++n) {
        }
        if (GetFrameCount() == 0)
            ReportMissingResource();
    }
    UpdateTranslucency();
}
