#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/archive/ArchiveKey.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/TextureArchives.h"
#include "engine/archive/TextureLists.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "tools/content/RoomBuilder.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"
#include "tools/vesko/VeskoContent.h"
#include "tools/vesko/VeskoModels.h"
#include "tools/vesko/VeskoRig.h"
#include "tools/vesko/VeskoTextures.h"

#include "tests/tools/content/ModelRegistry.h"
#include "tests/tools/content/ShapeStandIn.h"

namespace {

namespace fs = std::filesystem;

// The eleven files in load order, with their archive keys and top nodes.
const struct {
    const char* key;
    const char* path;
    const char* top;
} MODELS[] = {
    {"VESKO", "model/vesko/vesko.hgm", "vesko2002"},
    {"VESKONAGASODE", "model/vesko/veskoNagasode.hgm", "vesko2003ENagasode"},
    {"CLOTH", "model/vesko/cloth.hgm", "vesko_clothStandard"},
    {"DYNAMICSCLOTHPINK", "model/vesko/dynamicsClothPink.hgm", "clothPink2"},
    {"DYNAMICSCLOTHBLUE", "model/vesko/dynamicsClothBlue.hgm", "clothBlue"},
    {"CHUCHU", "model/vesko/chuchu.hgm", "chuchu"},
    {"KATAHIMO", "model/vesko/katahimo.hgm", "katahimo"},
    {"MINISKIRT", "model/vesko/miniSkirt.hgm", "miniSkirt"},
    {"NAGASODE", "model/vesko/nagasode.hgm", "clothNagasode"},
    {"TIGHTSKIRT", "model/vesko/tightSkirt.hgm", "tightSkirt"},
    {"ETONADRESS", "model/vesko/etonaDress.hgm", "etonaDress"},
};

const char* const ACCESSORIES[] = {
    "cap_Mugiwara",  "cap_Nurse",      "cap_Maid",      "capBexlaPapa",    "shampooHat",   "capNeneko",
    "capHelmet",     "capAlian",       "osageSpin",     "capSummer",       "capAoringo",   "capGreenBeret",
    "capAntena",     "capWitch",       "capAkazukin",   "capRibbonDeFron", "capKosmos",    "kitarou",
    "mimi_nekoMimi", "mimi_kumaMimi",  "mimi_usaMimi",  "mimiAsuka",       "multiSensor2", "osageBexla",
    "mimiSaru",      "mimiRei",        "mimiMomo",      "glass_kurobuchi", "glassStar",    "sippo_neko",
    "sippoSaru",     "henshinBelt",    "angelWing",     "angelRing",       "osageEtona",   "etonaWing",
    "etonaKubiwa",   "etonaBraceletR", "etonaBraceletL"};

// The materials that clothes swap textures on (looked up scoped: skinned).
const char* const SWAPPED_MATERIALS[] = {"vesko2003E_m0", "vesko2003E_m1",           "vesko2003E_m4",
                                         "vesko2003E_m5", "clothPink2_clothPink_m0", "clothPink2m0",
                                         "miniSkirt_m4",  "clothNagasode_m0",        "clothNagasode_m1"};

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// What the loaders hand over for the renderer's kinds, in load order, and
// what each referred to that was not loaded before it.
struct ReadBack {
    std::vector<TextureRecord> textures;
    std::vector<ShaderRecord> shaders;
    std::vector<GeometryRecord> geometries;
    std::vector<ShapeRecord> shapes;
    std::vector<std::string> unresolved;
    std::map<std::string, std::string> shapeFile; // shape -> file
    std::string file;
    int missing = 0;
};
ReadBack g_read;

bool Loaded(const std::vector<TextureRecord>& v, const std::string& name) {
    return std::any_of(v.begin(), v.end(), [&](const TextureRecord& r) { return r.name == name; });
}
const ShaderRecord* FindShader(const std::string& name) {
    for (const ShaderRecord& s : g_read.shaders)
        if (s.name == name)
            return &s;
    return nullptr;
}
const GeometryRecord* FindGeometry(const std::string& name) {
    for (const GeometryRecord& g : g_read.geometries)
        if (g.name == name)
            return &g;
    return nullptr;
}

// Her content is built, packed and loaded once for the whole suite.
class VeskoContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = fs::temp_directory_path() /
                 ("vesko_content_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(folder);
        std::string error;
        built = WriteVeskoContent(folder.string(), error);
        buildError = error;
        inputs = EmptyArchiveInputs();
        manifestRead = built && ReadManifest((folder / "vesko.manifest").string(), inputs, error);
        packedOk = manifestRead &&
                   PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed);
        if (!packedOk)
            buildError = error;
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }

    void SetUp() override { ASSERT_TRUE(built && manifestRead && packedOk) << buildError; }

    static const PackedArchive& Archive(int kind, int index) { return packed[size_t(ArchiveSlot(kind, index))]; }

    static fs::path folder;
    static bool built, manifestRead, packedOk;
    static std::string buildError;
    static ArchiveInputs inputs;
    static std::vector<PackedArchive> packed;
};
fs::path VeskoContent::folder;
bool VeskoContent::built = false, VeskoContent::manifestRead = false, VeskoContent::packedOk = false;
std::string VeskoContent::buildError;
ArchiveInputs VeskoContent::inputs;
std::vector<PackedArchive> VeskoContent::packed;

