#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "tests/engine/chunk/StreamBytes.h"
#include "engine/resource/ResourceManager.h"

// Malformed records of every kind: each must be refused on its own, without
// reading outside its chunk (the host build runs this under AddressSanitizer:
// every record sits at the very end of its own heap block).
namespace {

struct HostileCase {
    const char* what;
    uint32_t type;
    std::function<void(StreamBytes&)> build;
};

StreamBytes& Transform(StreamBytes& r, const std::string& name = "t") { return r.Text(name).Int(1).Floats(9, 1); }

StreamBytes& GeometryHead(StreamBytes& r, int32_t format) {
    return r.Text("g").Float(1).Floats(3).Int(0).Int(format).Int(0);
}

StreamBytes& ShaderHead(StreamBytes& r, int32_t type) {
    r.Text("s").Int(type).Text("tex").Floats(4, 1);
    if (type != ST_CONSTANT)
        r.Floats(4, 1);
    return r;
}

const HostileCase CASES[] = {
    // Texts
    {"name without a zero inside the record", RT_TRANSFORM,
     [](StreamBytes& r) {
         r.bytes = {'a', 'b', 'c', 'd'};
     }},
    {"name of 256 bytes", RT_TRANSFORM, [](StreamBytes& r) { Transform(r, std::string(256, 'n')); }},
    {"name padding cut by the chunk end", RT_ANIMATION_SET,
     [](StreamBytes& r) { r.bytes = {'a', 'b', 'c', 'd', 'e', 0}; }},
    {"transform missing its scale", RT_TRANSFORM, [](StreamBytes& r) { r.Text("t").Int(1).Floats(6); }},
    {"bone missing its last offset column", RT_BONE, [](StreamBytes& r) { Transform(r).Floats(8); }},
    // Geometry
    {"vertex count past the record", RT_GEOMETRY,
     [](StreamBytes& r) { GeometryHead(r, 0x801).Int(3).Floats(10).Int(0); }},
    {"vertex count times size overflowing 32 bits", RT_GEOMETRY,
     [](StreamBytes& r) { GeometryHead(r, 0x7FFFF).Int(0x7FFFFFFF).Int(0); }},
    {"negative vertex count", RT_GEOMETRY, [](StreamBytes& r) { GeometryHead(r, 0x801).Int(-1).Int(0); }},
    {"vertices of no bytes", RT_GEOMETRY, [](StreamBytes& r) { GeometryHead(r, 0x80000).Int(1000).Int(0); }},
    {"group count past the record", RT_GEOMETRY,
     [](StreamBytes& r) { GeometryHead(r, 0x801).Int(1).Floats(5).Int(0x20000000); }},
    {"index count past the record", RT_GEOMETRY,
     [](StreamBytes& r) { GeometryHead(r, 0x801).Int(1).Floats(5).Int(1).Int(0).Int(0x7FFFFFFF).Short(0); }},
    {"index past the vertices", RT_GEOMETRY,
     [](StreamBytes& r) { GeometryHead(r, 0x801).Int(3).Floats(15).Int(1).Int(0).Int(3).Short(0).Short(1).Short(3); }},
    {"primitive type outside its table", RT_GEOMETRY,
     [](StreamBytes& r) { GeometryHead(r, 0x801).Int(3).Floats(15).Int(1).Int(4).Int(3).Short(0).Short(1).Short(2); }},
    // Shaders
    {"shader type 9", RT_SHADER, [](StreamBytes& r) { r.Text("s").Int(9).Text("tex").Floats(8); }},
    {"negative shader type", RT_SHADER, [](StreamBytes& r) { r.Text("s").Int(-1).Text("tex").Floats(8); }},
    {"21 palette bones", RT_SHADER,
     [](StreamBytes& r) {
         ShaderHead(r, ST_LAMBERT_2WS).Int(21);
         for (int i = 0; i < 21; ++i)
             r.Text("b");
     }},
    {"bone count past the record", RT_SHADER, [](StreamBytes& r) { ShaderHead(r, ST_LAMBERT_3WS).Int(2).Text("b"); }},
    {"negative bone count", RT_SHADER, [](StreamBytes& r) { ShaderHead(r, ST_LAMBERT_4WS).Int(-3); }},
    {"link bytes past the record", RT_SHADER,
     [](StreamBytes& r) { ShaderHead(r, ST_LAMBERT_2WS_DY).Int(1).Text("b").Int(16).Int(1).Int(-1); }},
    {"negative link byte count", RT_SHADER, [](StreamBytes& r) { ShaderHead(r, ST_LAMBERT_3WS_DY).Int(0).Int(-4); }},
    {"link index below -1", RT_SHADER,
     [](StreamBytes& r) { ShaderHead(r, ST_LAMBERT_4WS_DY).Int(0).Int(8).Int(-2).Int(-1); }},
    {"lit shader without its ambient colour", RT_SHADER,
     [](StreamBytes& r) { r.Text("s").Int(ST_LAMBERT).Text("tex").Floats(4); }},
    // Shapes
    {"pair count past the record", RT_SHAPE, [](StreamBytes& r) { r.Text("shape").Int(2).Text("s").Text("g"); }},
    {"negative pair count", RT_SHAPE, [](StreamBytes& r) { r.Text("shape").Int(-1); }},
    // Textures
    {"magnification filter 4", RT_TEXTURE,
     [](StreamBytes& r) { r.Text("t").Text("f.tga").Int(4).Int(0).Int(0).Int(0).Int(0).Float(0); }},
    {"negative mip filter", RT_TEXTURE,
     [](StreamBytes& r) { r.Text("t").Text("f.tga").Int(0).Int(0).Int(-1).Int(0).Int(0).Float(0); }},
    {"address mode 3", RT_TEXTURE,
     [](StreamBytes& r) { r.Text("t").Text("f.tga").Int(0).Int(0).Int(0).Int(0).Int(3).Float(0); }},
    {"texture without its animated flag", RT_TEXTURE,
     [](StreamBytes& r) { r.Text("t").Text("f.tga").Int(0).Int(0).Int(0).Int(0).Int(0); }},
    // Animation
    {"animator target kind 12", RT_ANIMATOR, [](StreamBytes& r) { r.Text("a").Text("d").Text("t").Int(12).Int(0); }},
    {"animator target kind -1", RT_ANIMATOR, [](StreamBytes& r) { r.Text("a").Text("d").Text("t").Int(-1).Int(0); }},
    {"animator attribute 21", RT_ANIMATOR,
     [](StreamBytes& r) { r.Text("a").Text("d").Text("t").Int(RT_TRANSFORM).Int(21); }},
    {"interpolation outside its table", RT_ANIMATION_DATA, [](StreamBytes& r) { r.Text("d").Int(2).Int(0); }},
    {"key count past the record", RT_ANIMATION_DATA,
     [](StreamBytes& r) { r.Text("d").Int(AI_LINEAR).Int(2).Floats(3); }},
    {"key count overflowing 32 bits", RT_ANIMATION_DATA,
     [](StreamBytes& r) { r.Text("d").Int(AI_LINEAR).Int(0x15555556).Floats(3); }},
    {"animator count past the record", RT_ANIMATION_SET, [](StreamBytes& r) { r.Text("set").Int(3).Text("a"); }},
    // Hierarchy
    {"node kind 12", RT_HIERARCHY, [](StreamBytes& r) { r.Text("n").Int(12).Int(0); }},
    {"child count past the record", RT_HIERARCHY,
     [](StreamBytes& r) { r.Text("n").Int(RT_TRANSFORM).Int(2).Text("c").Int(RT_TRANSFORM).Int(0); }},
    {"negative child count", RT_HIERARCHY, [](StreamBytes& r) { r.Text("n").Int(RT_TRANSFORM).Int(-1); }},
    {"children under a shape", RT_HIERARCHY,
     [](StreamBytes& r) { r.Text("n").Int(RT_SHAPE).Int(1).Text("c").Int(RT_TRANSFORM).Int(0); }},
    {"grandchild cut by the chunk end", RT_HIERARCHY,
     [](StreamBytes& r) {
         r.Text("n").Int(RT_TRANSFORM).Int(1).Text("c").Int(RT_TRANSFORM).Int(1).Text("g").Int(RT_SHAPE);
     }},
};

int g_handled = 0;

void CountAll() {
    SetChunkHandler([](const GeometryRecord&) { ++g_handled; });
    SetChunkHandler([](const ShaderRecord&) { ++g_handled; });
    SetChunkHandler([](const ShapeRecord&) { ++g_handled; });
    SetChunkHandler([](const TextureRecord&) { ++g_handled; });
    SetChunkHandler([](const TransformRecord&) { ++g_handled; });
    SetChunkHandler([](const AnimatorRecord&) { ++g_handled; });
    SetChunkHandler([](const AnimationDataRecord&) { ++g_handled; });
    SetChunkHandler([](const AnimationSetRecord&) { ++g_handled; });
    SetChunkHandler([](const HierarchyRecord&) { ++g_handled; });
    SetChunkHandler([](const BoneRecord&) { ++g_handled; });
}

TEST(HostileRecords, EachIsRefusedAloneAndTheWalkGoesOn) {
    CResourceManager registry;
    CountAll();
    for (const HostileCase& c : CASES) {
        StreamBytes record;
        c.build(record);
        StreamBytes chunk;
        chunk.Chunk(c.type, record);
        // Its own heap block, so that a read past the chunk is caught.
        std::vector<uint8_t> alone(chunk.bytes);
        g_handled = 0;
        ChunkWalkResult r = LoadChunkStream(&registry, alone.data(), alone.size(), CHUNK_MASK_ALL);
        EXPECT_EQ(r.refused, 1) << c.what;
        EXPECT_EQ(g_handled, 0) << c.what;
        EXPECT_TRUE(r.complete) << c.what;

        // Followed by a good chunk, which is still loaded.
        StreamBytes good;
        Transform(good);
        chunk.Chunk(RT_TRANSFORM, good);
        g_handled = 0;
        r = LoadChunkStream(&registry, chunk.Data(), chunk.Size(), CHUNK_MASK_ALL);
        EXPECT_EQ(r.refused, 1) << c.what;
        EXPECT_EQ(r.accepted, 1) << c.what;
        EXPECT_EQ(g_handled, 1) << c.what;
    }
    ClearChunkHandlers();
}

TEST(HostileRecords, LimitsThemselvesAreAccepted) {
    CResourceManager registry;
    CountAll();
    StreamBytes s;
    StreamBytes palette;
    ShaderHead(palette, ST_LAMBERT_4WS).Int(20);
    for (int i = 0; i < 20; ++i)
        palette.Text("b");
    s.Chunk(RT_SHADER, palette);
    StreamBytes longName;
    Transform(longName, std::string(255, 'n'));
    s.Chunk(RT_TRANSFORM, longName);
    StreamBytes lastIndex;
    GeometryHead(lastIndex, 0x801).Int(3).Floats(15).Int(1).Int(PT_TRIANGLE_FAN).Int(3).Short(2).Short(1).Short(0);
    s.Chunk(RT_GEOMETRY, lastIndex);
    StreamBytes kinds;
    kinds.Text("a").Text("d").Text("t").Int(RT_BONE).Int(20);
    s.Chunk(RT_ANIMATOR, kinds);
    StreamBytes cubic;
    cubic.Text("d").Int(AI_CUBIC); // creates nothing, by its own field
    s.Chunk(RT_ANIMATION_DATA, cubic);
    g_handled = 0;
    ChunkWalkResult r = LoadChunkStream(&registry, s.Data(), s.Size(), CHUNK_MASK_ALL);
    EXPECT_EQ(r.accepted, 4);
    EXPECT_EQ(r.empty, 1);
    EXPECT_EQ(r.refused, 0);
    EXPECT_EQ(g_handled, 4);
    ClearChunkHandlers();
}

} // namespace
