#pragma once
#include "engine/chunk/ChunkEnums.h"
#include "engine/resource/Handle.h"

class CLightObject;

// One ambient light and up to three directional or point lights applied
// together; its kind picks the vertex program variant of every shader that
// draws with it. The lights are held by handle and not owned.
class CLightSet {
public:
    static constexpr int LIGHT_SLOTS = 3;

    CLightSet();
    virtual ~CLightSet();

    void SetAmbient(CLightObject* light);
    // Null clears the slot; a slot outside 0-2 is refused.
    void SetLight(int slot, CLightObject* light);
    LightSetKind GetKind() const;
    // The ambient light, then slots 0-2; lights that no longer resolve are skipped.
    void Apply() const;

    CHandle GetLightSetHandle() const { return m_handle; }

    CLightSet(const CLightSet&) = delete;
    CLightSet& operator=(const CLightSet&) = delete;

private:
    CHandle m_ambient;
    CHandle m_lights[LIGHT_SLOTS];
    CHandle m_handle;
};

HandleTable<CLightSet>& LightSetHandles();
