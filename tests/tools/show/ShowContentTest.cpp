#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "character/item/Catalogue.h"
#include "character/show/TvPreload.h"
#include "engine/anim/AnimChunkLoaders.h"
#include "engine/anim/AnimationSet.h"
#include "engine/archive/ArchiveKey.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/TextureArchives.h"
#include "engine/archive/TextureLists.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "engine/texture/Texture.h"
#include "platform/image/ImageDecoders.h"
#include "tools/packer/Manifest.h"
#include "tools/show/ShowContent.h"

#include "tests/tools/content/ModelRegistry.h"
#include "tests/tools/content/ShapeStandIn.h"

namespace {

ModelReadBack g_read;

// The three models and then the three motions, loaded as the program loads
// them, with textures and shapes standing in for their device halves.
class ShowContent : public ::testing::Test, protected ModelRegistry {
protected:
    void SetUp() override {
        OpenRegistry();
        g_read = ModelReadBack();
        SetMissingResourceHandler([](void*) { ++g_read.missing; });
        RegisterAnimChunkHandlers();
        SetChunkHandler([](const GeometryRecord& r) { g_read.geometries.push_back(r); });
        SetChunkHandler([](const ShaderRecord& r) { g_read.shaders.push_back(r); });
        SetChunkHandler([](const TextureRecord& r) {
            g_read.textures.push_back(r);
            new CTexture(r.name.c_str(), r.magFilter, r.minFilter, r.mipFilter, r.addressU, r.addressV, 1, false);
        });
        SetChunkHandler([](const ShapeRecord& r) { new CShapeStandIn(r.name.c_str()); });
        bool (*const models[3])(std::vector<uint8_t>&, std::string&) = {BuildTvModel, BuildScreenModel, BuildDialModel};
        for (auto build : models) {
            std::vector<uint8_t> bytes;
            std::string error;
            ASSERT_TRUE(build(bytes, error)) << error;
            const ChunkWalkResult walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
            EXPECT_TRUE(walk.complete);
            EXPECT_EQ(walk.refused, 0);
        }
        for (const char* set : {"taveluneTV", "taveluneTVEnding", "TVAnimateTexture"}) {
            std::vector<uint8_t> bytes;
            std::string error;
            ASSERT_TRUE(BuildShowAnimation(set, bytes, error)) << error;
            const ChunkWalkResult walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
            EXPECT_TRUE(walk.complete) << set;
            EXPECT_EQ(walk.refused, 0) << set;
        }
    }
    void TearDown() override { CloseRegistry(); }
    CTransform* Find(const char* name) { return dynamic_cast<CTransform*>(registry.Find(name, RT_TRANSFORM)); }
};

TEST_F(ShowContent, HoldsTheNodesShadersAndSetsTheShowLooksUp) {
    EXPECT_EQ(g_read.missing, 0);
    struct Node {
        const char* name;
        const char* top;
    };
    const Node nodes[] = {
        {"TvRoot", "TvRoot"},           {"Arrow", "TvRoot"},        {"itemNamePlate", "TvRoot"},
        {"clothSpriteImage", "TvRoot"}, {"clothShadow1", "TvRoot"}, {"AnimateTextures", "AnimateTextures"},
        {"moneyDial", "moneyDial"},
    };
    for (const Node& n : nodes) {
        CTransform* t = Find(n.name);
        ASSERT_NE(t, nullptr) << n.name;
        CTransform* top = t;
        while (top->GetParent() && top->GetParent() != root)
            top = top->GetParent();
        EXPECT_EQ(top->GetName(), n.top) << n.name;
        EXPECT_EQ(top->GetParent(), root) << n.name << ": the model's top lands under the loading parent";
    }
    // The two materials the show retextures are shared (unscoped) shaders.
    std::map<std::string, ShaderRecord> shaders;
    for (const ShaderRecord& s : g_read.shaders) {
        EXPECT_TRUE(shaders.emplace(s.name, s).second) << "shader " << s.name << " twice";
        EXPECT_EQ(s.shaderType, ST_CONSTANT) << s.name << ": the show's models get no light set";
    }
    ASSERT_TRUE(shaders.count("lambert10"));
    ASSERT_TRUE(shaders.count("clothSprite"));
    // Every texture the models name is in texture list 1.
    for (const TextureRecord& t : g_read.textures) {
        std::string key;
        ASSERT_TRUE(NormaliseTextureName(t.fileName, key)) << t.fileName;
        EXPECT_EQ(key, t.name);
        EXPECT_EQ(FindTextureList(key), 1) << key;
    }
    for (const GeometryRecord& g : g_read.geometries) {
        EXPECT_EQ(g.vertexFormat, 0x801u) << g.name;
        EXPECT_GE(g.radius, 0.0f) << g.name;
    }
    struct Set {
        const char* name;
        float length;
    };
    for (const Set& s : {Set{"taveluneTV", SHOW_MOTION_FRAMES}, Set{"taveluneTVEnding", 240.0f},
                         Set{"TVAnimateTexture", SHOW_MOTION_FRAMES}}) {
        auto* set = dynamic_cast<CAnimationSet*>(registry.Find(s.name, RT_ANIMATION_SET));
        ASSERT_NE(set, nullptr) << s.name;
        EXPECT_FLOAT_EQ(set->GetLength(), s.length) << s.name;
    }
}

// The content's manifest, packed as the build packs it: archive 1 of each
// kind holds the entries under the keys the program's lists give.
TEST(ShowArchives, PackedDirectoriesHoldTheInventorysNames) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "deskmate_show_content_test";
    fs::remove_all(folder);
    std::string error;
    ASSERT_TRUE(WriteShowContent(folder.string(), error)) << error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    ASSERT_TRUE(ReadManifest((folder / "show.manifest").string(), inputs, error)) << error;
    std::vector<PackedArchive> packed;
    ASSERT_TRUE(PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed))
        << error;
    auto keysOf = [&](int kind) {
        std::vector<std::string> keys;
        for (const PackedArchive& a : packed)
            if (a.slot == ArchiveSlot(kind, 1))
                for (const PackedRow& r : a.rows) {
                    keys.push_back(r.key);
                    EXPECT_GT(r.size, 0u) << r.key;
                }
        return keys;
    };
    EXPECT_EQ(keysOf(AK_MODEL), (std::vector<std::string>{"TAVELUNETV", "TVANIMATETEXTURE", "MONEYDIAL"}));
    EXPECT_EQ(keysOf(AK_ANIMATION), (std::vector<std::string>{"TAVELUNETV", "TAVELUNETVENDING", "TVANIMATETEXTURE"}));
    // The program's preload lists ask for exactly these entries.
    for (int i = 0; i < TV_MODEL_FILE_COUNT; ++i)
        EXPECT_EQ(MakeArchiveKey(TV_MODEL_FILES[i]), keysOf(AK_MODEL)[size_t(i)]);
    for (int i = 0; i < TV_ANIMATION_FILE_COUNT; ++i)
        EXPECT_EQ(MakeArchiveKey(TV_ANIMATION_FILES[i]), keysOf(AK_ANIMATION)[size_t(i)]);

    const std::vector<std::string> textures = keysOf(AK_TEXTURE);
    std::set<std::string> list;
    for (int i = 0; i < TextureListSize(1); ++i)
        list.insert(TextureListName(1, i));
    EXPECT_EQ(list.size(), 124u);
    EXPECT_EQ(std::set<std::string>(textures.begin(), textures.end()), list);
    EXPECT_EQ(textures.size(), list.size());

    // Every catalogue TV id and cloth picture is there under the file name
    // the show asks for, and decodes.
    std::vector<std::string> asked;
    for (const GoodsRow& r : GOODS_ROWS)
        if (r.tvId[0])
            asked.push_back(r.tvId);
    for (const AccessoryRow& r : ACCESSORY_ROWS)
        if (r.tvId[0])
            asked.push_back(r.tvId);
    for (const ClothRow& r : CLOTH_ROWS) {
        if (r.tvId[0])
            asked.push_back(r.tvId);
        asked.push_back(r.tvPicture);
    }
    int plates = 0;
    for (const std::string& name : asked) {
        std::string key;
        ASSERT_TRUE(NormaliseTextureName(name + ".tga", key)) << name;
        EXPECT_TRUE(list.count(key)) << name;
        EXPECT_EQ(ShowTextureFileName(key), name + ".tga");
        std::ifstream in(folder / "textures" / (name + ".tga"), std::ios::binary);
        std::vector<uint8_t> tga((std::istreambuf_iterator<char>(in)), {});
        CImage image;
        ASSERT_TRUE(DecodeImage(tga.data(), tga.size(), image)) << name;
        EXPECT_FALSE(image.hasAlpha) << name;
        plates += name.compare(0, 7, "tv_item") == 0;
    }
    EXPECT_EQ(plates, 79);
    fs::remove_all(folder);
}

// A plate shows the item: two items' plates differ, and the plate carries
// dark ink (the name) on its white box.
TEST(ShowTextures, PlatesNameTheirItem) {
    CCanvas a(1, 1), b(1, 1);
    std::string error;
    ASSERT_TRUE(PaintShowTexture("TV_ITEM45_FURIN", a, error)) << error;
    ASSERT_TRUE(PaintShowTexture("TV_ITEM46_REIZOUKO", b, error)) << error;
    ASSERT_EQ(a.Width(), 256);
    ASSERT_EQ(a.Height(), 128);
    int differ = 0, ink = 0;
    for (int y = 31; y < 84; ++y)
        for (int x = 64; x < 244; ++x) {
            differ += a.Get(x, y) != b.Get(x, y);
            const Rgba c = a.Get(x, y);
            ink += c.r < 100 && c.g < 100 && c.b < 140;
        }
    EXPECT_GT(differ, 200);
    EXPECT_GT(ink, 150);
    EXPECT_FALSE(PaintShowTexture("NOT_A_SHOW_TEXTURE", a, error));
    EXPECT_NE(error.find("NOT_A_SHOW_TEXTURE"), std::string::npos);
}

} // namespace
