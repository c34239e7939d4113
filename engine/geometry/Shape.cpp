#include "engine/geometry/Shape.h"

#include <windows.h>
#include <d3d8.h>

#include <algorithm>

#include "engine/drawlist/DrawList.h"
#include "engine/light/LightSet.h"
#include "engine/geometry/Geometry.h"
#include "engine/math/Vec3.h"
#include "engine/render/Renderer.h"
#include "engine/shader/Shader.h"

namespace {

constexpr DWORD MATERIAL_COLOUR_REGISTER = 78;

} // namespace

HandleTable<CShape>& ShapeHandles() {
    static HandleTable<CShape> table;
    return table;
}

CShape::CShape(const char* name)
    : CNode(name, RT_SHAPE),
      m_billboard(false),
      m_billboardRotation(0.0f),
      m_billboardScale(1.0f) {
    m_shapeHandle = ShapeHandles().Register(this);
}

CShape::CShape(const CShape& source, const std::string& scope)
    : CNode(source, scope),
      m_lightSet(source.m_lightSet),
      m_billboard(false),
      m_billboardRotation(0.0f),
      m_billboardScale(source.m_billboardScale) {
    m_shapeHandle = ShapeHandles().Register(this);
    for (const Pair& pair : source.m_pairs) {
        CShader* shader = ShaderHandles().Resolve(pair.shader);
        CGeometry* geometry = GeometryHandles().Resolve(pair.geometry);
        if (!shader || !geometry)
            continue;
        AddPair(shader->Instance(scope), geometry->Instance(scope.c_str()));
    }
}

CShape::~CShape() { ShapeHandles().Release(m_shapeHandle.index); }

void CShape::AddPair(CShader* shader, CGeometry* geometry) {
    if (!shader || !geometry)
        return;
    m_pairs.push_back({shader->GetShaderHandle(), geometry->GetGeometryHandle()});
}

CShader* CShape::GetPairShader(int i) const {
    return i >= 0 && i < (int)m_pairs.size() ? ShaderHandles().Resolve(m_pairs[i].shader) : nullptr;
}

CGeometry* CShape::GetPairGeometry(int i) const {
    return i >= 0 && i < (int)m_pairs.size() ? GeometryHandles().Resolve(m_pairs[i].geometry) : nullptr;
}

bool CShape::IsPairTranslucent(int i) const {
    CGeometry* geometry = GetPairGeometry(i);
    CShader* shader = GetPairShader(i);
    return (geometry && geometry->IsTranslucent()) || (shader && shader->IsTranslucent());
}

void CShape::Render() {
    CRenderer* renderer = CRenderer::Current();
    if (!renderer || !renderer->IsFirstUpdate())
        return;
    if (CDrawList* list = GetCurrentDrawList()) {
        int item = list->AddShape(*this);
        if (item >= 0)
            list->SetItemFirstMatrix(item, list->GetExtraMatrixCount());
    }
    for (int i = 0; i < (int)m_pairs.size(); ++i) {
        CShader* shader = GetPairShader(i);
        CGeometry* geometry = GetPairGeometry(i);
        if (!shader || !geometry)
            continue;
        SetCurrentGeometry(geometry);
        shader->UpdateSkin();
    }
    SetCurrentGeometry(nullptr);
}

CShape* CShape::Clone(const std::string& scope) { return new CShape(*this, scope); }

void CShape::SetLightSet(CHandle lightSet) { m_lightSet = lightSet; }

void CShape::DrawOpaque() { DrawPass(false); }

void CShape::DrawTranslucent() { DrawPass(true); }

void CShape::DrawPass(bool translucent) {
    CLightSet* lightSet = LightSetHandles().Resolve(m_lightSet);
    const int kind = lightSet ? int(lightSet->GetKind()) : int(LS_NON);
    CRenderer* renderer = CRenderer::Current();
    IDirect3DDevice8* device = renderer ? renderer->GetDevice() : nullptr;
    for (int i = 0; i < (int)m_pairs.size(); ++i) {
        CShader* shader = GetPairShader(i);
        CGeometry* geometry = GetPairGeometry(i);
        if (!shader || !geometry)
            continue;
        shader->SetVertexShader(kind);
        shader->Apply();
        if (lightSet)
            lightSet->Apply();
        if (translucent && m_billboard && device)
            device->SetVertexShaderConstant(MATERIAL_COLOUR_REGISTER, &BillboardColor(), 1);
        if (IsPairTranslucent(i) == translucent)
            geometry->Draw();
    }
}

bool CShape::GetBoundingSphere(Vec3& centre, float& radius) const {
    centre = Vec3(0.0f, 0.0f, 0.0f);
    radius = -1.0f;
    bool any = false;
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    for (int i = 0; i < (int)m_pairs.size(); ++i) {
        CGeometry* geometry = GetPairGeometry(i);
        if (!geometry)
            continue;
        const float r = geometry->GetBoundingRadius();
        if (!(r >= 0.0f)) {
            centre = Vec3(0.0f, 0.0f, 0.0f);
            radius = -1.0f;
            return true;
        }
        const float* c = geometry->GetBoundingCentre();
        for (int axis = 0; axis < 3; ++axis) {
            const float a = c[axis] - r, b = c[axis] + r;
            lo[axis] = any ? std::min(lo[axis], a) : a;
            hi[axis] = any ? std::max(hi[axis], b) : b;
        }
        any = true;
    }
    if (!any)
        return true;
    centre = Vec3((lo[0] + hi[0]) * 0.5f, (lo[1] + hi[1]) * 0.5f, (lo[2] + hi[2]) * 0.5f);
    radius = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]}) * 0.5f;
    return true;
}
