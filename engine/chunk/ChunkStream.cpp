#include "engine/chunk/ChunkStream.h"

#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/FieldUnpack.h"
#include "engine/chunk/RecordReaders.h"
#include "engine/resource/ResourceManager.h"

namespace {
// Reads a record of one kind and hands it to its handler when accepted.
template <class Record, class Handler>
RecordResult Dispatch(RecordResult (*read)(const uint8_t*, size_t, Record&), Handler handler, const uint8_t* data,
                      size_t length) {
    Record record;
    RecordResult result = read(data, length, record);
    if (result == RR_ACCEPTED && handler)
        handler(record);
    return result;
}

// -1 for a type without a loader.
int LoadRecord(uint32_t type, const uint8_t* data, size_t length) {
    const ChunkHandlerTable& h = GetChunkHandlers();
    switch (type) {
    case RT_GEOMETRY: return Dispatch(ReadGeometryRecord, h.geometry, data, length);
    case RT_SHADER: return Dispatch(ReadShaderRecord, h.shader, data, length);
    case RT_SHAPE: return Dispatch(ReadShapeRecord, h.shape, data, length);
    case RT_TEXTURE: return Dispatch(ReadTextureRecord, h.texture, data, length);
    case RT_TRANSFORM: return Dispatch(ReadTransformRecord, h.transform, data, length);
    case RT_ANIMATOR: return Dispatch(ReadAnimatorRecord, h.animator, data, length);
    case RT_ANIMATION_DATA: return Dispatch(ReadAnimationDataRecord, h.animationData, data, length);
    case RT_ANIMATION_SET: return Dispatch(ReadAnimationSetRecord, h.animationSet, data, length);
    case RT_HIERARCHY: return Dispatch(ReadHierarchyRecord, h.hierarchy, data, length);
    case RT_BONE: return Dispatch(ReadBoneRecord, h.bone, data, length);
    default: return -1;
    }
}
} // namespace

ChunkWalkResult LoadChunkStream(CResourceManager* manager, const void* data, size_t length, uint32_t mask) {
    ChunkWalkResult result;
    if (!data)
        length = 0;
    CResourceManager* previous = CurrentResourceManager;
    CurrentResourceManager = manager;
    const uint8_t* stream = static_cast<const uint8_t*>(data);
    size_t position = 0;
    while (position < length) {
        int32_t type = 0;
        int32_t size = 0;
        size_t left = length - position;
        // Sizes are compared without adding to the position, so no size can
        // wrap it round to an earlier chunk.
        if (UnpackFields(stream + position, left, ChunkFields::HEADER, &type, &size) < 0 ||
            uint32_t(size) < CHUNK_HEADER_SIZE || uint32_t(size) > left) {
            result.complete = false;
            break;
        }
        const uint8_t* record = stream + position + CHUNK_HEADER_SIZE;
        size_t recordLength = uint32_t(size) - CHUNK_HEADER_SIZE;
        int loaded = -1;
        if (mask & (1u << (uint32_t(type) % 32)))
            loaded = LoadRecord(uint32_t(type), record, recordLength);
        switch (loaded) {
        case RR_ACCEPTED: ++result.accepted; break;
        case RR_EMPTY: ++result.empty; break;
        case RR_REFUSED: ++result.refused; break;
        default: ++result.skipped; break;
        }
        position += uint32_t(size);
    }
    CurrentResourceManager = previous;
    return result;
}
