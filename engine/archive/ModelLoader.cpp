#include "engine/archive/ModelLoader.h"

#include "engine/archive/DataArchive.h"

ChunkWalkResult LoadModelFromArchive(CResourceManager* manager, CDataArchive* archive, const std::string& path) {
    if (!archive)
        return ChunkWalkResult();
    ArchiveEntry entry = archive->GetEntry(path);
    if (!entry.data)
        return ChunkWalkResult();
    return LoadChunkStream(manager, entry.data, entry.size, CHUNK_MASK_ALL);
}
