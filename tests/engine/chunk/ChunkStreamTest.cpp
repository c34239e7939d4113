#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "tests/engine/chunk/StreamBytes.h"
#include "engine/resource/ResourceManager.h"

namespace {

std::vector<TransformRecord> g_transforms;
std::vector<GeometryRecord> g_geometries;
std::vector<ShaderRecord> g_shaders;
std::vector<HierarchyRecord> g_hierarchies;
CResourceManager* g_currentDuringHandler = nullptr;

struct ChunkWalk : ::testing::Test {
    void SetUp() override {
        ClearChunkHandlers();
        g_transforms.clear();
        g_geometries.clear();
        g_shaders.clear();
        g_hierarchies.clear();
        SetChunkHandler([](const TransformRecord& r) {
            g_transforms.push_back(r);
            g_currentDuringHandler = CurrentResourceManager;
        });
        SetChunkHandler([](const GeometryRecord& r) { g_geometries.push_back(r); });
        SetChunkHandler([](const ShaderRecord& r) { g_shaders.push_back(r); });
        SetChunkHandler([](const HierarchyRecord& r) { g_hierarchies.push_back(r); });
    }
    void TearDown() override { ClearChunkHandlers(); }

    ChunkWalkResult Walk(const StreamBytes& s, uint32_t mask = CHUNK_MASK_ALL) {
        return LoadChunkStream(&registry, s.Data(), s.Size(), mask);
    }
    CResourceManager registry;
};

StreamBytes TransformRecordBytes(const std::string& name) {
    StreamBytes r;
    r.Text(name).Int(1).Float(1).Float(2).Float(3).Floats(3, 0.5f).Floats(3, 2);
    return r;
}

TEST_F(ChunkWalk, EmptyStreamCreatesNothing) {
    StreamBytes s;
    ChunkWalkResult r = Walk(s);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.accepted + r.refused + r.skipped + r.empty, 0);
    EXPECT_EQ(LoadChunkStream(&registry, nullptr, 100, CHUNK_MASK_ALL).accepted, 0);
}

TEST_F(ChunkWalk, SetsTheRegistryForTheWalkAndRestoresIt) {
    CResourceManager* before = CurrentResourceManager;
    StreamBytes s;
    s.Chunk(RT_TRANSFORM, TransformRecordBytes("t"));
    EXPECT_EQ(Walk(s).accepted, 1);
    EXPECT_EQ(g_currentDuringHandler, &registry);
    EXPECT_EQ(CurrentResourceManager, before);
    ASSERT_EQ(g_transforms.size(), 1u);
    EXPECT_EQ(g_transforms[0].name, "t");
    EXPECT_EQ(g_transforms[0].translation[2], 3.0f);
    EXPECT_EQ(g_transforms[0].scale[0], 2.0f);
}

TEST_F(ChunkWalk, StepsByChunkSizeOverExtraBytesAndUnloadedKinds) {
    StreamBytes s;
    StreamBytes padded = TransformRecordBytes("a");
    padded.Word(0xDEADBEEF).Word(0xDEADBEEF); // read by no one
    StreamBytes anything;
    anything.Word(1).Word(2);
    s.Chunk(RT_TRANSFORM, padded).Chunk(RT_LIGHT, anything).Chunk(RT_CAMERA, anything).Chunk(12, anything);
    s.Chunk(0xFFFFFFFFu, anything).Chunk(RT_TRANSFORM, TransformRecordBytes("b"));
    ChunkWalkResult r = Walk(s);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.accepted, 2);
    EXPECT_EQ(r.skipped, 4);
    ASSERT_EQ(g_transforms.size(), 2u);
    EXPECT_EQ(g_transforms[1].name, "b");
}

TEST_F(ChunkWalk, MaskBitOfTypeModulo32SelectsKinds) {
    StreamBytes s;
    s.Chunk(RT_TRANSFORM, TransformRecordBytes("a")).Chunk(RT_TRANSFORM + 32, TransformRecordBytes("b"));
    ChunkWalkResult r = Walk(s, ~(1u << RT_TRANSFORM));
    EXPECT_EQ(r.skipped, 2);
    EXPECT_TRUE(g_transforms.empty());
    // Type 36 has bit 4 but no loader.
    r = Walk(s, 1u << RT_TRANSFORM);
    EXPECT_EQ(r.accepted, 1);
    EXPECT_EQ(r.skipped, 1);
}