TEST_F(VeskoContent, DirectoriesHoldExactlyTheModelsAndTheTexturesOfListFour) {
    // The models, in load order, and nothing else in model archive 4.
    const PackedArchive& models = Archive(AK_MODEL, 4);
    EXPECT_EQ(models.fileName, "model/model04.bin");
    ASSERT_EQ(models.rows.size(), std::size(MODELS));
    for (size_t i = 0; i < std::size(MODELS); ++i) {
        EXPECT_EQ(models.rows[i].key, MODELS[i].key);
        EXPECT_EQ(MakeArchiveKey(MODELS[i].path), MODELS[i].key);
        EXPECT_EQ(inputs[size_t(ArchiveSlot(AK_MODEL, 4))][i].path, MODELS[i].path);
    }
    // Texture archive 4: the 84 names of list 4, each once, in the list's order.
    const PackedArchive& textures = Archive(AK_TEXTURE, 4);
    EXPECT_EQ(textures.fileName, "model/texture04.bin");
    ASSERT_EQ(int(textures.rows.size()), TextureListSize(4));
    for (int i = 0; i < TextureListSize(4); ++i)
        EXPECT_EQ(textures.rows[size_t(i)].key, TextureListName(4, i)) << i;
    for (const PackInput& t : inputs[size_t(ArchiveSlot(AK_TEXTURE, 4))]) {
        std::string name;
        ASSERT_TRUE(NormaliseTextureName(t.path, name)) << t.path;
        EXPECT_EQ(FindTextureList(name), 4) << t.path;
        EXPECT_EQ(t.path.rfind(VESKO_ENTRY_FOLDER, 0), 0u) << t.path;
    }
    // Nothing misplaced in any other archive.
    size_t all = 0;
    for (const auto& slot : inputs)
        all += slot.size();
    EXPECT_EQ(all, std::size(MODELS) + size_t(TextureListSize(4)));
    // The compiled directory lists the same rows.
    std::string source = DirectorySource(packed);
    for (const PackedRow& row : models.rows)
        EXPECT_NE(source.find("\"" + row.key + "\""), std::string::npos) << row.key;
    // A packed picture reads back as written.
    std::string savedFolder = GetDataFolder();
    SetDataFolder((folder / "data").string());
    {
        std::vector<ArchiveEntryRow> rows = DirectoryRows(textures);
        CDataArchive archive({textures.fileName.c_str(), textures.key, rows.data()});
        ArchiveEntry face = archive.GetEntry("model/vesko/vesko_face.3.tga");
        ASSERT_NE(face.data, nullptr);
        EXPECT_TRUE(std::vector<uint8_t>(face.data, face.data + face.size) == ReadBytes(folder / "vesko_face.3.tga"));
    }
    SetDataFolder(savedFolder);
}

