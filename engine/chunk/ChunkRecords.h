#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/LittleEndian.h"
#include "engine/resource/ResourceKind.h"

// The records of model (".hgm") and animation (".hga") chunk streams, as plain
// structs. The loaders fill them from a stream and the host-side writer
// writes them, both through the field signatures below, so the two share one
// layout. A chunk is an 8-byte header (type, size including the header) and
// its record; all numbers are little-endian.

constexpr size_t CHUNK_HEADER_SIZE = 8;
// Every text is read into a buffer of this size: at most 255 bytes and a zero.
constexpr size_t CHUNK_TEXT_BUFFER = 256;
// Bones a skinned shader may list: the palette holds 20 matrices.
constexpr int SHADER_PALETTE_LIMIT = 20;
// The name of a shader's missing texture, and the texture it stands for.
constexpr const char* NO_TEXTURE_NAME = "__NOTEX__";
constexpr const char* DUMMY_TEXTURE_NAME = "dummyTex";
// Bone names with this prefix mark the dynamics bone of a dynamic shader.
constexpr const char* DYNAMICS_BONE_PREFIX = "DynamicsBone";

// Field signatures ("l" signed 32-bit, "f" float, "w" 16-bit, "s" padded
// text) of the fixed runs of each record, in file order.
namespace ChunkFields {
constexpr const char* HEADER = "ll";
// name, radius, centre x y z, double-sided, vertex format, skip
constexpr const char* GEOMETRY_HEAD = "sffffll"
                                      "l";
constexpr const char* COUNT = "l";
// primitive type, index count
constexpr const char* INDEX_GROUP_HEAD = "ll";
constexpr const char* INDEX = "w";
// name, shader type, texture name
constexpr const char* SHADER_HEAD = "sls";
constexpr const char* COLOUR = "ffff";
constexpr const char* NAME = "s";
constexpr const char* LINK = "l";
// name, pair count
constexpr const char* SHAPE_HEAD = "sl";
// shader name, geometry name
constexpr const char* SHAPE_PAIR = "ss";
// name, file, magnification, minification, mip filter, address U, V, animated
constexpr const char* TEXTURE = "sslllllf";
// name, visible, translation, rotation, scale
constexpr const char* TRANSFORM = "sl"
                                  "fff"
                                  "fff"
                                  "fff";
// the bone offset matrix, column by column, rows 0 to 3 of columns 0 to 2
constexpr const char* BONE_OFFSET = "ffff"
                                    "ffff"
                                    "ffff";
// animator name, data name, target name, target kind, target attribute
constexpr const char* ANIMATOR = "sssll";
// name, interpolation
constexpr const char* ANIMATION_DATA_HEAD = "sl";
// length, change, start value
constexpr const char* KEY = "fff";
// name, animator count
constexpr const char* ANIMATION_SET_HEAD = "sl";
// node name, node kind, child count
constexpr const char* HIERARCHY_NODE = "sll";
} // namespace ChunkFields

// Smallest sizes, for bounding counts before anything is read: a text takes
// at least 4 bytes.
constexpr size_t MIN_TEXT_BYTES = 4;
constexpr size_t INDEX_GROUP_MIN_BYTES = 8;
constexpr size_t KEY_BYTES = 12;
constexpr size_t HIERARCHY_NODE_MIN_BYTES = 12;

struct GeometryIndexGroup {
    int32_t primitiveType = 0;
    int32_t indexCount = 0;
    // indexCount little-endian 16-bit indices, not necessarily 2-byte aligned
    // in memory; they point into the stream.
    const uint8_t* indices = nullptr;

    uint16_t Index(int i) const { return ReadLe16(indices + 2 * i); }
};

// Type 0. Vertex and index data point into the stream they were read from,
// at any alignment (chunks and archive entries need not start on a word):
// copy them out rather than read them through typed pointers.
struct GeometryRecord {
    std::string name;
    float radius = 0;
    float centre[3] = {0, 0, 0};
    int32_t doubleSided = 0;
    uint32_t vertexFormat = 0;
    // Non-zero: the record ends after this field and creates nothing.
    int32_t skip = 0;
    int32_t vertexCount = 0;
    const uint8_t* vertices = nullptr;
    std::vector<GeometryIndexGroup> groups;
};

// A spring link between two dynamic points, with factor 1.
struct ShaderLink {
    int point;
    int linked;
};

// Type 1. The texture name is stored as read; TextureToFind maps the
// no-texture name onto the renderer's plain texture.
struct ShaderRecord {
    std::string name;
    int32_t shaderType = 0;
    std::string textureName;
    float colour[4] = {0, 0, 0, 0};
    // Read for every type but ST_CONSTANT; its alpha is always 1.
    float ambient[4] = {0, 0, 0, 1};
    std::vector<std::string> boneNames;
    // Position of the last bone named "DynamicsBone...", or -1.
    int dynamicsBone = -1;
    // Dynamic types: each point's run of linked points, ended by -1, as stored.
    std::vector<int32_t> linkList;

    const char* TextureToFind() const;
    // The (point, linked point) pairs of the link list.
    std::vector<ShaderLink> Links() const;
};

struct ShapePair {
    std::string shaderName;
    std::string geometryName;
};

// Type 2.
struct ShapeRecord {
    std::string name;
    std::vector<ShapePair> pairs;
};

// Type 3.
struct TextureRecord {
    std::string name;
    std::string fileName;
    int32_t magFilter = 0;
    int32_t minFilter = 0;
    int32_t mipFilter = 0;
    int32_t addressU = 0;
    int32_t addressV = 0;
    // Exactly 1.0: the file is the first of a numbered series of frames.
    float animated = 0;

    bool IsAnimated() const { return animated == 1.0f; }
};

// Type 4; also the first part of a bone record.
struct TransformRecord {
    std::string name;
    int32_t visible = 1;
    float translation[3] = {0, 0, 0};
    float rotation[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
};

// Type 11. offset[column][row] for columns 0 to 2; column 3 is (0, 0, 0, 1).
struct BoneRecord {
    TransformRecord transform;
    float offset[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
};

// Type 7.
struct AnimatorRecord {
    std::string name;
    std::string dataName;
    std::string targetName;
    int32_t targetKind = 0;
    int32_t attribute = 0;
};

struct AnimationKey {
    float length = 0;
    float change = 0;
    float start = 0;
};

// Type 8. Only AI_LINEAR records carry keys; others create nothing.
struct AnimationDataRecord {
    std::string name;
    int32_t interpolation = 0;
    std::vector<AnimationKey> keys;
};

// Type 9.
struct AnimationSetRecord {
    std::string name;
    std::vector<std::string> animatorNames;
};

// One node of a hierarchy tree, flattened in file order (a node, then its
// children's trees). parent is the index of the parent node, -1 for the top.
struct HierarchyNode {
    std::string name;
    int32_t kind = 0;
    int32_t childCount = 0;
    int parent = -1;
};

// The most levels one hierarchy record may hold, its top being level 1. No
// real model comes near it (a skeleton is a few dozen levels deep); a deeper
// record is refused, so that the scene walks, which recurse once a level,
// stay well within the stack.
constexpr int MAX_HIERARCHY_DEPTH = 256;

// Type 10.
struct HierarchyRecord {
    std::vector<HierarchyNode> nodes;
};
