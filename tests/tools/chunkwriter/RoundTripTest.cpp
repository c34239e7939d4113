#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/resource/ResourceManager.h"
#include "tools/chunkwriter/ChunkWriter.h"

// Written by the tools' writer, read back by the engine's loaders.
namespace {

struct ReadBack {
    std::vector<GeometryRecord> geometries;
    std::vector<ShaderRecord> shaders;
    std::vector<ShapeRecord> shapes;
    std::vector<TextureRecord> textures;
    std::vector<TransformRecord> transforms;
    std::vector<AnimatorRecord> animators;
    std::vector<AnimationDataRecord> data;
    std::vector<AnimationSetRecord> sets;
    std::vector<HierarchyRecord> hierarchies;
    std::vector<BoneRecord> bones;
};
ReadBack g_read;

ChunkWalkResult ReadAll(const std::vector<uint8_t>& stream) {
    g_read = ReadBack();
    ClearChunkHandlers();
    SetChunkHandler([](const GeometryRecord& r) { g_read.geometries.push_back(r); });
    SetChunkHandler([](const ShaderRecord& r) { g_read.shaders.push_back(r); });
    SetChunkHandler([](const ShapeRecord& r) { g_read.shapes.push_back(r); });
    SetChunkHandler([](const TextureRecord& r) { g_read.textures.push_back(r); });
    SetChunkHandler([](const TransformRecord& r) { g_read.transforms.push_back(r); });
    SetChunkHandler([](const AnimatorRecord& r) { g_read.animators.push_back(r); });
    SetChunkHandler([](const AnimationDataRecord& r) { g_read.data.push_back(r); });
    SetChunkHandler([](const AnimationSetRecord& r) { g_read.sets.push_back(r); });
    SetChunkHandler([](const HierarchyRecord& r) { g_read.hierarchies.push_back(r); });
    SetChunkHandler([](const BoneRecord& r) { g_read.bones.push_back(r); });
    CResourceManager registry;
    ChunkWalkResult result = LoadChunkStream(&registry, stream.data(), stream.size(), CHUNK_MASK_ALL);
    ClearChunkHandlers();
    return result;
}

void ExpectSameTransform(const TransformRecord& a, const TransformRecord& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.visible, b.visible);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(a.translation[i], b.translation[i]);
        EXPECT_EQ(a.rotation[i], b.rotation[i]);
        EXPECT_EQ(a.scale[i], b.scale[i]);
    }
}

