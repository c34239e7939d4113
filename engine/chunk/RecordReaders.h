#pragma once
#include <cstddef>
#include <cstdint>

#include "engine/chunk/ChunkRecords.h"

// What a record reader made of a record.
enum RecordResult {
    // Read and valid: its resource is to be created.
    RR_ACCEPTED = 0,
    // Valid, and says itself that it creates nothing (a geometry with its
    // skip field set, animation data that is not linear).
    RR_EMPTY,
    // Truncated, inconsistent or holding a value outside its table.
    RR_REFUSED,
};

// One reader per record type. Each reads the record's `length` bytes (the
// chunk without its header) and checks every field against the end of the
// record, every count against what is left of it and every enumerated value
// against its table. Bytes after what a record uses are ignored.
RecordResult ReadGeometryRecord(const uint8_t* data, size_t length, GeometryRecord& out);
RecordResult ReadShaderRecord(const uint8_t* data, size_t length, ShaderRecord& out);
RecordResult ReadShapeRecord(const uint8_t* data, size_t length, ShapeRecord& out);
RecordResult ReadTextureRecord(const uint8_t* data, size_t length, TextureRecord& out);
RecordResult ReadTransformRecord(const uint8_t* data, size_t length, TransformRecord& out);
RecordResult ReadAnimatorRecord(const uint8_t* data, size_t length, AnimatorRecord& out);
RecordResult ReadAnimationDataRecord(const uint8_t* data, size_t length, AnimationDataRecord& out);
RecordResult ReadAnimationSetRecord(const uint8_t* data, size_t length, AnimationSetRecord& out);
RecordResult ReadHierarchyRecord(const uint8_t* data, size_t length, HierarchyRecord& out);
RecordResult ReadBoneRecord(const uint8_t* data, size_t length, BoneRecord& out);

// Reads a record of the chunk type into a scratch struct and answers the
// result; RR_REFUSED also for a type without a loader. The writer checks
// every chunk it makes with this, so it cannot emit what the loaders refuse.
RecordResult CheckChunkRecord(uint32_t type, const uint8_t* data, size_t length);
