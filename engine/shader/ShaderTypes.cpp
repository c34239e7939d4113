#include "engine/shader/ShaderTypes.h"

#include <windows.h>
#include <d3d8.h>

#include "engine/drawlist/DrawList.h"
#include "engine/geometry/Geometry.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/shader/ShaderPrograms.h"

namespace {

constexpr DWORD PALETTE_REGISTER = 12;
constexpr DWORD REGISTERS_PER_BONE = 3;
constexpr float DEFAULT_FRAME_TIME_MS = 16.6667f;

} // namespace

void CShaderLambert::Apply() {
    CShader::Apply();
    MaterialAmbient() = m_materialAmbient;
}

bool CShaderSkinned::AddBone(CBone* bone) {
    if ((int)m_bones.size() >= MAX_BONES)
        return false;
    m_bones.push_back(bone ? bone->GetBoneHandle() : NULL_HANDLE);
    return true;
}

CBone* CShaderSkinned::GetBone(int i) const {
    return i >= 0 && i < (int)m_bones.size() ? BoneHandles().Resolve(m_bones[i]) : nullptr;
}

void CShaderSkinned::BoneMatrices(std::vector<CMatrix>& out) const {
    out.assign(m_bones.size(), CMatrix());
    for (size_t i = 0; i < m_bones.size(); ++i)
        if (CBone* bone = BoneHandles().Resolve(m_bones[i]))
            D3DXMatrixMultiply(&out[i], &bone->GetOffsetMatrix(), &bone->GetWorldMatrix());
}

CShader* CShaderSkinned::Instance(const std::string& scope) {
    CShaderSkinned* copy = dynamic_cast<CShaderSkinned*>(CreateShader((GetName() + scope).c_str(), GetShaderType()));
    if (!copy)
        return nullptr;
    copy->m_colour = m_colour;
    copy->m_materialAmbient = m_materialAmbient;
    copy->m_texture = m_texture;
    copy->m_textureTranslucent = m_textureTranslucent;
    copy->m_colourTranslucent = m_colourTranslucent;
    copy->SetBlend(GetSourceBlend(), GetDestinationBlend());
    CResourceManager* registry = CurrentResourceManager ? CurrentResourceManager : GetRegistry();
    for (const CHandle& handle : m_bones) {
        CBone* source = BoneHandles().Resolve(handle);
        CBone* scoped = nullptr;
        if (source && registry)
            scoped = dynamic_cast<CBone*>(registry->Find((source->GetName() + scope).c_str(), RT_BONE));
        copy->m_bones.push_back(scoped ? scoped->GetBoneHandle() : NULL_HANDLE);
    }
    CopyExtraInto(*copy);
    return copy;
}

void CShaderLambertWS::Apply() {
    CShaderLambert::Apply();
    CDrawList* list = GetCurrentDrawList();
    IDirect3DDevice8* device = ShaderDevice();
    if (!list)
        return;
    const int first = list->GetPaletteCursor();
    const int count = (int)m_bones.size();
    if (device)
        for (int i = 0; i < count; ++i)
            device->SetVertexShaderConstant(PALETTE_REGISTER + REGISTERS_PER_BONE * DWORD(i),
                                            &list->GetMatrix(first + i), REGISTERS_PER_BONE);
    list->AdvancePaletteCursor(count);
}

void CShaderLambertWS::UpdateSkin() {
    CDrawList* list = GetCurrentDrawList();
    if (!list)
        return;
    std::vector<CMatrix> bones;
    BoneMatrices(bones);
    const CMatrix& view = list->GetCameraView();
    for (size_t i = 0; i < bones.size(); ++i) {
        CMatrix palette;
        if (BoneHandles().Resolve(m_bones[i]))
            D3DXMatrixMultiply(&palette, &bones[i], &view);
        palette.Transpose();
        list->PushMatrix(palette);
    }
}

bool CShaderLambertDynamic::Fits(const CIndexedGeometry& geometry) const {
    if (geometry.GetVertexMask() != ShaderVertexMask(GetShaderType()))
        return false;
    return m_skin.Fits(reinterpret_cast<const float*>(geometry.GetSourceVertices()), geometry.GetVertexCount(),
                       GetBoneCount());
}

void CShaderLambertDynamic::UpdateSkin() {
    CIndexedGeometry* geometry = dynamic_cast<CIndexedGeometry*>(GetCurrentGeometry());
    // Another layout than the type's would have the skinning read and write
    // beside the vertices.
    if (!geometry || geometry->GetVertexMask() != ShaderVertexMask(GetShaderType()))
        return;
    std::vector<CMatrix> bones;
    BoneMatrices(bones);
    CRenderer* renderer = CRenderer::Current();
    const float frameTime = renderer ? renderer->GetLastFrameTime() : DEFAULT_FRAME_TIME_MS;
    if (m_skin.Update(reinterpret_cast<const float*>(geometry->GetSourceVertices()),
                      reinterpret_cast<float*>(geometry->GetWorkingVertices()), geometry->GetVertexCount(),
                      bones.data(), (int)bones.size(), frameTime))
        geometry->UploadVertices(0);
}

void CShaderLambertDynamic::CopyExtraInto(CShaderSkinned& copy) const {
    if (CShaderLambertDynamic* dynamic = dynamic_cast<CShaderLambertDynamic*>(&copy))
        dynamic->m_skin.Assign(m_skin);
}