TEST(ChunkRoundTrip, ModelRecordsReadBackAsWritten) {
    // Three position + normal + texcoord vertices, one triangle and a strip of odd length.
    std::vector<float> vertices(3 * 8);
    for (size_t i = 0; i < vertices.size(); ++i)
        vertices[i] = float(i) * 0.5f;
    const uint8_t triangle[] = {0, 0, 1, 0, 2, 0};
    const uint8_t strip[] = {2, 0, 1, 0, 0, 0};
    GeometryRecord geometry;
    geometry.name = "boxShape";
    geometry.radius = 2.5f;
    geometry.centre[1] = 1;
    geometry.doubleSided = 1;
    geometry.vertexFormat = 0x803;
    geometry.vertexCount = 3;
    geometry.vertices = reinterpret_cast<const uint8_t*>(vertices.data());
    geometry.groups = {{PT_TRIANGLE_LIST, 3, triangle}, {PT_TRIANGLE_STRIP, 3, strip}};

    TextureRecord texture;
    texture.name = "wood";
    texture.fileName = "room_books.tga";
    texture.magFilter = TFM_LINEAR;
    texture.minFilter = TFM_POINT;
    texture.mipFilter = TFM_ANISOTROPIC;
    texture.addressU = TAM_CLAMP;
    texture.addressV = TAM_MIRROR;
    texture.animated = 1.0f;

    BoneRecord bone;
    bone.transform.name = "DynamicsBoneA";
    bone.transform.translation[0] = 3;
    bone.offset[2][3] = 7;
    BoneRecord other = bone;
    other.transform.name = "hip";

    ShaderRecord shader;
    shader.name = "cloth";
    shader.shaderType = ST_LAMBERT_3WS_DY;
    shader.textureName = "__NOTEX__";
    shader.colour[0] = 0.25f;
    shader.ambient[1] = 0.5f;
    shader.boneNames = {"DynamicsBoneA", "hip"};
    shader.linkList = {1, -1, 0, -1};
    ShaderRecord constant;
    constant.name = "sky";
    constant.shaderType = ST_CONSTANT;
    constant.textureName = "sky";

    ShapeRecord shape;
    shape.name = "box";
    shape.pairs = {{"cloth", "boxShape"}, {"sky", "boxShape"}};

    TransformRecord transform;
    transform.name = "boxRoot";
    transform.visible = 0;
    transform.rotation[1] = 1.25f;
    transform.scale[2] = 16.66f;

    HierarchyRecord hierarchy;
    hierarchy.nodes = {{"boxRoot", RT_TRANSFORM, 2, -1},
                       {"hip", RT_BONE, 1, 0},
                       {"box", RT_SHAPE, 0, 1},
                       {"DynamicsBoneA", RT_BONE, 0, 0}};

    CChunkWriter writer;
    writer.Write(texture);
    writer.Write(bone);
    writer.Write(other);
    writer.Write(shader);
    writer.Write(constant);
    writer.Write(geometry);
    writer.Write(shape);
    writer.Write(transform);
    writer.Write(hierarchy);
    ASSERT_FALSE(writer.Failed());
    std::vector<uint8_t> taken;
    std::string error;
    EXPECT_TRUE(writer.TakeBytes(taken, error));
    EXPECT_EQ(taken, writer.GetBytes());
    EXPECT_EQ(error, "");

    ChunkWalkResult result = ReadAll(writer.GetBytes());
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.accepted, 9);
    EXPECT_EQ(result.refused, 0);

    ASSERT_EQ(g_read.geometries.size(), 1u);
    const GeometryRecord& g = g_read.geometries[0];
    EXPECT_EQ(g.name, geometry.name);
    EXPECT_EQ(g.radius, 2.5f);
    EXPECT_EQ(g.centre[1], 1.0f);
    EXPECT_EQ(g.vertexFormat, 0x803u);
    ASSERT_EQ(g.vertexCount, 3);
    EXPECT_EQ(std::memcmp(g.vertices, vertices.data(), vertices.size() * 4), 0);
    ASSERT_EQ(g.groups.size(), 2u);
    EXPECT_EQ(g.groups[1].primitiveType, PT_TRIANGLE_STRIP);
    EXPECT_EQ(g.groups[1].Index(0), 2);
    EXPECT_EQ(g.groups[1].Index(2), 0);

    ASSERT_EQ(g_read.textures.size(), 1u);
    const TextureRecord& t = g_read.textures[0];
    EXPECT_EQ(t.fileName, "room_books.tga");
    EXPECT_EQ(t.magFilter, TFM_LINEAR);
    EXPECT_EQ(t.minFilter, TFM_POINT);
    EXPECT_EQ(t.mipFilter, TFM_ANISOTROPIC);
    EXPECT_EQ(t.addressU, TAM_CLAMP);
    EXPECT_EQ(t.addressV, TAM_MIRROR);
    EXPECT_TRUE(t.IsAnimated());

    ASSERT_EQ(g_read.bones.size(), 2u);
    ExpectSameTransform(g_read.bones[0].transform, bone.transform);
    EXPECT_EQ(g_read.bones[0].offset[2][3], 7.0f);
    EXPECT_EQ(g_read.bones[0].offset[0][0], 1.0f);

    ASSERT_EQ(g_read.shaders.size(), 2u);
    const ShaderRecord& s = g_read.shaders[0];
    EXPECT_EQ(s.shaderType, ST_LAMBERT_3WS_DY);
    EXPECT_STREQ(s.TextureToFind(), "dummyTex");
    EXPECT_EQ(s.colour[0], 0.25f);
    EXPECT_EQ(s.ambient[1], 0.5f);
    EXPECT_EQ(s.boneNames, shader.boneNames);
    EXPECT_EQ(s.dynamicsBone, 0);
    EXPECT_EQ(s.linkList, shader.linkList);
    EXPECT_EQ(g_read.shaders[1].name, "sky");
    EXPECT_TRUE(g_read.shaders[1].boneNames.empty());

    ASSERT_EQ(g_read.shapes.size(), 1u);
    ASSERT_EQ(g_read.shapes[0].pairs.size(), 2u);
    EXPECT_EQ(g_read.shapes[0].pairs[1].shaderName, "sky");
    EXPECT_EQ(g_read.shapes[0].pairs[1].geometryName, "boxShape");

    ASSERT_EQ(g_read.transforms.size(), 1u);
    ExpectSameTransform(g_read.transforms[0], transform);

    ASSERT_EQ(g_read.hierarchies.size(), 1u);
    const std::vector<HierarchyNode>& n = g_read.hierarchies[0].nodes;
    ASSERT_EQ(n.size(), 4u);
    for (size_t i = 0; i < n.size(); ++i) {
        EXPECT_EQ(n[i].name, hierarchy.nodes[i].name);
        EXPECT_EQ(n[i].kind, hierarchy.nodes[i].kind);
        EXPECT_EQ(n[i].parent, hierarchy.nodes[i].parent);
    }
}

