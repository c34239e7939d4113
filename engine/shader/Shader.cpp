#include "engine/shader/Shader.h"

#include <windows.h>
#include <d3d8.h>

#include "engine/anim/AnimAttribute.h"
#include "engine/render/Renderer.h"
#include "engine/shader/ShaderPrograms.h"
#include "engine/shader/ShaderTypes.h"
#include "engine/texture/Texture.h"

namespace {

constexpr int DEFAULT_SOURCE_BLEND = 4;      // D3DBLEND_SRCALPHA - 1
constexpr int DEFAULT_DESTINATION_BLEND = 5; // D3DBLEND_INVSRCALPHA - 1
constexpr int BLEND_INDEX_COUNT = 11;
constexpr DWORD MATERIAL_COLOUR_REGISTER = 78;
constexpr int FIRST_CLEARED_STAGE = 1;
constexpr int LAST_CLEARED_STAGE = 6;

} // namespace

HandleTable<CShader>& ShaderHandles() {
    static HandleTable<CShader> table;
    return table;
}

IDirect3DDevice8* ShaderDevice() {
    CRenderer* renderer = CRenderer::Current();
    return renderer ? renderer->GetDevice() : nullptr;
}

CShader::CShader(const char* name, int type)
    : CResource(name, RT_SHADER),
      m_colour(0.8f, 0.8f, 0.8f, 0.0f),
      m_texture(nullptr),
      m_textureTranslucent(false),
      m_colourTranslucent(false),
      m_translucencyAnimated(false),
      m_type(type),
      m_sourceBlend(DEFAULT_SOURCE_BLEND),
      m_destinationBlend(DEFAULT_DESTINATION_BLEND),
      m_translucency(this, 0.0f) {
    m_shaderHandle = ShaderHandles().Register(this);
    AcquireShaderPrograms(m_type);
}

CShader::~CShader() {
    ReleaseShaderPrograms(m_type);
    ShaderHandles().Release(m_shaderHandle.index);
}

CHandle CShader::GetChannel(int attribute) {
    return attribute == AA_TRANSLUCENT ? m_translucency.GetHandle() : NULL_HANDLE;
}

void CShader::Touch() {
    m_translucencyAnimated = true;
    CChangeStamp::Touch();
}

void CShader::SetVertexShader(int lightSetKind) {
    IDirect3DDevice8* device = ShaderDevice();
    if (device)
        device->SetVertexShader(GetShaderProgram(m_type, lightSetKind));
    if (CRenderer* renderer = CRenderer::Current())
        for (int stage = FIRST_CLEARED_STAGE; stage <= LAST_CLEARED_STAGE; ++stage)
            renderer->SetTexture(stage, nullptr);
}

void CShader::Apply() {
    IDirect3DDevice8* device = ShaderDevice();
    if (device) {
        device->SetRenderState(D3DRS_SRCBLEND, DWORD(m_sourceBlend + 1));
        device->SetRenderState(D3DRS_DESTBLEND, DWORD(m_destinationBlend + 1));
    }
    if (CRenderer* renderer = CRenderer::Current())
        renderer->SetTexture(0, m_texture);
    m_colour.a = 1.0f - m_translucency.m_value;
    if (m_translucencyAnimated)
        m_colourTranslucent = true;
    if (device)
        device->SetVertexShaderConstant(MATERIAL_COLOUR_REGISTER, &m_colour, 1);
}

void CShader::UpdateSkin() {}

CShader* CShader::Instance(const std::string&) { return this; }

// An animated translucency counts from the write on, not only from the next
// Apply: the draw list sorts the shape into its pass before drawing it.
bool CShader::IsTranslucent() const { return m_textureTranslucent || m_colourTranslucent || m_translucencyAnimated; }

void CShader::SetTexture(CTexture* texture) {
    m_texture = texture;
    // Without a texture nothing of an earlier one's alpha applies; a texture
    // without frames is opaque and nothing of it is read.
    m_textureTranslucent = texture && texture->GetFrameCount() > 0 && texture->IsTranslucent();
}

void CShader::SetColor(float r, float g, float b, float a) {
    m_colour = ColorRGBA(r, g, b, a);
    m_translucency.m_value = 1.0f - a;
    m_colourTranslucent = a != 1.0f;
}

ColorRGBA CShader::GetColor() {
    m_colour.a = 1.0f - m_translucency.m_value;
    if (m_translucencyAnimated)
        m_colourTranslucent = true;
    return m_colour;
}

void CShader::SetBlend(int sourceIndex, int destinationIndex) {
    if (sourceIndex < 0 || sourceIndex >= BLEND_INDEX_COUNT || destinationIndex < 0 ||
        destinationIndex >= BLEND_INDEX_COUNT)
        return;
    m_sourceBlend = sourceIndex;
    m_destinationBlend = destinationIndex;
}

CShader* CreateShader(const char* name, int type) {
    switch (type) {
    case ST_CONSTANT: return new CShaderConstant(name);
    case ST_LAMBERT: return new CShaderLambert(name);
    case ST_LAMBERT_2WS: return new CShaderLambert2WS(name);
    case ST_LAMBERT_3WS: return new CShaderLambert3WS(name);
    case ST_LAMBERT_4WS: return new CShaderLambert4WS(name);
    case ST_LAMBERT_VB: return new CShaderLambertVB(name);
    case ST_LAMBERT_2WS_DY: return new CShaderLambert2WSDy(name);
    case ST_LAMBERT_3WS_DY: return new CShaderLambert3WSDy(name);
    case ST_LAMBERT_4WS_DY: return new CShaderLambert4WSDy(name);
    default: return nullptr;
    }
}

int GetShaderTypeReferenceCount(int type) { return GetShaderProgramReferences(type); }
