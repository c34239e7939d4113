// The loaders of geometry, shader and shape records, fed chunk streams laid
// out byte by byte: what each record builds, how a missing name is reported
// and left out, and records that would have the engine read or write beside
// its data refused at load.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkStream.h"
#include "tests/engine/chunk/StreamBytes.h"
#include "engine/geometry/Geometry.h"
#include "engine/geometry/Shape.h"
#include "tests/engine/geometry/ShadingRecorder.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/shader/ShaderPrograms.h"
#include "engine/shader/ShaderTypes.h"

namespace {

int g_missing = 0;
void CountMissing(void*) { ++g_missing; }

StreamBytes BoneRecord(const std::string& name) {
    StreamBytes r;
    r.Text(name).Int(1).Floats(3).Floats(3).Floats(3, 1.0f);
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 4; ++row)
            r.Float(row == column ? 1.0f : 0.0f);
    return r;
}

struct Group {
    int type;
    std::vector<uint16_t> indices;
};

StreamBytes GeometryRecord(const std::string& name, uint32_t mask, int vertexCount, const std::vector<float>& vertices,
                           const std::vector<Group>& groups, bool doubleSided = true, float radius = -1.0f) {
    StreamBytes r;
    r.Text(name).Float(radius).Float(1).Float(2).Float(3).Int(doubleSided ? 1 : 0).Int(int32_t(mask)).Int(0);
    r.Int(vertexCount);
    for (float v : vertices)
        r.Float(v);
    r.Int(int32_t(groups.size()));
    for (const Group& g : groups) {
        r.Int(g.type).Int(int32_t(g.indices.size()));
        for (uint16_t i : g.indices)
            r.Short(i);
    }
    return r;
}

StreamBytes ShaderRecord(const std::string& name, int type, const std::string& texture,
                         const std::vector<std::string>& bones = {}, const std::vector<int32_t>& links = {}) {
    return ShaderRecordBytes(name, type, texture, {0.2f, 0.4f, 0.6f, 1.0f}, {0.1f, 0.3f, 0.5f, 0.0f}, bones, links);
}

StreamBytes ShapeRecord(const std::string& name, const std::vector<std::pair<std::string, std::string>>& pairs) {
    StreamBytes r;
    r.Text(name).Int(int32_t(pairs.size()));
    for (const auto& p : pairs)
        r.Text(p.first).Text(p.second);
    return r;
}

// Vertices of a two-weight skinned layout: position i, normal +z, weights
// (w0, 1 - w0), bone indices stored as 3 × palette index, texcoord.
std::vector<float> SkinnedVertices(int n, float boneA, float boneB, float w0 = 1.0f) {
    std::vector<float> v;
    for (int i = 0; i < n; ++i)
        v.insert(v.end(), {float(i), 0, 0, 0, 0, 1, w0, 1.0f - w0, 3 * boneA, 3 * boneB, 0, 0, 0, 0});
    return v;
}

class DrawableLoaderTest : public ShadingTest {
protected:
    void SetUp() override {
        ShadingTest::SetUp();
        g_missing = 0;
        SetMissingResourceHandler(CountMissing);
    }
    void TearDown() override {
        SetMissingResourceHandler(nullptr);
        ShadingTest::TearDown();
    }
    ChunkWalkResult Load(const StreamBytes& stream) {
        return LoadChunkStream(renderer->GetResourceManager(), stream.Data(), stream.Size(), CHUNK_MASK_ALL);
    }
    template <class T>
    T* Find(const char* name, int kind) {
        return dynamic_cast<T*>(renderer->GetResourceManager()->Find(name, kind));
    }
};

