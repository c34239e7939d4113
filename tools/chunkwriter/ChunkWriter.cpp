#include "tools/chunkwriter/ChunkWriter.h"

#include <cstdarg>
#include <cstring>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/FieldUnpack.h"
#include "engine/chunk/RecordReaders.h"
#include "engine/chunk/VertexSize.h"
#include "engine/core/LittleEndian.h"

void CChunkWriter::Begin(uint32_t type) {
    m_chunkType = type;
    m_chunkStart = m_bytes.size();
    AppendLe32(m_bytes, type);
    AppendLe32(m_bytes, 0);
}

void CChunkWriter::End() {
    uint32_t size = uint32_t(m_bytes.size() - m_chunkStart);
    WriteLe32(&m_bytes[m_chunkStart + 4], size);
    // What the loaders would refuse is not written.
    if (m_checkRecords && CheckChunkRecord(m_chunkType, m_bytes.data() + m_chunkStart + CHUNK_HEADER_SIZE,
                                           size - CHUNK_HEADER_SIZE) == RR_REFUSED)
        m_failed = true;
}

void CChunkWriter::PackBytes(const void* data, size_t size) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (size)
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
}

void CChunkWriter::Pack(const char* signature, ...) {
    va_list values;
    va_start(values, signature);
    for (const char* letter = signature; *letter; ++letter) {
        switch (*letter) {
        case 'l': AppendLe32(m_bytes, uint32_t(va_arg(values, int))); break;
        case 'f': {
            float value = float(va_arg(values, double));
            uint32_t word;
            std::memcpy(&word, &value, 4);
            AppendLe32(m_bytes, word);
            break;
        }
        case 'w': {
            AppendLe16(m_bytes, uint16_t(va_arg(values, int)));
            break;
        }
        case 's': {
            const char* text = va_arg(values, const char*);
            size_t length = std::strlen(text);
            if (length + 1 > CHUNK_TEXT_BUFFER)
                m_failed = true;
            size_t field = PaddedTextSize(length);
            PackBytes(text, length);
            m_bytes.insert(m_bytes.end(), field - length, 0);
            break;
        }
        default: break;
        }
    }
    va_end(values);
}

void CChunkWriter::Write(const GeometryRecord& r) {
    Begin(RT_GEOMETRY);
    Pack(ChunkFields::GEOMETRY_HEAD, r.name.c_str(), r.radius, r.centre[0], r.centre[1], r.centre[2], r.doubleSided,
         int(r.vertexFormat), r.skip);
    if (r.skip == 0) {
        Pack(ChunkFields::COUNT, r.vertexCount);
        if (r.vertexCount < 0 || (r.vertexCount > 0 && !r.vertices))
            m_failed = true;
        else
            PackBytes(r.vertices, size_t(r.vertexCount) * size_t(GetVertexSize(r.vertexFormat)));
        Pack(ChunkFields::COUNT, int(r.groups.size()));
        for (const GeometryIndexGroup& g : r.groups) {
            Pack(ChunkFields::INDEX_GROUP_HEAD, g.primitiveType, g.indexCount);
            if (g.indexCount < 0 || (g.indexCount > 0 && !g.indices))
                m_failed = true;
            else
                PackBytes(g.indices, size_t(g.indexCount) * 2);
        }
    }
    End();
}

void CChunkWriter::Write(const ShaderRecord& r) {
    Begin(RT_SHADER);
    Pack(ChunkFields::SHADER_HEAD, r.name.c_str(), r.shaderType, r.textureName.c_str());
    Pack(ChunkFields::COLOUR, r.colour[0], r.colour[1], r.colour[2], r.colour[3]);
    if (r.shaderType != ST_CONSTANT)
        Pack(ChunkFields::COLOUR, r.ambient[0], r.ambient[1], r.ambient[2], r.ambient[3]);
    if (IsSkinnedShaderType(r.shaderType)) {
        Pack(ChunkFields::COUNT, int(r.boneNames.size()));
        for (const std::string& bone : r.boneNames)
            Pack(ChunkFields::NAME, bone.c_str());
    }
    if (IsDynamicShaderType(r.shaderType)) {
        Pack(ChunkFields::COUNT, int(r.linkList.size() * 4));
        for (int32_t value : r.linkList)
            Pack(ChunkFields::LINK, value);
    }
    End();
}

