#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/core/LittleEndian.h"

// Hand-laid stream bytes for the reader tests, independent of the writer.
struct StreamBytes {
    std::vector<uint8_t> bytes;

    StreamBytes& Word(uint32_t w) {
        AppendLe32(bytes, w);
        return *this;
    }
    StreamBytes& Int(int32_t v) { return Word(uint32_t(v)); }
    StreamBytes& Float(float f) {
        uint32_t w;
        std::memcpy(&w, &f, 4);
        return Word(w);
    }
    StreamBytes& Short(uint16_t v) {
        AppendLe16(bytes, v);
        return *this;
    }
    // The text, its zero and padding to a multiple of four.
    StreamBytes& Text(const std::string& t) {
        bytes.insert(bytes.end(), t.begin(), t.end());
        size_t field = t.size() / 4 * 4 + 4;
        bytes.insert(bytes.end(), field - t.size(), 0);
        return *this;
    }
    StreamBytes& Raw(const std::vector<uint8_t>& b) {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
    StreamBytes& Floats(int n, float f = 0) {
        for (int i = 0; i < n; ++i)
            Float(f);
        return *this;
    }
    // A chunk of the type around the record.
    StreamBytes& Chunk(uint32_t type, const StreamBytes& record) {
        Word(type).Word(uint32_t(record.bytes.size() + 8));
        return Raw(record.bytes);
    }
    size_t Size() const { return bytes.size(); }
    const uint8_t* Data() const { return bytes.data(); }
};

// A shader record with the fields of its type: the material ambient for the
// lit types, the bone names for the skinned ones and the link list (its
// length in bytes, then the values) for the dynamic ones.
inline StreamBytes ShaderRecordBytes(const std::string& name, int32_t type, const std::string& texture,
                                     const float (&colour)[4], const float (&ambient)[4],
                                     const std::vector<std::string>& bones, const std::vector<int32_t>& links) {
    StreamBytes r;
    r.Text(name).Int(type).Text(texture).Float(colour[0]).Float(colour[1]).Float(colour[2]).Float(colour[3]);
    if (type != ST_CONSTANT)
        r.Float(ambient[0]).Float(ambient[1]).Float(ambient[2]).Float(ambient[3]);
    if (IsSkinnedShaderType(type)) {
        r.Int(int32_t(bones.size()));
        for (const std::string& b : bones)
            r.Text(b);
    }
    if (IsDynamicShaderType(type)) {
        r.Int(int32_t(links.size() * 4));
        for (int32_t l : links)
            r.Int(l);
    }
    return r;
}