class VeskoModelsLoaded : public VeskoContent, protected ModelRegistry {
protected:
    void SetUp() override {
        VeskoContent::SetUp();
        OpenRegistry();
        g_read = ReadBack();
        SetMissingResourceHandler([](void*) { ++g_read.missing; });
        // Stand-ins for the renderer's kinds check that what they name was loaded first.
        SetChunkHandler([](const TextureRecord& r) { g_read.textures.push_back(r); });
        SetChunkHandler([](const ShaderRecord& r) {
            if (r.textureName != NO_TEXTURE_NAME && !Loaded(g_read.textures, r.textureName))
                g_read.unresolved.push_back(r.name + " -> texture " + r.textureName);
            for (const std::string& bone : r.boneNames)
                if (!dynamic_cast<CBone*>(CurrentResourceManager->Find(bone.c_str(), RT_BONE)))
                    g_read.unresolved.push_back(r.name + " -> bone " + bone);
            g_read.shaders.push_back(r);
        });
        SetChunkHandler([](const GeometryRecord& r) { g_read.geometries.push_back(r); });
        SetChunkHandler([](const ShapeRecord& r) {
            for (const ShapePair& p : r.pairs) {
                if (!FindShader(p.shaderName))
                    g_read.unresolved.push_back(r.name + " -> shader " + p.shaderName);
                if (!FindGeometry(p.geometryName))
                    g_read.unresolved.push_back(r.name + " -> geometry " + p.geometryName);
            }
            g_read.shapes.push_back(r);
            g_read.shapeFile[r.name] = g_read.file;
            new CShapeStandIn(r.name.c_str());
        });
        const PackedArchive& models = Archive(AK_MODEL, 4);
        rows = DirectoryRows(models);
        savedFolder = GetDataFolder();
        SetDataFolder((folder / "data").string());
        archive = std::make_unique<CDataArchive>(ArchiveDescriptor{models.fileName.c_str(), models.key, rows.data()});
        for (const auto& m : MODELS) {
            g_read.file = m.path;
            walks.push_back(LoadModelFromArchive(&registry, archive.get(), m.path));
        }
    }
    void TearDown() override {
        archive.reset();
        SetDataFolder(savedFolder);
        CloseRegistry();
    }
    CTransform* Transform(const std::string& name) {
        return dynamic_cast<CTransform*>(registry.Find(name.c_str(), RT_TRANSFORM));
    }
    CBone* Bone(const std::string& name) { return dynamic_cast<CBone*>(registry.Find(name.c_str(), RT_BONE)); }
    static bool Below(const CNode* node, const CNode* top) {
        for (const CNode* p = node ? node->GetParent() : nullptr; p; p = p->GetParent())
            if (p == top)
                return true;
        return false;
    }

    std::vector<ArchiveEntryRow> rows;
    std::unique_ptr<CDataArchive> archive;
    std::string savedFolder;
    std::vector<ChunkWalkResult> walks;
};

TEST_F(VeskoModelsLoaded, EveryRecordLoadsAndEveryReferenceResolves) {
    ASSERT_EQ(walks.size(), std::size(MODELS));
    for (size_t i = 0; i < walks.size(); ++i) {
        SCOPED_TRACE(MODELS[i].path);
        EXPECT_TRUE(walks[i].complete);
        EXPECT_GT(walks[i].accepted, 2);
        EXPECT_EQ(walks[i].refused, 0);
        EXPECT_EQ(walks[i].empty, 0);
        // Each file's top hangs under the parent the loader gives it.
        CTransform* top = Transform(MODELS[i].top);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->GetParent(), root);
    }
    EXPECT_EQ(g_read.missing, 0);
    EXPECT_TRUE(g_read.unresolved.empty()) << g_read.unresolved.front();

    // Names are unique per kind across her files and the room.
    std::vector<uint8_t> roomBytes;
    std::string error;
    ASSERT_TRUE(BuildRoomModel(roomBytes, error));
    std::set<std::string> textures, shaders, geometries, shapes;
    for (const TextureRecord& t : g_read.textures)
        EXPECT_TRUE(textures.insert(t.name).second) << t.name;
    for (const ShaderRecord& s : g_read.shaders)
        EXPECT_TRUE(shaders.insert(s.name).second) << s.name;
    for (const GeometryRecord& g : g_read.geometries)
        EXPECT_TRUE(geometries.insert(g.name).second) << g.name;
    for (const ShapeRecord& s : g_read.shapes)
        EXPECT_TRUE(shapes.insert(s.name).second) << s.name;
    const std::string room(roomBytes.begin(), roomBytes.end());
    for (const std::set<std::string>* names : {&shaders, &geometries, &shapes})
        for (const std::string& name : *names)
            EXPECT_EQ(room.find(name + std::string(1, '\0')), std::string::npos) << name << " is also in the room";
    // No name of the program's own making.
    for (const std::set<std::string>* names : {&textures, &shaders, &geometries, &shapes})
        for (const std::string& name : *names) {
            EXPECT_EQ(name.find("::"), std::string::npos) << name;
            EXPECT_FALSE(name.size() > 5 && name.compare(name.size() - 5, 5, "_root") == 0) << name;
        }
}

