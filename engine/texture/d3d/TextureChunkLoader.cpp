#include "engine/texture/d3d/TextureChunkLoader.h"

#include <string>

#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/texture/Texture.h"

namespace {

// The file is looked for under the current model path prefix; the reader
// has checked the filters and addressing against their tables.
void LoadTexture(const TextureRecord& record) {
    const std::string path = std::string(GetModelPathPrefix()) + record.fileName;
    new CFileTexture(record.name.c_str(), path.c_str(), record.magFilter, record.minFilter, record.mipFilter,
                     record.addressU, record.addressV, 1, record.IsAnimated());
}

} // namespace

void RegisterTextureChunkHandler() { SetChunkHandler(static_cast<TextureHandler>(LoadTexture)); }
