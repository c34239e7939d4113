#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/TextureArchives.h"
#include "engine/archive/TextureLists.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/chunk/VertexSize.h"
#include "engine/math/Matrix.h"
#include "engine/math/Vec3.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "tools/content/MeshBuilder.h"
#include "tools/content/RoomBuilder.h"
#include "tools/content/TexturePainter.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"
#include "shell/world/RoomCamera.h"

#include "tests/tools/content/ModelRegistry.h"
#include "tests/tools/content/ShapeStandIn.h"
#include "engine/core/LittleEndian.h"

namespace {

ModelReadBack g_room;

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The model, walked by the engine with the scene loaders and stand-ins for
// the renderer's kinds, into a registry of its own.
class RoomModel : public ::testing::Test, protected ModelRegistry {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(BuildRoomModel(bytes, error)) << error;
        OpenRegistry();
        g_room = ModelReadBack();
        SetMissingResourceHandler([](void*) { ++g_room.missing; });
        SetChunkHandler([](const GeometryRecord& r) { g_room.geometries.push_back(r); });
        SetChunkHandler([](const ShaderRecord& r) { g_room.shaders.push_back(r); });
        SetChunkHandler([](const TextureRecord& r) { g_room.textures.push_back(r); });
        SetChunkHandler([](const ShapeRecord& r) {
            g_room.shapes.push_back(r);
            new CShapeStandIn(r.name.c_str());
        });
        walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
        // Record pointers point into `bytes`, which lives as long as the test.
    }
    void TearDown() override { CloseRegistry(); }

    CTransform* FindTransform(const std::string& name) {
        return dynamic_cast<CTransform*>(registry.Find(name.c_str(), RT_TRANSFORM));
    }
    bool Below(CNode* node, CTransform* top) {
        for (CTransform* p = node ? node->GetParent() : nullptr; p; p = p->GetParent())
            if (p == top)
                return true;
        return false;
    }
    const ShaderRecord* FindShader(const std::string& name) {
        for (const ShaderRecord& s : g_room.shaders)
            if (s.name == name)
                return &s;
        return nullptr;
    }

    std::vector<uint8_t> bytes;
    ChunkWalkResult walk;
};

TEST_F(RoomModel, LoadsCompletelyWithEveryNameTheWorldLooksUp) {
    EXPECT_TRUE(walk.complete);
    EXPECT_EQ(walk.refused, 0);
    EXPECT_EQ(walk.empty, 0);
    EXPECT_EQ(g_room.missing, 0);

    CTransform* top = FindTransform("roomRoot");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetParent(), root);
    for (const char* node : {"skyCilinderDay", "skyCilinderEvening", "skyCilinderNight", "room_mado1_Day",
                             "room_mado2_evening", "room_mado0_Night"}) {
        CTransform* t = FindTransform(node);
        ASSERT_NE(t, nullptr) << node;
        EXPECT_TRUE(Below(t, top)) << node;
        // Each carries one shape holding exactly its two materials.
        std::string shapeName;
        for (const ShapeRecord& s : g_room.shapes)
            for (const ShapePair& p : s.pairs)
                if (p.shaderName.rfind(std::string(node) + "_m", 0) == 0)
                    shapeName = s.name;
        CNode* shape = dynamic_cast<CNode*>(registry.Find(shapeName.c_str(), RT_SHAPE));
        ASSERT_NE(shape, nullptr) << node;
        EXPECT_EQ(shape->GetParent(), t) << node;
        for (const char* suffix : {"_m0", "_m1"}) {
            const ShaderRecord* shader = FindShader(std::string(node) + suffix);
            ASSERT_NE(shader, nullptr) << node << suffix;
            // Looked up unscoped: only unskinned types are shared by the instance.
            EXPECT_TRUE(shader->shaderType == ST_CONSTANT || shader->shaderType == ST_LAMBERT ||
                        shader->shaderType == ST_LAMBERT_VB)
                << shader->name;
        }
    }
    bool glass = false;
    for (const GeometryRecord& g : g_room.geometries)
        glass = glass || g.name == "room_windowGlassShape_025";
    EXPECT_TRUE(glass);
    // The furnished room itself: a node per furniture group under the top.
    for (const char* node : {"room_shell", "room_bed", "room_desk", "room_tvRack", "room_shelves", "room_dresser",
                             "room_kotatsuArea", "room_windowGlass"})
        EXPECT_TRUE(Below(FindTransform(node), top)) << node;
    // The bath's sound nodes live in the room, hidden until a motion shows them.
    for (const char* node : {"furoSound0", "furoSound1", "furoSound2", "furoSound3"}) {
        CTransform* t = FindTransform(node);
        ASSERT_TRUE(Below(t, top)) << node;
        EXPECT_EQ(t->GetChannelValue(CTransform::TC_VISIBLE), 0.0f) << node;
    }
}

