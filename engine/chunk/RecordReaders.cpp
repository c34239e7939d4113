#include "engine/chunk/RecordReaders.h"

#include <cstring>

#include "engine/anim/AnimAttribute.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/FieldUnpack.h"
#include "engine/chunk/VertexSize.h"

namespace {
// A read position inside one record; every read is checked against its end.
class CRecordCursor {
public:
    CRecordCursor(const uint8_t* data, size_t length) : m_at(data), m_left(data ? length : 0) {}

    bool Fields(const char* signature, ...) {
        va_list outputs;
        va_start(outputs, signature);
        long used = UnpackFieldsV(m_at, m_left, signature, outputs);
        va_end(outputs);
        if (used < 0)
            return false;
        m_at += used;
        m_left -= size_t(used);
        return true;
    }

    bool Int(int32_t& value) { return Fields("l", &value); }
    bool Float(float& value) { return Fields("f", &value); }

    bool Text(std::string& text) {
        char buffer[CHUNK_TEXT_BUFFER];
        if (!Fields("s", buffer))
            return false;
        text = buffer;
        return true;
    }

    // A count of items of at least `itemBytes` each that must fit in the rest.
    bool Count(int32_t& count, size_t itemBytes) {
        return Int(count) && count >= 0 && uint64_t(count) * itemBytes <= m_left;
    }

    // Hands out `bytes` in place.
    bool Take(uint64_t bytes, const uint8_t*& start) {
        if (bytes > m_left)
            return false;
        start = m_at;
        m_at += bytes;
        m_left -= size_t(bytes);
        return true;
    }

    size_t Left() const { return m_left; }

private:
    const uint8_t* m_at;
    size_t m_left;
};

bool InRange(int32_t value, int count) { return value >= 0 && value < count; }

bool ReadTransformFields(CRecordCursor& in, TransformRecord& out) {
    char name[CHUNK_TEXT_BUFFER];
    float* t = out.translation;
    float* r = out.rotation;
    float* s = out.scale;
    if (!in.Fields(ChunkFields::TRANSFORM, name, &out.visible, &t[0], &t[1], &t[2], &r[0], &r[1], &r[2], &s[0], &s[1],
                   &s[2]))
        return false;
    out.name = name;
    return true;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}
} // namespace

RecordResult ReadGeometryRecord(const uint8_t* data, size_t length, GeometryRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    int32_t format = 0;
    if (!in.Fields(ChunkFields::GEOMETRY_HEAD, name, &out.radius, &out.centre[0], &out.centre[1], &out.centre[2],
                   &out.doubleSided, &format, &out.skip))
        return RR_REFUSED;
    out.name = name;
    out.vertexFormat = uint32_t(format);
    if (out.skip != 0)
        return RR_EMPTY;

    int vertexSize = GetVertexSize(out.vertexFormat);
    if (!in.Int(out.vertexCount) || out.vertexCount < 0)
        return RR_REFUSED;
    // Vertices of no bytes would be a count with nothing behind it.
    if (out.vertexCount > 0 && vertexSize == 0)
        return RR_REFUSED;
    if (!in.Take(uint64_t(out.vertexCount) * uint64_t(vertexSize), out.vertices))
        return RR_REFUSED;

    int32_t groupCount = 0;
    if (!in.Count(groupCount, INDEX_GROUP_MIN_BYTES))
        return RR_REFUSED;
    out.groups.clear();
    out.groups.reserve(size_t(groupCount));
    for (int32_t g = 0; g < groupCount; ++g) {
        GeometryIndexGroup group;
        if (!in.Fields(ChunkFields::INDEX_GROUP_HEAD, &group.primitiveType, &group.indexCount))
            return RR_REFUSED;
        if (!InRange(group.primitiveType, PRIMITIVE_TYPE_COUNT) || group.indexCount < 0)
            return RR_REFUSED;
        if (!in.Take(uint64_t(group.indexCount) * 2, group.indices))
            return RR_REFUSED;
        // An index past the vertices would have the device read outside them.
        for (int32_t i = 0; i < group.indexCount; ++i)
            if (group.Index(i) >= out.vertexCount)
                return RR_REFUSED;
        out.groups.push_back(group);
    }
    return RR_ACCEPTED;
}