TEST_F(ChunkWalk, BrokenChunkHeadersEndTheWalk) {
    struct Case {
        const char* what;
        uint32_t size;
        size_t trailing;
    } cases[] = {
        {"size 0", 0, 8},
        {"size below the header", 7, 8},
        {"size past the end", 9 + 64, 64},
        {"size wrapping the position", 0xFFFFFFF8u, 64},
        {"size of all ones", 0xFFFFFFFFu, 64},
    };
    for (const Case& c : cases) {
        StreamBytes s;
        s.Chunk(RT_TRANSFORM, TransformRecordBytes("first"));
        s.Word(RT_TRANSFORM).Word(c.size);
        s.bytes.insert(s.bytes.end(), c.trailing, 0);
        g_transforms.clear();
        ChunkWalkResult r = Walk(s);
        EXPECT_FALSE(r.complete) << c.what;
        EXPECT_EQ(g_transforms.size(), 1u) << c.what;
    }
    // A stream that ends inside a header.
    StreamBytes cut;
    cut.Chunk(RT_TRANSFORM, TransformRecordBytes("first")).Word(RT_TRANSFORM);
    EXPECT_FALSE(Walk(cut).complete);
}

TEST_F(ChunkWalk, RecordCutShortByItsChunkIsRefusedAndTheWalkGoesOn) {
    // The transform's floats lie beyond its chunk's size; the bytes after it
    // form the next chunk, so the walk must not read them as the record.
    StreamBytes whole = TransformRecordBytes("cut");
    StreamBytes shortRecord;
    shortRecord.bytes.assign(whole.bytes.begin(), whole.bytes.begin() + 12);
    StreamBytes s;
    s.Chunk(RT_TRANSFORM, shortRecord).Chunk(RT_TRANSFORM, TransformRecordBytes("next"));
    ChunkWalkResult r = Walk(s);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.refused, 1);
    ASSERT_EQ(g_transforms.size(), 1u);
    EXPECT_EQ(g_transforms[0].name, "next");
}

StreamBytes GeometryHead(int32_t format, int32_t skip = 0) {
    StreamBytes r;
    r.Text("geo").Float(1.5f).Float(0).Float(1).Float(2).Int(1).Int(format).Int(skip);
    return r;
}

TEST_F(ChunkWalk, GeometryGroupsFollowTheirIndicesWithoutPadding) {
    StreamBytes r = GeometryHead(0x801);
    r.Int(4).Floats(4 * 5, 0.25f); // four position + texcoord vertices
    r.Int(2);
    r.Int(PT_TRIANGLE_LIST).Int(3).Short(0).Short(1).Short(2); // ends on a 2-byte boundary
    r.Int(PT_TRIANGLE_STRIP).Int(4).Short(0).Short(1).Short(2).Short(3);
    StreamBytes s;
    s.Chunk(RT_GEOMETRY, r);
    EXPECT_EQ(Walk(s).accepted, 1);
    ASSERT_EQ(g_geometries.size(), 1u);
    const GeometryRecord& g = g_geometries[0];
    EXPECT_EQ(g.vertexCount, 4);
    EXPECT_EQ(g.radius, 1.5f);
    EXPECT_EQ(g.doubleSided, 1);
    ASSERT_EQ(g.groups.size(), 2u);
    EXPECT_EQ(g.groups[1].primitiveType, PT_TRIANGLE_STRIP);
    EXPECT_EQ(g.groups[1].indices - g.groups[0].indices, 3 * 2 + 8);
    EXPECT_EQ(g.groups[1].Index(3), 3);
    EXPECT_EQ(g.vertices, s.Data() + 8 + 32 + 4);
}

TEST_F(ChunkWalk, GeometryWithSkipSetCreatesNothing) {
    StreamBytes s;
    s.Chunk(RT_GEOMETRY, GeometryHead(0x801, 1));
    ChunkWalkResult r = Walk(s);
    EXPECT_EQ(r.empty, 1);
    EXPECT_TRUE(g_geometries.empty());
}

StreamBytes ShaderBytes(int32_t type, const std::string& texture, const std::vector<std::string>& bones,
                        const std::vector<int32_t>& links) {
    return ShaderRecordBytes("mat", type, texture, {1, 0.5f, 0.25f, 1}, {0.1f, 0.2f, 0.3f, 0.4f}, bones, links);
}