void CChunkWriter::Write(const ShapeRecord& r) {
    Begin(RT_SHAPE);
    Pack(ChunkFields::SHAPE_HEAD, r.name.c_str(), int(r.pairs.size()));
    for (const ShapePair& pair : r.pairs)
        Pack(ChunkFields::SHAPE_PAIR, pair.shaderName.c_str(), pair.geometryName.c_str());
    End();
}

void CChunkWriter::Write(const TextureRecord& r) {
    Begin(RT_TEXTURE);
    Pack(ChunkFields::TEXTURE, r.name.c_str(), r.fileName.c_str(), r.magFilter, r.minFilter, r.mipFilter, r.addressU,
         r.addressV, r.animated);
    End();
}

void CChunkWriter::Write(const TransformRecord& r) {
    Begin(RT_TRANSFORM);
    const float* t = r.translation;
    const float* o = r.rotation;
    const float* s = r.scale;
    Pack(ChunkFields::TRANSFORM, r.name.c_str(), r.visible, t[0], t[1], t[2], o[0], o[1], o[2], s[0], s[1], s[2]);
    End();
}

void CChunkWriter::Write(const BoneRecord& r) {
    Begin(RT_BONE);
    const TransformRecord& x = r.transform;
    const float* t = x.translation;
    const float* o = x.rotation;
    const float* s = x.scale;
    Pack(ChunkFields::TRANSFORM, x.name.c_str(), x.visible, t[0], t[1], t[2], o[0], o[1], o[2], s[0], s[1], s[2]);
    const float(*m)[4] = r.offset;
    Pack(ChunkFields::BONE_OFFSET, m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3], m[2][0],
         m[2][1], m[2][2], m[2][3]);
    End();
}

void CChunkWriter::Write(const AnimatorRecord& r) {
    Begin(RT_ANIMATOR);
    Pack(ChunkFields::ANIMATOR, r.name.c_str(), r.dataName.c_str(), r.targetName.c_str(), r.targetKind, r.attribute);
    End();
}

void CChunkWriter::Write(const AnimationDataRecord& r) {
    Begin(RT_ANIMATION_DATA);
    Pack(ChunkFields::ANIMATION_DATA_HEAD, r.name.c_str(), r.interpolation);
    if (r.interpolation == AI_LINEAR) {
        Pack(ChunkFields::COUNT, int(r.keys.size()));
        for (const AnimationKey& key : r.keys)
            Pack(ChunkFields::KEY, key.length, key.change, key.start);
    }
    End();
}

void CChunkWriter::Write(const AnimationSetRecord& r) {
    Begin(RT_ANIMATION_SET);
    Pack(ChunkFields::ANIMATION_SET_HEAD, r.name.c_str(), int(r.animatorNames.size()));
    for (const std::string& name : r.animatorNames)
        Pack(ChunkFields::NAME, name.c_str());
    End();
}

void CChunkWriter::Write(const HierarchyRecord& r) {
    // Nodes are written in file order; each node's child count must match the
    // nodes that name it as parent.
    std::vector<int32_t> children(r.nodes.size(), 0);
    for (size_t i = 0; i < r.nodes.size(); ++i) {
        int parent = r.nodes[i].parent;
        if ((i == 0) != (parent < 0) || parent >= int(i))
            m_failed = true;
        else if (parent >= 0)
            ++children[size_t(parent)];
    }
    Begin(RT_HIERARCHY);
    for (size_t i = 0; i < r.nodes.size(); ++i) {
        if (children[i] != r.nodes[i].childCount)
            m_failed = true;
        Pack(ChunkFields::HIERARCHY_NODE, r.nodes[i].name.c_str(), r.nodes[i].kind, r.nodes[i].childCount);
    }
    End();
}

void CChunkWriter::WriteRawChunk(uint32_t type, const std::vector<uint8_t>& record) {
    Begin(type);
    PackBytes(record.data(), record.size());
    m_checkRecords = false;
    End();
    m_checkRecords = true;
}

bool CChunkWriter::TakeBytes(std::vector<uint8_t>& bytes, std::string& error, const std::string& refused) const {
    if (m_failed) {
        error = "the chunk writer refused " + refused;
        return false;
    }
    bytes = m_bytes;
    return true;
}