RecordResult ReadShaderRecord(const uint8_t* data, size_t length, ShaderRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    char texture[CHUNK_TEXT_BUFFER];
    if (!in.Fields(ChunkFields::SHADER_HEAD, name, &out.shaderType, texture))
        return RR_REFUSED;
    out.name = name;
    out.textureName = texture;
    if (!InRange(out.shaderType, SHADER_TYPE_COUNT))
        return RR_REFUSED;
    float* c = out.colour;
    if (!in.Fields(ChunkFields::COLOUR, &c[0], &c[1], &c[2], &c[3]))
        return RR_REFUSED;
    if (out.shaderType != ST_CONSTANT) {
        float* a = out.ambient;
        float unused = 0;
        if (!in.Fields(ChunkFields::COLOUR, &a[0], &a[1], &a[2], &unused))
            return RR_REFUSED;
    }
    out.ambient[3] = 1.0f;

    out.boneNames.clear();
    out.dynamicsBone = -1;
    if (IsSkinnedShaderType(out.shaderType)) {
        int32_t boneCount = 0;
        if (!in.Count(boneCount, MIN_TEXT_BYTES) || boneCount > SHADER_PALETTE_LIMIT)
            return RR_REFUSED;
        for (int32_t b = 0; b < boneCount; ++b) {
            std::string bone;
            if (!in.Text(bone))
                return RR_REFUSED;
            if (StartsWith(bone, DYNAMICS_BONE_PREFIX))
                out.dynamicsBone = int(b);
            out.boneNames.push_back(bone);
        }
    }

    out.linkList.clear();
    if (IsDynamicShaderType(out.shaderType)) {
        int32_t byteCount = 0;
        if (!in.Count(byteCount, 1))
            return RR_REFUSED;
        const uint8_t* links = nullptr;
        if (!in.Take(uint64_t(byteCount), links))
            return RR_REFUSED;
        CRecordCursor list(links, size_t(byteCount));
        for (int32_t i = 0; i < byteCount / 4; ++i) {
            int32_t value = 0;
            list.Int(value);
            // -1 ends a point's run; any other negative index names no point.
            if (value < -1)
                return RR_REFUSED;
            out.linkList.push_back(value);
        }
    }
    return RR_ACCEPTED;
}

RecordResult ReadShapeRecord(const uint8_t* data, size_t length, ShapeRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    int32_t pairCount = 0;
    if (!in.Fields(ChunkFields::NAME, name))
        return RR_REFUSED;
    out.name = name;
    if (!in.Count(pairCount, 2 * MIN_TEXT_BYTES))
        return RR_REFUSED;
    out.pairs.clear();
    for (int32_t i = 0; i < pairCount; ++i) {
        char shader[CHUNK_TEXT_BUFFER];
        char geometry[CHUNK_TEXT_BUFFER];
        if (!in.Fields(ChunkFields::SHAPE_PAIR, shader, geometry))
            return RR_REFUSED;
        out.pairs.push_back({shader, geometry});
    }
    return RR_ACCEPTED;
}

RecordResult ReadTextureRecord(const uint8_t* data, size_t length, TextureRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    char file[CHUNK_TEXT_BUFFER];
    if (!in.Fields(ChunkFields::TEXTURE, name, file, &out.magFilter, &out.minFilter, &out.mipFilter, &out.addressU,
                   &out.addressV, &out.animated))
        return RR_REFUSED;
    out.name = name;
    out.fileName = file;
    if (!InRange(out.magFilter, TEXTURE_FILTER_COUNT) || !InRange(out.minFilter, TEXTURE_FILTER_COUNT) ||
        !InRange(out.mipFilter, TEXTURE_FILTER_COUNT) || !InRange(out.addressU, TEXTURE_ADDRESS_COUNT) ||
        !InRange(out.addressV, TEXTURE_ADDRESS_COUNT))
        return RR_REFUSED;
    return RR_ACCEPTED;
}

RecordResult ReadTransformRecord(const uint8_t* data, size_t length, TransformRecord& out) {
    CRecordCursor in(data, length);
    return ReadTransformFields(in, out) ? RR_ACCEPTED : RR_REFUSED;
}

RecordResult ReadBoneRecord(const uint8_t* data, size_t length, BoneRecord& out) {
    CRecordCursor in(data, length);
    if (!ReadTransformFields(in, out.transform))
        return RR_REFUSED;
    float(*m)[4] = out.offset;
    if (!in.Fields(ChunkFields::BONE_OFFSET, &m[0][0], &m[0][1], &m[0][2], &m[0][3], &m[1][0], &m[1][1], &m[1][2],
                   &m[1][3], &m[2][0], &m[2][1], &m[2][2], &m[2][3]))
        return RR_REFUSED;
    return RR_ACCEPTED;
}

RecordResult ReadAnimatorRecord(const uint8_t* data, size_t length, AnimatorRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    char dataName[CHUNK_TEXT_BUFFER];
    char target[CHUNK_TEXT_BUFFER];
    if (!in.Fields(ChunkFields::ANIMATOR, name, dataName, target, &out.targetKind, &out.attribute))
        return RR_REFUSED;
    out.name = name;
    out.dataName = dataName;
    out.targetName = target;
    if (!InRange(out.targetKind, RT_BONE + 1) || !IsValidAnimAttribute(out.attribute))
        return RR_REFUSED;
    return RR_ACCEPTED;
}

