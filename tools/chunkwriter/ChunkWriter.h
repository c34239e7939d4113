#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"

// Builds a chunk stream from the record structs that the engine's loaders
// fill, through the same field signatures, so writer and reader share one
// layout. Every chunk written is read back by the engine's record reader: a
// record the loaders would refuse (a text too long for their buffer, a count
// that does not match its data, a value outside its table) marks the writer
// as failed, and a failed writer's bytes must not be used.
class CChunkWriter {
public:
    void Write(const GeometryRecord& record);
    void Write(const ShaderRecord& record);
    void Write(const ShapeRecord& record);
    void Write(const TextureRecord& record);
    void Write(const TransformRecord& record);
    void Write(const AnimatorRecord& record);
    void Write(const AnimationDataRecord& record);
    void Write(const AnimationSetRecord& record);
    void Write(const HierarchyRecord& record);
    void Write(const BoneRecord& record);

    // A chunk of any type around the given record bytes, unchecked (for tests
    // and for kinds that have no struct).
    void WriteRawChunk(uint32_t type, const std::vector<uint8_t>& record);

    const std::vector<uint8_t>& GetBytes() const { return m_bytes; }
    bool Failed() const { return m_failed; }
    // The stream into `bytes`; when a record was refused, false and "the
    // chunk writer refused " + `refused` as the error instead.
    bool TakeBytes(std::vector<uint8_t>& bytes, std::string& error, const std::string& refused = "a record") const;

private:
    void Begin(uint32_t type);
    void End();
    // The writing side of UnpackFields: int for "l" and "w", double for "f",
    // const char* for "s".
    void Pack(const char* signature, ...);
    void PackBytes(const void* data, size_t size);

    std::vector<uint8_t> m_bytes;
    size_t m_chunkStart = 0;
    uint32_t m_chunkType = 0;
    bool m_checkRecords = true;
    bool m_failed = false;
};