TEST_F(RoomModel, ShapesPairShadersWithGeometryInTheirVertexLayout) {
    std::map<std::string, const GeometryRecord*> geometries;
    std::set<std::string> names;
    for (const GeometryRecord& g : g_room.geometries) {
        EXPECT_TRUE(names.insert(g.name).second) << "duplicate " << g.name;
        geometries[g.name] = &g;
        EXPECT_GE(g.radius, 0.0f) << g.name;
        ASSERT_EQ(g.groups.size(), 1u) << g.name;
        const GeometryIndexGroup& group = g.groups[0];
        EXPECT_EQ(group.primitiveType, PT_TRIANGLE_LIST);
        EXPECT_GT(group.indexCount, 0);
        EXPECT_EQ(group.indexCount % 3, 0) << g.name;
        for (int i = 0; i < group.indexCount; ++i)
            ASSERT_LT(int(group.Index(i)), g.vertexCount) << g.name;
    }
    std::map<std::string, const ShaderRecord*> shaders;
    std::set<std::string> textureNames;
    for (const TextureRecord& t : g_room.textures)
        textureNames.insert(t.name);
    for (const ShaderRecord& s : g_room.shaders) {
        shaders[s.name] = &s;
        if (s.textureName != NO_TEXTURE_NAME)
            EXPECT_TRUE(textureNames.count(s.textureName)) << s.name << " names " << s.textureName;
    }
    const std::map<int, uint32_t> layout = {{ST_CONSTANT, 0x801u}, {ST_LAMBERT, 0x803u}, {ST_LAMBERT_VB, 0x813u}};
    ASSERT_FALSE(g_room.shapes.empty());
    for (const ShapeRecord& shape : g_room.shapes)
        for (const ShapePair& pair : shape.pairs) {
            ASSERT_TRUE(shaders.count(pair.shaderName)) << pair.shaderName;
            ASSERT_TRUE(geometries.count(pair.geometryName)) << pair.geometryName;
            int type = shaders[pair.shaderName]->shaderType;
            ASSERT_TRUE(layout.count(type)) << pair.shaderName;
            EXPECT_EQ(geometries[pair.geometryName]->vertexFormat, layout.at(type)) << pair.geometryName;
        }
}

// The room camera of the stage and the preview takes in every piece of
// furniture whole, in the 4:3 picture the stage draws.
TEST_F(RoomModel, RoomCameraFramesTheFurniture) {
    const CMatrix view = GetRoomCameraView();
    const CMatrix projection = GetRoomCameraProjection(640, 480);
    std::map<std::string, const GeometryRecord*> geometries;
    for (const GeometryRecord& g : g_room.geometries)
        geometries[g.name] = &g;
    for (const char* furniture :
         {"room_bed", "room_desk", "room_tvRack", "room_shelves", "room_dresser", "room_kotatsuArea"}) {
        CTransform* group = FindTransform(furniture);
        ASSERT_NE(group, nullptr) << furniture;
        int vertices = 0, outside = 0;
        for (const ShapeRecord& shape : g_room.shapes) {
            CNode* node = dynamic_cast<CNode*>(registry.Find(shape.name.c_str(), RT_SHAPE));
            if (!Below(node, group))
                continue;
            const CMatrix& world = node->GetParent()->GetWorldMatrix();
            for (const ShapePair& pair : shape.pairs) {
                const GeometryRecord* g = geometries[pair.geometryName];
                ASSERT_NE(g, nullptr) << pair.geometryName;
                const size_t stride = size_t(GetVertexSize(g->vertexFormat));
                for (int i = 0; i < g->vertexCount; ++i) {
                    float position[3];
                    std::memcpy(position, g->vertices + stride * size_t(i), sizeof position);
                    Vec4 p(position[0], position[1], position[2], 1.0f);
                    p.Transform(world);
                    p.Transform(view);
                    p.Transform(projection);
                    ++vertices;
                    outside += !(p.w > 0 && std::fabs(p.x) <= p.w && std::fabs(p.y) <= p.w);
                }
            }
        }
        EXPECT_GT(vertices, 0) << furniture;
        EXPECT_EQ(outside, 0) << furniture << ": " << outside << " of " << vertices << " corners outside the picture";
    }
}