RecordResult ReadAnimationDataRecord(const uint8_t* data, size_t length, AnimationDataRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    if (!in.Fields(ChunkFields::ANIMATION_DATA_HEAD, name, &out.interpolation))
        return RR_REFUSED;
    out.name = name;
    out.keys.clear();
    if (!InRange(out.interpolation, INTERPOLATION_TYPE_COUNT))
        return RR_REFUSED;
    if (out.interpolation != AI_LINEAR)
        return RR_EMPTY;
    int32_t keyCount = 0;
    if (!in.Count(keyCount, KEY_BYTES))
        return RR_REFUSED;
    out.keys.resize(size_t(keyCount));
    for (AnimationKey& key : out.keys)
        in.Fields(ChunkFields::KEY, &key.length, &key.change, &key.start);
    return RR_ACCEPTED;
}

RecordResult ReadAnimationSetRecord(const uint8_t* data, size_t length, AnimationSetRecord& out) {
    CRecordCursor in(data, length);
    char name[CHUNK_TEXT_BUFFER];
    int32_t count = 0;
    if (!in.Fields(ChunkFields::NAME, name))
        return RR_REFUSED;
    out.name = name;
    if (!in.Count(count, MIN_TEXT_BYTES))
        return RR_REFUSED;
    out.animatorNames.clear();
    for (int32_t i = 0; i < count; ++i) {
        std::string animator;
        if (!in.Text(animator))
            return RR_REFUSED;
        out.animatorNames.push_back(animator);
    }
    return RR_ACCEPTED;
}

RecordResult ReadHierarchyRecord(const uint8_t* data, size_t length, HierarchyRecord& out) {
    // Read without recursion, and refused past MAX_HIERARCHY_DEPTH levels.
    CRecordCursor in(data, length);
    out.nodes.clear();
    struct Open {
        int node;
        int32_t childrenLeft;
    };
    std::vector<Open> open;
    auto readNode = [&](int parent) {
        char name[CHUNK_TEXT_BUFFER];
        HierarchyNode node;
        if (!in.Fields(ChunkFields::HIERARCHY_NODE, name, &node.kind, &node.childCount))
            return false;
        if (!InRange(node.kind, RT_BONE + 1) || node.childCount < 0 ||
            uint64_t(node.childCount) * HIERARCHY_NODE_MIN_BYTES > in.Left())
            return false;
        // Only transforms and bones hold children.
        if (node.childCount > 0 && node.kind != RT_TRANSFORM && node.kind != RT_BONE)
            return false;
        node.name = name;
        node.parent = parent;
        out.nodes.push_back(node);
        open.push_back({int(out.nodes.size()) - 1, node.childCount});
        return true;
    };
    if (!readNode(-1))
        return RR_REFUSED;
    while (!open.empty()) {
        if (open.back().childrenLeft == 0) {
            open.pop_back();
            continue;
        }
        // The open nodes are the levels above the child about to be read.
        if (open.size() >= size_t(MAX_HIERARCHY_DEPTH))
            return RR_REFUSED;
        --open.back().childrenLeft;
        if (!readNode(open.back().node))
            return RR_REFUSED;
    }
    return RR_ACCEPTED;
}

namespace {
template <class Record>
RecordResult Check(RecordResult (*read)(const uint8_t*, size_t, Record&), const uint8_t* data, size_t length) {
    Record record;
    return read(data, length, record);
}
} // namespace

RecordResult CheckChunkRecord(uint32_t type, const uint8_t* data, size_t length) {
    switch (type) {
    case RT_GEOMETRY: return Check(ReadGeometryRecord, data, length);
    case RT_SHADER: return Check(ReadShaderRecord, data, length);
    case RT_SHAPE: return Check(ReadShapeRecord, data, length);
    case RT_TEXTURE: return Check(ReadTextureRecord, data, length);
    case RT_TRANSFORM: return Check(ReadTransformRecord, data, length);
    case RT_ANIMATOR: return Check(ReadAnimatorRecord, data, length);
    case RT_ANIMATION_DATA: return Check(ReadAnimationDataRecord, data, length);
    case RT_ANIMATION_SET: return Check(ReadAnimationSetRecord, data, length);
    case RT_HIERARCHY: return Check(ReadHierarchyRecord, data, length);
    case RT_BONE: return Check(ReadBoneRecord, data, length);
    default: return RR_REFUSED;
    }
}