TEST_F(DrawableLoaderTest, RecordsBuildGeometryShadersAndShapes) {
    CTexture* wood = MakeTestTexture("wood", D3DFMT_X8R8G8B8);
    CTexture* dummy = MakeTestTexture("dummyTex", D3DFMT_X8R8G8B8);
    const uint32_t lambertMask = ShaderVertexMask(ST_LAMBERT);
    std::vector<float> quad;
    for (int i = 0; i < 4; ++i)
        quad.insert(quad.end(), {float(i), 1, 2, 0, 0, 1, 0.5f, 0.25f});
    StreamBytes stream;
    stream.Chunk(RT_BONE, BoneRecord("hip"));
    stream.Chunk(RT_BONE, BoneRecord("DynamicsBone01"));
    // An odd group first: the next group starts right after its last index.
    stream.Chunk(RT_GEOMETRY,
                 GeometryRecord("quad", lambertMask, 4, quad,
                                {{PT_TRIANGLE_STRIP, {0, 1, 2}}, {PT_TRIANGLE_STRIP, {0, 1, 2, 3}}}, false, 2.5f));
    stream.Chunk(RT_GEOMETRY, GeometryRecord("skinMesh", ShaderVertexMask(ST_LAMBERT_2WS_DY), 3,
                                             SkinnedVertices(3, 0, 1, 0.5f), {{PT_TRIANGLE_LIST, {0, 1, 2}}}));
    stream.Chunk(RT_SHADER, ShaderRecord("plain", ST_LAMBERT, "__NOTEX__"));
    stream.Chunk(RT_SHADER, ShaderRecord("skin", ST_LAMBERT_2WS, "wood", {"hip", "noSuchBone", "DynamicsBone01"}));
    stream.Chunk(RT_SHADER,
                 ShaderRecord("hair", ST_LAMBERT_2WS_DY, "wood", {"hip", "DynamicsBone01"}, {1, -1, 2, -1, -1}));
    stream.Chunk(
        RT_SHAPE,
        ShapeRecord("body",
                    {{"plain", "quad"}, {"noSuchShader", "quad"}, {"hair", "skinMesh"}, {"plain", "noSuchGeometry"}}));
    ChunkWalkResult result = Load(stream);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.accepted, 8);
    EXPECT_EQ(result.refused, 0);
    EXPECT_EQ(g_missing, 3) << "a bone, a shader and a geometry";

    CIndexedGeometry* geometry = Find<CIndexedGeometry>("quad", RT_GEOMETRY);
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(geometry->GetVertexCount(), 4);
    EXPECT_EQ(std::memcmp(geometry->GetSourceVertices(), quad.data(), quad.size() * 4), 0);
    EXPECT_EQ(geometry->GetGroupCount(), 2);
    EXPECT_EQ(geometry->GetGroupDrawCount(1), 4);
    EXPECT_FALSE(geometry->IsDoubleSided());
    EXPECT_FLOAT_EQ(geometry->GetBoundingRadius(), 2.5f);
    EXPECT_FLOAT_EQ(geometry->GetBoundingCentre()[2], 3.0f);
    ASSERT_GE(device().indexBuffers.size(), 2u);
    EXPECT_EQ(device().indexBuffers[1]->bytes, std::vector<uint8_t>({0, 0, 1, 0, 2, 0, 3, 0}));

    CShader* plain = Find<CShader>("plain", RT_SHADER);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetTexture(), dummy);
    ColorRGBA colour = plain->GetColor();
    EXPECT_FLOAT_EQ(colour.g, 0.4f);
    EXPECT_FLOAT_EQ(colour.a, 1.0f);
    const ColorRGBA& ambient = static_cast<CShaderLambert*>(plain)->GetMaterialAmbient();
    EXPECT_FLOAT_EQ(ambient.b, 0.5f);
    EXPECT_FLOAT_EQ(ambient.a, 1.0f) << "the stored fourth value is not used";

    CShaderSkinned* skin = Find<CShaderSkinned>("skin", RT_SHADER);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->GetTexture(), wood);
    ASSERT_EQ(skin->GetBoneCount(), 3) << "a missing bone keeps its palette place";
    EXPECT_EQ(skin->GetBone(0)->GetName(), "hip");
    EXPECT_EQ(skin->GetBone(1), nullptr);
    EXPECT_EQ(skin->GetBone(2)->GetName(), "DynamicsBone01");

    CShaderLambertDynamic* hair = Find<CShaderLambertDynamic>("hair", RT_SHADER);
    ASSERT_NE(hair, nullptr);
    EXPECT_EQ(hair->GetSkin().GetDynamicsBone(), 1);
    EXPECT_EQ(hair->GetSkin().GetWeightCount(), 2);
    CSpringSystem& springs = const_cast<CDynamicSkin&>(hair->GetSkin()).GetSprings();
    ASSERT_EQ(springs.GetLinkCount(), 2);
    EXPECT_EQ(springs.GetLink(0).a, 0);
    EXPECT_EQ(springs.GetLink(0).b, 1);
    EXPECT_EQ(springs.GetLink(1).a, 1);
    EXPECT_EQ(springs.GetLink(1).b, 2);

    CShape* shape = Find<CShape>("body", RT_SHAPE);
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->GetPairCount(), 2);
    EXPECT_EQ(shape->GetPairShader(0), plain);
    EXPECT_EQ(shape->GetPairGeometry(0), geometry);
    EXPECT_EQ(shape->GetPairShader(1), hair);
}