TEST_F(RoomModel, TextureFilesAreRoomAndSkyNamesOfTextureListZero) {
    ASSERT_FALSE(g_room.textures.empty());
    std::set<std::string> painted;
    for (const PaintedTexture& t : PaintRoomTextures())
        painted.insert(t.fileName);
    for (const TextureRecord& t : g_room.textures) {
        std::string name;
        ASSERT_TRUE(NormaliseTextureName(std::string(ROOM_ENTRY_FOLDER) + t.fileName, name));
        EXPECT_EQ(FindTextureList(name), 0) << t.fileName;
        EXPECT_TRUE(name.rfind("ROOM_", 0) == 0 || name.rfind("SKY_", 0) == 0) << name;
        EXPECT_TRUE(painted.count(t.fileName)) << t.fileName << " is not painted";
        EXPECT_FALSE(t.IsAnimated());
    }
    // Every room and sky name of the list is painted.
    int listed = 0;
    for (int i = 0; i < TextureListSize(0); ++i) {
        std::string name = TextureListName(0, i);
        if (name.rfind("ROOM_", 0) != 0 && name.rfind("SKY_", 0) != 0)
            continue;
        ++listed;
        bool found = false;
        for (const std::string& p : painted) {
            std::string normal;
            NormaliseTextureName(p, normal);
            found = found || normal == name;
        }
        EXPECT_TRUE(found) << name;
    }
    EXPECT_EQ(size_t(listed), painted.size());
}

// A minimal reader of what ToTga writes: 24-bit true colour, bottom row first.
struct DecodedTga {
    int width = 0, height = 0, bits = 0, alphaBits = 0;
    std::vector<uint8_t> rgb; // top row first
};

