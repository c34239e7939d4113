// The chunk stream walk with every loader that builds on the host, into a
// fresh registry each run.
#include <cstddef>
#include <cstdint>

#include "engine/anim/AnimChunkLoaders.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool registered = [] {
        RegisterSceneChunkHandlers();
        RegisterAnimChunkHandlers();
        return true;
    }();
    (void)registered;
    CResourceManager registry;
    LoadChunkStream(&registry, data, size, CHUNK_MASK_ALL);
    return 0;
}