TEST_F(DrawableLoaderTest, HostileRecordsAreRefusedAtLoad) {
    const uint32_t dynamicMask = ShaderVertexMask(ST_LAMBERT_2WS_DY);
    const std::vector<Group> triangle = {{PT_TRIANGLE_LIST, {0, 1, 2}}};
    std::vector<std::string> twentyOne;
    for (int i = 0; i < 21; ++i)
        twentyOne.push_back("bone");
    std::vector<float> lambertVertices(3 * 8, 0.0f);
    struct Case {
        const char* what;
        StreamBytes records;
        const char* absentShader;   // not created
        const char* absentGeometry; // not created
        int shapePairs;             // pairs of shape "s", or -1 for no shape
    } cases[] = {
        {"a shader listing 21 bones",
         StreamBytes().Chunk(RT_SHADER, ShaderRecord("many", ST_LAMBERT_4WS, "__NOTEX__", twentyOne)), "many", nullptr,
         -1},
        {"a link table ending inside a run",
         StreamBytes().Chunk(RT_SHADER, ShaderRecord("open", ST_LAMBERT_2WS_DY, "__NOTEX__", {"bone"}, {1, -1, 0})),
         "open", nullptr, -1},
        {"a link to a negative point",
         StreamBytes().Chunk(RT_SHADER, ShaderRecord("minus", ST_LAMBERT_3WS_DY, "__NOTEX__", {"bone"}, {-2, -1})),
         "minus", nullptr, -1},
        {"an unknown shader type", StreamBytes().Chunk(RT_SHADER, ShaderRecord("ninth", 9, "__NOTEX__")), "ninth",
         nullptr, -1},
        {"a vertex naming a bone the shader lacks",
         StreamBytes()
             .Chunk(RT_SHADER, ShaderRecord("dyn", ST_LAMBERT_2WS_DY, "__NOTEX__", {"bone", "bone"}, {1, -1, -1, -1}))
             .Chunk(RT_GEOMETRY, GeometryRecord("g", dynamicMask, 3, SkinnedVertices(3, 0, 2), triangle))
             .Chunk(RT_SHAPE, ShapeRecord("s", {{"dyn", "g"}})),
         nullptr, nullptr, 0},
        {"a link naming a point past the vertices",
         StreamBytes()
             .Chunk(RT_SHADER, ShaderRecord("dyn", ST_LAMBERT_2WS_DY, "__NOTEX__", {"bone", "bone"}, {5, -1}))
             .Chunk(RT_GEOMETRY, GeometryRecord("g", dynamicMask, 3, SkinnedVertices(3, 0, 1), triangle))
             .Chunk(RT_SHAPE, ShapeRecord("s", {{"dyn", "g"}})),
         nullptr, nullptr, 0},
        {"a dynamic shader on another vertex layout",
         StreamBytes()
             .Chunk(RT_SHADER, ShaderRecord("dyn", ST_LAMBERT_2WS_DY, "__NOTEX__", {"bone"}, {}))
             .Chunk(RT_GEOMETRY, GeometryRecord("g", ShaderVertexMask(ST_LAMBERT), 3, lambertVertices, triangle))
             .Chunk(RT_SHAPE, ShapeRecord("s", {{"dyn", "g"}})),
         nullptr, nullptr, 0},
        {"the same pair, fitting",
         StreamBytes()
             .Chunk(RT_SHADER, ShaderRecord("dyn", ST_LAMBERT_2WS_DY, "__NOTEX__", {"bone", "bone"}, {1, -1, 2, -1}))
             .Chunk(RT_GEOMETRY, GeometryRecord("g", dynamicMask, 3, SkinnedVertices(3, 0, 1), triangle))
             .Chunk(RT_SHAPE, ShapeRecord("s", {{"dyn", "g"}})),
         nullptr, nullptr, 1},
        {"an index past the vertices",
         StreamBytes().Chunk(RT_GEOMETRY, GeometryRecord("past", ShaderVertexMask(ST_LAMBERT), 3, lambertVertices,
                                                         {{PT_TRIANGLE_LIST, {0, 1, 3}}})),
         nullptr, "past", -1},
        {"more vertices than the record holds",
         StreamBytes().Chunk(RT_GEOMETRY,
                             GeometryRecord("short", ShaderVertexMask(ST_LAMBERT), 4, lambertVertices, triangle)),
         nullptr, "short", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        renderer.reset();
        renderer = std::make_unique<CPassRenderer>(nullptr, 320, 240, true, false);
        MakeTestTexture("dummyTex", D3DFMT_X8R8G8B8);
        StreamBytes stream;
        stream.Chunk(RT_BONE, BoneRecord("bone"));
        stream.Raw(c.records.bytes);
        g_missing = 0;
        ChunkWalkResult result = Load(stream);
        EXPECT_TRUE(result.complete);
        EXPECT_EQ(g_missing, 0);
        if (c.absentShader)
            EXPECT_EQ(Find<CShader>(c.absentShader, RT_SHADER), nullptr);
        if (c.absentGeometry)
            EXPECT_EQ(Find<CGeometry>(c.absentGeometry, RT_GEOMETRY), nullptr);
        CShape* shape = Find<CShape>("s", RT_SHAPE);
        if (c.shapePairs < 0) {
            EXPECT_EQ(shape, nullptr);
        } else {
            ASSERT_NE(shape, nullptr);
            EXPECT_EQ(shape->GetPairCount(), c.shapePairs);
        }
    }
}

} // namespace