bool DecodeTga(const std::vector<uint8_t>& file, DecodedTga& out) {
    if (file.size() < 18 || file[2] != 2)
        return false;
    out.width = ReadLe16(&file[12]);
    out.height = ReadLe16(&file[14]);
    out.bits = file[16];
    out.alphaBits = file[17] & 15;
    bool topFirst = (file[17] & 0x20) != 0;
    size_t pixels = size_t(out.width) * out.height;
    if (out.bits != 24 || file.size() != 18 + file[0] + pixels * 3)
        return false;
    out.rgb.resize(pixels * 3);
    const uint8_t* data = file.data() + 18 + file[0];
    for (int y = 0; y < out.height; ++y) {
        int row = topFirst ? y : out.height - 1 - y;
        for (int x = 0; x < out.width; ++x) {
            const uint8_t* p = data + (size_t(y) * out.width + x) * 3;
            uint8_t* q = &out.rgb[(size_t(row) * out.width + x) * 3];
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    }
    return true;
}

TEST(TexturePainter, TgaKeepsOrientationAndColours) {
    CPaintImage image(3, 2);
    image.Set(0, 0, 1, 0, 0);
    image.Set(2, 0, 0, 1, 0);
    image.Set(1, 1, 0, 0, 1);
    DecodedTga tga;
    ASSERT_TRUE(DecodeTga(image.ToTga(), tga));
    EXPECT_EQ(tga.width, 3);
    EXPECT_EQ(tga.height, 2);
    EXPECT_EQ(tga.alphaBits, 0);
    const uint8_t expected[] = {255, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0};
    EXPECT_EQ(tga.rgb, std::vector<uint8_t>(expected, expected + sizeof expected));
}

TEST(TexturePainter, RoomTexturesDecodeOpaqueWithTheirSizesAndDetail) {
    std::vector<PaintedTexture> textures = PaintRoomTextures();
    ASSERT_EQ(textures.size(), 23u);
    for (const PaintedTexture& t : textures) {
        DecodedTga tga;
        ASSERT_TRUE(DecodeTga(t.image.ToTga(), tga)) << t.fileName;
        EXPECT_EQ(tga.alphaBits, 0) << t.fileName;
        EXPECT_EQ(tga.width, t.image.Width());
        EXPECT_EQ(tga.height, t.image.Height());
        bool sky = t.fileName.rfind("sky_", 0) == 0;
        EXPECT_EQ(tga.width, sky ? 512 : tga.height) << t.fileName;
        // Powers of two, for any device.
        EXPECT_EQ(tga.width & (tga.width - 1), 0) << t.fileName;
        EXPECT_EQ(tga.height & (tga.height - 1), 0) << t.fileName;
        // Painted, not flat.
        std::set<uint32_t> colours;
        for (size_t i = 0; i + 2 < tga.rgb.size(); i += 3)
            colours.insert(uint32_t(tga.rgb[i]) << 16 | tga.rgb[i + 1] << 8 | tga.rgb[i + 2]);
        EXPECT_GT(colours.size(), 20u) << t.fileName;
    }
}

TEST(MeshBuilder, BoxFacesPointOutwardAndCounterClockwise) {
    for (bool inward : {false, true}) {
        CMeshBuilder mesh;
        mesh.AddBox({-1, -1, -1}, {1, 1, 1}, {}, 63, inward);
        ASSERT_EQ(mesh.Indices().size(), 36u);
        const std::vector<MeshVertex>& v = mesh.Vertices();
        for (size_t i = 0; i < mesh.Indices().size(); i += 3) {
            MeshPoint a = v[mesh.Indices()[i]].position, b = v[mesh.Indices()[i + 1]].position,
                      c = v[mesh.Indices()[i + 2]].position;
            MeshPoint e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
            MeshPoint n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
            MeshPoint centre{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
            float outward = n.x * centre.x + n.y * centre.y + n.z * centre.z;
            EXPECT_EQ(outward > 0, !inward) << i;
            // The stored normal agrees with the winding.
            const MeshPoint& stored = v[mesh.Indices()[i]].normal;
            EXPECT_GT(stored.x * n.x + stored.y * n.y + stored.z * n.z, 0) << i;
        }
    }
}

TEST(MeshBuilder, GeometryBytesFollowTheLayoutAndBoundTheVertices) {
    CMeshBuilder mesh;
    mesh.SetColour(0.5f, 0.25f, 1.0f, 1.0f);
    mesh.AddQuad({0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0});
    struct Case {
        uint32_t format;
        size_t vertexBytes;
    } cases[] = {{VERTEX_FORMAT_CONSTANT, 20}, {VERTEX_FORMAT_LAMBERT, 32}, {VERTEX_FORMAT_LAMBERT_VB, 48}};
    for (const Case& c : cases) {
        BuiltGeometry g;
        ASSERT_TRUE(BuildGeometry(mesh, "quad", c.format, false, g));
        EXPECT_EQ(g.vertexBytes.size(), 4 * c.vertexBytes);
        EXPECT_EQ(g.record.vertexCount, 4);
        EXPECT_FLOAT_EQ(g.record.centre[0], 1.0f);
        EXPECT_FLOAT_EQ(g.record.radius, std::sqrt(2.0f));
        // Texture coordinates close each vertex: the first vertex is (0, 1).
        float uv[2];
        std::memcpy(uv, g.vertexBytes.data() + c.vertexBytes - 8, 8);
        EXPECT_EQ(uv[0], 0.0f);
        EXPECT_EQ(uv[1], 1.0f);
        if (c.format == VERTEX_FORMAT_LAMBERT_VB) {
            float colour[4];
            std::memcpy(colour, g.vertexBytes.data() + 24, 16);
            EXPECT_EQ(colour[1], 0.25f);
        }
    }
    BuiltGeometry g;
    EXPECT_FALSE(BuildGeometry(CMeshBuilder(), "empty", VERTEX_FORMAT_LAMBERT, false, g));
    EXPECT_FALSE(BuildGeometry(mesh, "skinned", 0xCC3, false, g));
}

class RoomContentFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("room_content_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

TEST_F(RoomContentFolder, TwoRunsWriteIdenticalFiles) {
    std::string error;
    ASSERT_TRUE(WriteRoomContent((folder / "a").string(), error)) << error;
    ASSERT_TRUE(WriteRoomContent((folder / "b").string(), error)) << error;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "a")) {
        ++files;
        std::filesystem::path other = folder / "b" / entry.path().filename();
        ASSERT_TRUE(std::filesystem::exists(other)) << other;
        EXPECT_TRUE(ReadBytes(entry.path()) == ReadBytes(other)) << entry.path().filename();
    }
    EXPECT_EQ(files, 1u + 1u + 23u);
}

TEST_F(RoomContentFolder, ManifestFillsModelAndTextureArchivesZero) {
    std::string error;
    ASSERT_TRUE(WriteRoomContent(folder.string(), error)) << error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    ASSERT_TRUE(ReadManifest((folder / "room.manifest").string(), inputs, error)) << error;
    const std::vector<PackInput>& models = inputs[size_t(ArchiveSlot(AK_MODEL, 0))];
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models[0].path, ROOM_MODEL_PATH);
    std::vector<uint8_t> model;
    ASSERT_TRUE(BuildRoomModel(model, error));
    EXPECT_TRUE(models[0].bytes == model);
    const std::vector<PackInput>& textures = inputs[size_t(ArchiveSlot(AK_TEXTURE, 0))];
    EXPECT_EQ(textures.size(), 23u);
    for (const PackInput& t : textures) {
        std::string name;
        ASSERT_TRUE(NormaliseTextureName(t.path, name));
        EXPECT_EQ(FindTextureList(name), 0) << t.path;
        EXPECT_EQ(t.path.rfind(ROOM_ENTRY_FOLDER, 0), 0u) << t.path;
    }
    size_t others = 0;
    for (const auto& slot : inputs)
        others += slot.size();
    EXPECT_EQ(others, models.size() + textures.size());
    // The packer then leaves a placeholder only where nothing else is.
    AddPlaceholderEntries(inputs);
    EXPECT_EQ(inputs[size_t(ArchiveSlot(AK_MODEL, 0))].size(), 1u);
    EXPECT_EQ(inputs[size_t(ArchiveSlot(AK_MODEL, 1))].size(), 1u);

    // Packed, the room loads by its path and a texture is found by its own.
    std::vector<PackedArchive> packed;
    ASSERT_TRUE(PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed))
        << error;
    std::string savedFolder = GetDataFolder();
    SetDataFolder((folder / "data").string());
    const PackedArchive& modelArchive = packed[size_t(ArchiveSlot(AK_MODEL, 0))];
    std::vector<ArchiveEntryRow> rows = DirectoryRows(modelArchive);
    {
        CDataArchive archive({modelArchive.fileName.c_str(), modelArchive.key, rows.data()});
        ClearChunkHandlers();
        CResourceManager registry;
        ChunkWalkResult walk = LoadModelFromArchive(&registry, &archive, ROOM_MODEL_PATH);
        EXPECT_TRUE(walk.complete);
        EXPECT_GT(walk.accepted, 100);
        EXPECT_EQ(walk.refused, 0);
    }
    const PackedArchive& textureArchive = packed[size_t(ArchiveSlot(AK_TEXTURE, 0))];
    std::vector<ArchiveEntryRow> textureRows = DirectoryRows(textureArchive);
    {
        CDataArchive archive({textureArchive.fileName.c_str(), textureArchive.key, textureRows.data()});
        ArchiveEntry floor = archive.GetEntry(std::string(ROOM_ENTRY_FOLDER) + "room_floaring3.tga");
        ASSERT_NE(floor.data, nullptr);
        std::vector<uint8_t> file = ReadBytes(folder / "room_floaring3.tga");
        EXPECT_TRUE(std::vector<uint8_t>(floor.data, floor.data + floor.size) == file);
    }
    SetDataFolder(savedFolder);
}

} // namespace