TEST_F(VeskoModelsLoaded, HoldsTheNodesBonesAndMaterialsTheProgramLooksUp) {
    CTransform* top = Transform("vesko2002");
    CTransform* rootNode = Transform("veskoRoot");
    ASSERT_TRUE(top && rootNode);
    EXPECT_EQ(rootNode->GetParent(), top);
    for (const char* name : {"vesko2003E", "maruKage"}) {
        CTransform* t = Transform(name);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_EQ(t->GetParent(), top) << name;
    }
    // The chain from the hips climbs through the root to the top.
    CBone* hips = Bone("koshi");
    ASSERT_NE(hips, nullptr);
    EXPECT_TRUE(Below(hips, rootNode));
    for (const char* name : {"legL1", "legR1", "head"}) {
        CBone* b = Bone(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_TRUE(Below(b, hips)) << name;
    }
    EXPECT_EQ(Bone("legL1")->GetParent(), hips);
    CBone* head = Bone("head");
    for (const std::string& name : VeskoHairBones()) {
        CBone* b = Bone(name);
        ASSERT_NE(b, nullptr) << name;
        if (name.back() != 'e' && name.back() != 'm')
            EXPECT_EQ(b->GetParent(), head) << name;
        // Rest rotations stay zero: the offsets give the strands' directions.
        for (int c : {CTransform::TC_ROTATION_X, CTransform::TC_ROTATION_Y, CTransform::TC_ROTATION_Z})
            EXPECT_EQ(b->GetChannelValue(c), 0.0f) << name;
    }
    for (const char* name : {"veskoHandlingC", "veskoHandlingR", "veskoHandlingL"}) {
        CTransform* t = Transform(name);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_TRUE(Below(t, rootNode)) << name;
        EXPECT_NEAR(t->GetChannelValue(CTransform::TC_SCALE_X) * VESKO_ROOT_SCALE, 1.0f, 1e-4f) << name;
    }
    for (const char* name : {"osageBexlaR", "osageBexlaL"})
        EXPECT_EQ(Transform(name) ? Transform(name)->GetParent() : nullptr, Transform("osageBexla")) << name;

    // Accessories: under the root, holding only rigid shapes with real bounds.
    for (const char* name : ACCESSORIES) {
        SCOPED_TRACE(name);
        CTransform* t = Transform(name);
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(Below(t, rootNode));
        int rigidShapes = 0;
        for (const ShapeRecord& s : g_read.shapes) {
            CNode* shape = dynamic_cast<CNode*>(registry.Find(s.name.c_str(), RT_SHAPE));
            if (!shape || (shape->GetParent() != t && !Below(shape->GetParent(), t)))
                continue;
            for (const ShapePair& p : s.pairs) {
                const ShaderRecord* shader = FindShader(p.shaderName);
                const GeometryRecord* geometry = FindGeometry(p.geometryName);
                ASSERT_TRUE(shader && geometry);
                EXPECT_FALSE(IsSkinnedShaderType(shader->shaderType)) << p.shaderName;
                EXPECT_GT(geometry->radius, 0.0f) << p.geometryName;
                ++rigidShapes;
            }
        }
        EXPECT_GT(rigidShapes, 0);
    }
    // Her face and hair stay when the long-sleeved body hides variant 0.
    for (const char* material : {"veskoKao_m2", "veskoKao_m3"}) {
        bool drawn = false;
        for (const ShapeRecord& s : g_read.shapes)
            for (const ShapePair& p : s.pairs)
                if (p.shaderName == material) {
                    CNode* shape = dynamic_cast<CNode*>(registry.Find(s.name.c_str(), RT_SHAPE));
                    ASSERT_NE(shape, nullptr);
                    EXPECT_TRUE(Below(shape, top));
                    EXPECT_FALSE(Below(shape, Transform("vesko2003E"))) << material;
                    drawn = true;
                }
        EXPECT_TRUE(drawn) << material;
    }
    // Swapped materials are skinned (the program finds their scoped copies).
    for (const char* name : SWAPPED_MATERIALS) {
        const ShaderRecord* s = FindShader(name);
        ASSERT_NE(s, nullptr) << name;
        EXPECT_TRUE(IsSkinnedShaderType(s->shaderType)) << name;
    }
    // The face: one animated texture, whose frames are list 4's twelve faces.
    int animated = 0;
    for (const TextureRecord& t : g_read.textures) {
        std::string name;
        if (t.IsAnimated()) {
            ++animated;
            EXPECT_EQ(t.name, VeskoNames::FACE_TEXTURE);
            for (int frame = 1; frame <= VESKO_FACE_FRAMES + 1; ++frame) {
                std::string file = "model/vesko/vesko_face." + std::to_string(frame) + ".tga";
                ASSERT_TRUE(NormaliseTextureName(file, name));
                EXPECT_EQ(FindTextureList(name), frame <= VESKO_FACE_FRAMES ? 4 : -1) << file;
            }
        } else {
            ASSERT_TRUE(NormaliseTextureName(std::string(VESKO_ENTRY_FOLDER) + t.fileName, name));
            EXPECT_EQ(FindTextureList(name), 4) << t.fileName;
        }
    }
    EXPECT_EQ(animated, 1);
}

TEST_F(VeskoModelsLoaded, ShapesAreSkinnedWithinThePaletteInTheirLayout) {
    int dynamic = 0;
    for (const ShapeRecord& shape : g_read.shapes) {
        CNode* node = dynamic_cast<CNode*>(registry.Find(shape.name.c_str(), RT_SHAPE));
        ASSERT_NE(node, nullptr) << shape.name;
        // Outside "veskoRoot" only the shadow may be rigid: clothes follow her bones.
        bool underRoot = Below(node, Transform("veskoRoot"));
        for (const ShapePair& p : shape.pairs) {
            SCOPED_TRACE(p.shaderName);
            const ShaderRecord* shader = FindShader(p.shaderName);
            const GeometryRecord* g = FindGeometry(p.geometryName);
            ASSERT_TRUE(shader && g);
            EXPECT_EQ(g->vertexFormat, ShaderVertexMask(shader->shaderType));
            if (!underRoot && shape.name != "maruKageShape")
                EXPECT_TRUE(IsSkinnedShaderType(shader->shaderType));
            EXPECT_LE(int(shader->boneNames.size()), SHADER_PALETTE_LIMIT);
            ASSERT_EQ(g->groups.size(), 1u);
            EXPECT_EQ(g->groups[0].primitiveType, PT_TRIANGLE_LIST);
            EXPECT_EQ(g->groups[0].indexCount % 3, 0);
            for (int i = 0; i < g->groups[0].indexCount; ++i)
                ASSERT_LT(int(g->groups[0].Index(i)), g->vertexCount);
            if (!IsSkinnedShaderType(shader->shaderType))
                continue;
            // Bone indices (3 x palette place) stay inside the palette.
            const int weights = shader->shaderType == ST_LAMBERT_2WS || shader->shaderType == ST_LAMBERT_2WS_DY   ? 2
                                : shader->shaderType == ST_LAMBERT_3WS || shader->shaderType == ST_LAMBERT_3WS_DY ? 3
                                                                                                                  : 4;
            const size_t stride = size_t(24 + 4 * weights + 16 + 8);
            for (int v = 0; v < g->vertexCount; ++v) {
                float index;
                for (int k = 0; k < 4; ++k) {
                    std::memcpy(&index, g->vertices + stride * size_t(v) + 24 + 4 * size_t(weights) + 4 * size_t(k), 4);
                    ASSERT_LT(index / 3, float(shader->boneNames.size()));
                }
            }
            if (IsDynamicShaderType(shader->shaderType)) {
                ++dynamic;
                ASSERT_GE(shader->dynamicsBone, 0);
                EXPECT_EQ(shader->boneNames[size_t(shader->dynamicsBone)].rfind(DYNAMICS_BONE_PREFIX, 0), 0u);
                std::vector<ShaderLink> links = shader->Links();
                EXPECT_FALSE(links.empty());
                for (const ShaderLink& l : links) {
                    EXPECT_LT(l.point, g->vertexCount);
                    EXPECT_LT(l.linked, g->vertexCount);
                }
                // A dynamic shader draws one geometry only.
                int uses = 0;
                for (const ShapeRecord& s : g_read.shapes)
                    for (const ShapePair& q : s.pairs)
                        uses += q.shaderName == shader->name;
                EXPECT_EQ(uses, 1);
            }
        }
    }
    // The two swinging skirts.
    EXPECT_EQ(dynamic, 2);
    EXPECT_EQ(g_read.shapeFile["clothPink2Shape"], "model/vesko/dynamicsClothPink.hgm");
}

TEST(VeskoTextures, EveryPictureIsPaintedAndTheFacesDiffer) {
    std::vector<VeskoTexture> textures = PaintVeskoTextures();
    ASSERT_EQ(int(textures.size()), TextureListSize(4));
    std::set<std::string> keys;
    for (const VeskoTexture& t : textures) {
        SCOPED_TRACE(t.fileName);
        std::string key;
        ASSERT_TRUE(NormaliseTextureName(t.fileName, key));
        EXPECT_TRUE(keys.insert(key).second);
        EXPECT_EQ(FindTextureList(key), 4);
        // Only the shadow is see-through; powers of two for any device.
        EXPECT_EQ(t.alpha, t.fileName == "maruKage.tga");
        EXPECT_EQ(t.image.IsOpaque(), !t.alpha);
        EXPECT_EQ(t.image.Width() & (t.image.Width() - 1), 0);
        EXPECT_EQ(t.image.Height() & (t.image.Height() - 1), 0);
        // Painted, not one flat colour.
        std::set<uint32_t> colours;
        for (int y = 0; y < t.image.Height(); ++y)
            for (int x = 0; x < t.image.Width(); ++x) {
                Rgba c = t.image.Get(x, y);
                colours.insert(uint32_t(c.r) << 24 | uint32_t(c.g) << 16 | uint32_t(c.b) << 8 | c.a);
            }
        EXPECT_GT(colours.size(), 2u);
    }
    // Every expression is a picture of its own, all of one size.
    std::vector<CCanvas> faces;
    for (int frame = 1; frame <= VESKO_FACE_FRAMES; ++frame)
        faces.push_back(PaintVeskoFace(frame));
    for (size_t a = 0; a < faces.size(); ++a)
        for (size_t b = a + 1; b < faces.size(); ++b) {
            int differ = 0;
            for (int y = 0; y < faces[a].Height(); ++y)
                for (int x = 0; x < faces[a].Width(); ++x)
                    differ += faces[a].Get(x, y) != faces[b].Get(x, y);
            EXPECT_GT(differ, 100) << "frames " << a + 1 << " and " << b + 1;
        }
    // Outfits painted over the skin keep the skin's layout (same size) but change it.
    std::map<std::string, const CCanvas*> byName;
    for (const VeskoTexture& t : textures)
        byName[t.fileName] = &t.image;
    const std::pair<const char*, const char*> swaps[] = {{"vesko_skinBody.tga", "vesko_skinBodySwim.tga"},
                                                         {"vesko_skinArm.tga", "vesko_armHatan.tga"},
                                                         {"vesko_skinLeg.tga", "vesko_legCheerLeader.tga"},
                                                         {"vesko_skinNeck.tga", "vesko_neckEtona.tga"}};
    for (const auto& s : swaps) {
        const CCanvas* a = byName[s.first];
        const CCanvas* b = byName[s.second];
        ASSERT_TRUE(a && b) << s.second;
        EXPECT_EQ(a->Width(), b->Width()) << s.second;
        EXPECT_EQ(a->Height(), b->Height()) << s.second;
        int differ = 0;
        for (int y = 0; y < a->Height(); ++y)
            for (int x = 0; x < a->Width(); ++x)
                differ += a->Get(x, y) != b->Get(x, y);
        EXPECT_GT(differ, a->Width() * a->Height() / 20) << s.second;
    }
}

} // namespace
