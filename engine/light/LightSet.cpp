#include "engine/light/LightSet.h"

#include "engine/light/Light.h"

namespace {

// Indexed by 4 × points + directionals; -1 where the set would need more than
// three lights.
const int KIND_BY_COUNT[16] = {
    LS_A1,   LS_A1D1,   LS_A1D2,   LS_A1D3, //
    LS_A1P1, LS_A1D1P1, LS_A1D2P1, -1,      //
    LS_A1P2, LS_A1D1P2, -1,        -1,      //
    LS_A1P3, -1,        -1,        -1,      //
};

} // namespace

HandleTable<CLightSet>& LightSetHandles() {
    static HandleTable<CLightSet> table;
    return table;
}

CLightSet::CLightSet() { m_handle = LightSetHandles().Register(this); }

CLightSet::~CLightSet() { LightSetHandles().Release(m_handle.index); }

void CLightSet::SetAmbient(CLightObject* light) { m_ambient = light ? light->GetLightHandle() : NULL_HANDLE; }

void CLightSet::SetLight(int slot, CLightObject* light) {
    if (slot < 0 || slot >= LIGHT_SLOTS)
        return;
    m_lights[slot] = light ? light->GetLightHandle() : NULL_HANDLE;
}

LightSetKind CLightSet::GetKind() const {
    if (!LightHandles().Resolve(m_ambient))
        return LS_NON;
    int directional = 0, point = 0;
    for (const CHandle& handle : m_lights) {
        const CLightObject* light = LightHandles().Resolve(handle);
        if (!light)
            continue;
        if (light->GetLightType() == LT_DIRECTIONAL)
            ++directional;
        else if (light->GetLightType() == LT_POINT)
            ++point;
    }
    int kind = KIND_BY_COUNT[4 * point + directional];
    return kind < 0 ? LS_NON : (LightSetKind)kind;
}

void CLightSet::Apply() const {
    if (CLightObject* ambient = LightHandles().Resolve(m_ambient))
        ambient->Upload(-1);
    for (int slot = 0; slot < LIGHT_SLOTS; ++slot)
        if (CLightObject* light = LightHandles().Resolve(m_lights[slot]))
            light->Upload(slot);
}