TEST_F(ChunkWalk, ShaderRecordsByType) {
    StreamBytes s;
    s.Chunk(RT_SHADER, ShaderBytes(ST_CONSTANT, "__NOTEX__", {}, {}));
    s.Chunk(RT_SHADER, ShaderBytes(ST_LAMBERT, "wood", {}, {}));
    s.Chunk(RT_SHADER, ShaderBytes(ST_LAMBERT_2WS_DY, "cloth", {"hip", "DynamicsBone1", "DynamicsBone2", "knee"},
                                   {1, 2, -1, -1, 0, -1}));
    EXPECT_EQ(Walk(s).accepted, 3);
    ASSERT_EQ(g_shaders.size(), 3u);
    EXPECT_STREQ(g_shaders[0].TextureToFind(), "dummyTex");
    EXPECT_STREQ(g_shaders[1].TextureToFind(), "wood");
    EXPECT_EQ(g_shaders[1].ambient[2], 0.3f);
    EXPECT_EQ(g_shaders[1].ambient[3], 1.0f); // the stored fourth value is not used
    const ShaderRecord& dy = g_shaders[2];
    EXPECT_EQ(dy.boneNames.size(), 4u);
    EXPECT_EQ(dy.dynamicsBone, 2);
    std::vector<ShaderLink> links = dy.Links();
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].point, 0);
    EXPECT_EQ(links[0].linked, 1);
    EXPECT_EQ(links[1].linked, 2);
    EXPECT_EQ(links[2].point, 2);
    EXPECT_EQ(links[2].linked, 0);
}

// name, kind, child count
StreamBytes& Node(StreamBytes& r, const std::string& name, int32_t kind, int32_t children) {
    r.Text(name).Int(kind).Int(children);
    return r;
}

TEST_F(ChunkWalk, HierarchyFlattensThreeLevelsWithParents) {
    StreamBytes r;
    Node(r, "top", RT_TRANSFORM, 2);
    Node(r, "child", RT_TRANSFORM, 1);
    Node(r, "grandchild", RT_SHAPE, 0);
    Node(r, "bone", RT_BONE, 0);
    StreamBytes s;
    s.Chunk(RT_HIERARCHY, r);
    EXPECT_EQ(Walk(s).accepted, 1);
    ASSERT_EQ(g_hierarchies.size(), 1u);
    const std::vector<HierarchyNode>& n = g_hierarchies[0].nodes;
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[0].parent, -1);
    EXPECT_EQ(n[1].parent, 0);
    EXPECT_EQ(n[2].parent, 1);
    EXPECT_EQ(n[2].name, "grandchild");
    EXPECT_EQ(n[3].parent, 0);
}

TEST_F(ChunkWalk, HierarchyDeeperThanTheBoundIsRefused) {
    struct Case {
        int depth;
        bool accepted;
    };
    // The deepest is read without recursion before it is refused.
    for (Case c : {Case{MAX_HIERARCHY_DEPTH, true}, Case{MAX_HIERARCHY_DEPTH + 1, false}, Case{200000, false}}) {
        g_hierarchies.clear();
        StreamBytes r;
        for (int i = 0; i < c.depth; ++i)
            Node(r, "n", RT_TRANSFORM, i + 1 < c.depth ? 1 : 0);
        StreamBytes s;
        s.Chunk(RT_HIERARCHY, r);
        ChunkWalkResult result = Walk(s);
        EXPECT_EQ(result.accepted, c.accepted ? 1 : 0) << c.depth;
        EXPECT_EQ(result.refused, c.accepted ? 0 : 1) << c.depth;
        ASSERT_EQ(g_hierarchies.size(), c.accepted ? 1u : 0u) << c.depth;
        if (c.accepted) {
            EXPECT_EQ(g_hierarchies[0].nodes.back().parent, c.depth - 2);
        }
    }
    // Width is not depth: many children of one node are fine.
    g_hierarchies.clear();
    StreamBytes r;
    const int width = 50000;
    Node(r, "top", RT_TRANSFORM, width);
    for (int i = 0; i < width; ++i)
        Node(r, "leaf", RT_SHAPE, 0);
    StreamBytes s;
    s.Chunk(RT_HIERARCHY, r);
    EXPECT_EQ(Walk(s).accepted, 1);
    ASSERT_EQ(g_hierarchies.size(), 1u);
    EXPECT_EQ(g_hierarchies[0].nodes.size(), size_t(width + 1));
}

} // namespace
