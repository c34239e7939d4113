// The chunk stream walk with every loader that builds on the host, into a
// fresh registry each run, then the recursive walks of every tree it built.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "engine/anim/AnimChunkLoaders.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool registered = [] {
        RegisterSceneChunkHandlers();
        RegisterAnimChunkHandlers();
        return true;
    }();
    (void)registered;
    CResourceManager registry;
    LoadChunkStream(&registry, data, size, CHUNK_MASK_ALL);
    AdvanceFrameStamp();
    registry.ForEach([](CResource* resource) {
        CTransform* transform = dynamic_cast<CTransform*>(resource);
        if (!transform)
            return;
        (void)transform->GetWorldMatrix();
        if (transform->GetParent())
            return;
        Vec3 centre;
        float radius = 0.0f;
        transform->ComputeBoundingSphere(centre, radius);
        transform->SetLightSetTree(NULL_HANDLE);
        transform->RenderTree();
        std::ostringstream out;
        transform->Print(out, 0);
    });
    return 0;
}
