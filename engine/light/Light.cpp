#include "engine/light/Light.h"

#include <windows.h>
#include <d3d8.h>

#include "engine/drawlist/DrawList.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/render/Renderer.h"
#include "engine/resource/ResourceKind.h"
#include "engine/scene/Transform.h"

namespace {

constexpr int C_AMBIENT = 80;
constexpr int C_FIRST_LIGHT = 81;
constexpr int REGISTERS_PER_LIGHT = 5;

bool IsLightSlot(int slot) { return slot >= 0 && slot < 3; }

void SetConstant(IDirect3DDevice8* device, int reg, float x, float y, float z, float w) {
    const float value[4] = {x, y, z, w};
    device->SetVertexShaderConstant(reg, value, 1);
}
void SetConstant(IDirect3DDevice8* device, int reg, const Vec4& v) { SetConstant(device, reg, v.x, v.y, v.z, v.w); }
void SetConstant(IDirect3DDevice8* device, int reg, const ColorRGBA& c) {
    SetConstant(device, reg, c.r, c.g, c.b, c.a);
}

IDirect3DDevice8* CurrentDevice() {
    CRenderer* renderer = CRenderer::Current();
    return renderer ? renderer->GetDevice() : nullptr;
}

// The world matrix of the transform a light hangs under; identity without one.
CMatrix PlacementOf(const CNode& node) {
    if (CTransform* parent = node.GetParent())
        return parent->GetWorldMatrix();
    return CMatrix();
}

// Object space is the space of the world matrix last set, the shape being drawn.
CMatrix InverseWorld(const CRenderer& renderer) {
    CMatrix inverse;
    renderer.GetWorld().GetInverse(inverse);
    return inverse;
}

// A directional or point light's four registers in its slot: the colour,
// then its direction (the +Z row of its placement, (0, 0, 1, 0) x W) or its
// position (the placement's translation) in object space, in view space and
// as placed. A direction goes halved with w 0.5, normalized in object space.
void UploadPlacedLight(const CLightObject& light, const CNode& node, int slot, bool directional) {
    CRenderer* renderer = CRenderer::Current();
    IDirect3DDevice8* device = renderer ? renderer->GetDevice() : nullptr;
    if (!device || !IsLightSlot(slot))
        return;
    const int base = C_FIRST_LIGHT + REGISTERS_PER_LIGHT * slot;
    const CMatrix placement = PlacementOf(node);
    const Vec4 placed = directional ? Vec4(placement(2, 0), placement(2, 1), placement(2, 2), placement(2, 3))
                                    : Vec4(placement(3, 0), placement(3, 1), placement(3, 2), 1.0f);

    Vec4 object = placed;
    object.Transform(InverseWorld(*renderer));
    Vec4 view = placed;
    view.Transform(renderer->GetView());
    if (directional) {
        object.Normalize();
        object = Vec4(0.5f * object.x, 0.5f * object.y, 0.5f * object.z, 0.5f);
        view = Vec4(0.5f * view.x, 0.5f * view.y, 0.5f * view.z, 0.5f);
    }

    SetConstant(device, base, light.Color());
    SetConstant(device, base + 1, object);
    SetConstant(device, base + 2, view);
    SetConstant(device, base + 3, placed);
}

} // namespace

HandleTable<CLightObject>& LightHandles() {
    static HandleTable<CLightObject> table;
    return table;
}

CLightObject::CLightObject(int lightType) : m_lightType(lightType), m_colour(0.8f, 0.8f, 0.8f, 0.0f) {
    m_lightHandle = LightHandles().Register(this);
}

CLightObject::~CLightObject() { LightHandles().Release(m_lightHandle.index); }

CAmbientLight::CAmbientLight() : CLightObject(LT_AMBIENT) {}

void CAmbientLight::Upload(int) {
    IDirect3DDevice8* device = CurrentDevice();
    if (!device)
        return;
    ColorRGBA sum = Color();
    sum.Add(MaterialAmbient());
    SetConstant(device, C_AMBIENT, sum);
    // A shader that hands over no material ambient adds nothing to the next pair.
    MaterialAmbient().Set(0, 0, 0, 0);
}

CDirectionalLight::CDirectionalLight(const char* name) : CLightObject(LT_DIRECTIONAL), CNode(name, RT_LIGHT) {}

void CDirectionalLight::Upload(int slot) { UploadPlacedLight(*this, *this, slot, true); }

CPointLight::CPointLight(const char* name) : CLightObject(LT_POINT), CNode(name, RT_LIGHT) {}

void CPointLight::Upload(int slot) { UploadPlacedLight(*this, *this, slot, false); }