TEST(ChunkRoundTrip, AnimationRecordsReadBackAsWritten) {
    AnimationDataRecord data;
    data.name = "walkX";
    data.interpolation = AI_LINEAR;
    data.keys = {{10, 1, 0}, {20, -2, 1}, {5, 0, -1}};
    AnimationDataRecord cubic;
    cubic.name = "cubic";
    cubic.interpolation = AI_CUBIC;
    AnimatorRecord animator;
    animator.name = "walkXAnimator";
    animator.dataName = "walkX";
    animator.targetName = "veskoRoot";
    animator.targetKind = RT_TRANSFORM;
    animator.attribute = 14;
    AnimationSetRecord set;
    set.name = "veskoWalk03";
    set.animatorNames = {"walkXAnimator", "other"};

    CChunkWriter writer;
    writer.Write(data);
    writer.Write(cubic);
    writer.Write(animator);
    writer.Write(set);
    ASSERT_FALSE(writer.Failed());
    ChunkWalkResult result = ReadAll(writer.GetBytes());
    EXPECT_EQ(result.accepted, 3);
    EXPECT_EQ(result.empty, 1);

    ASSERT_EQ(g_read.data.size(), 1u);
    ASSERT_EQ(g_read.data[0].keys.size(), 3u);
    EXPECT_EQ(g_read.data[0].keys[1].length, 20.0f);
    EXPECT_EQ(g_read.data[0].keys[1].change, -2.0f);
    EXPECT_EQ(g_read.data[0].keys[2].start, -1.0f);
    ASSERT_EQ(g_read.animators.size(), 1u);
    EXPECT_EQ(g_read.animators[0].dataName, "walkX");
    EXPECT_EQ(g_read.animators[0].targetName, "veskoRoot");
    EXPECT_EQ(g_read.animators[0].targetKind, RT_TRANSFORM);
    EXPECT_EQ(g_read.animators[0].attribute, 14);
    ASSERT_EQ(g_read.sets.size(), 1u);
    EXPECT_EQ(g_read.sets[0].animatorNames, set.animatorNames);
}

TEST(ChunkRoundTrip, WriterRefusesWhatTheReaderWouldRefuse) {
    TransformRecord longName;
    longName.name = std::string(256, 'n');
    CChunkWriter texts;
    texts.Write(longName);
    EXPECT_TRUE(texts.Failed());
    // A refused stream is not handed out: the bytes stay as they were.
    std::vector<uint8_t> bytes = {7};
    std::string error;
    EXPECT_FALSE(texts.TakeBytes(bytes, error, "the long name"));
    EXPECT_EQ(error, "the chunk writer refused the long name");
    EXPECT_EQ(bytes, std::vector<uint8_t>{7});

    HierarchyRecord wrongCount;
    wrongCount.nodes = {{"top", RT_TRANSFORM, 2, -1}, {"child", RT_TRANSFORM, 0, 0}};
    CChunkWriter hierarchy;
    hierarchy.Write(wrongCount);
    EXPECT_TRUE(hierarchy.Failed());

    struct Bad {
        const char* what;
        std::function<void(CChunkWriter&)> write;
    } bad[] = {
        {"shader type 9",
         [](CChunkWriter& w) {
             ShaderRecord s;
             s.shaderType = 9;
             w.Write(s);
         }},
        {"21 palette bones",
         [](CChunkWriter& w) {
             ShaderRecord s;
             s.shaderType = ST_LAMBERT_2WS;
             s.boneNames.assign(21, "b");
             w.Write(s);
         }},
        {"address mode 3",
         [](CChunkWriter& w) {
             TextureRecord t;
             t.addressV = 3;
             w.Write(t);
         }},
        {"attribute 21",
         [](CChunkWriter& w) {
             AnimatorRecord a;
             a.attribute = 21;
             w.Write(a);
         }},
        {"index past the vertices",
         [](CChunkWriter& w) {
             static const float v[5] = {};
             static const uint8_t i[2] = {1, 0};
             GeometryRecord g;
             g.vertexFormat = 0x801;
             g.vertexCount = 1;
             g.vertices = reinterpret_cast<const uint8_t*>(v);
             g.groups = {{PT_TRIANGLE_LIST, 1, i}};
             w.Write(g);
         }},
    };
    for (const Bad& b : bad) {
        CChunkWriter w;
        b.write(w);
        EXPECT_TRUE(w.Failed()) << b.what;
    }

    GeometryRecord noVertices;
    noVertices.vertexFormat = 0x801;
    noVertices.vertexCount = 4;
    CChunkWriter geometry;
    geometry.Write(noVertices);
    EXPECT_TRUE(geometry.Failed());
}

TEST(ChunkRoundTrip, TextsOfEveryPaddingLengthKeepTheFieldsAfterThem) {
    for (size_t length = 0; length <= 9; ++length) {
        TransformRecord t;
        t.name = std::string(length, 'a');
        t.scale[2] = float(length);
        CChunkWriter writer;
        writer.Write(t);
        EXPECT_EQ(writer.GetBytes().size(), 8 + length / 4 * 4 + 4 + 40) << length;
        ReadAll(writer.GetBytes());
        ASSERT_EQ(g_read.transforms.size(), 1u) << length;
        ExpectSameTransform(g_read.transforms[0], t);
    }
}

} // namespace
