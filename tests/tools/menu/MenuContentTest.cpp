#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/archive/ArchiveKey.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/TextureArchives.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/chunk/ChunkStream.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "platform/image/ImageDecoders.h"
#include "tools/menu/MenuContent.h"
#include "tools/packer/Manifest.h"

#include "tests/tools/content/ModelRegistry.h"
#include "tests/tools/content/ShapeStandIn.h"

namespace {

// The 47 transforms the menu looks up, as the asset inventory lists them.
const char* const MENU_NAMES[] = {
    "Menu",
    "star2",
    "star1",
    "star",
    "star3",
    "star4",
    "star5",
    "star6",
    "star7",
    "star8",
    "star9",
    "star10",
    "star11",
    "star12",
    "star13",
    "star14",
    "star15",
    "quit0",
    "quit1",
    "initialize0",
    "initialize1",
    "ok0",
    "ok1",
    "dialogQuit",
    "dialogInitialize",
    "Quit_cancelOFF",
    "Quit_cancelOVER",
    "Quit_okOFF",
    "Quit_okOVER",
    "InitializecancelOFF",
    "InitializecancelOVER",
    "InitializeokOFF",
    "InitializeokOVER",
    "n0",
    "n1",
    "n2",
    "n3",
    "n4",
    "n5",
    "n6",
    "n7",
    "n8",
    "n9",
    "nKanma",
    "nConma",
    "nYen",
    "nPercent",
};

ModelReadBack g_read;

class MenuModel : public ::testing::Test, protected ModelRegistry {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(BuildConfigMenuModel(bytes, error)) << error;
        OpenRegistry();
        g_read = ModelReadBack();
        SetMissingResourceHandler([](void*) { ++g_read.missing; });
        SetChunkHandler([](const GeometryRecord& r) { g_read.geometries.push_back(r); });
        SetChunkHandler([](const ShaderRecord& r) { g_read.shaders.push_back(r); });
        SetChunkHandler([](const TextureRecord& r) { g_read.textures.push_back(r); });
        SetChunkHandler([](const ShapeRecord& r) { new CShapeStandIn(r.name.c_str()); });
        walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
    }
    void TearDown() override { CloseRegistry(); }
    CTransform* Find(const std::string& name) {
        return dynamic_cast<CTransform*>(registry.Find(name.c_str(), RT_TRANSFORM));
    }
    // Place in the menu plane, summed over the menu's own nodes.
    void MenuPlace(CTransform* t, float& x, float& z) {
        x = z = 0;
        for (; t && t->GetName() != "Menu"; t = t->GetParent()) {
            x += t->GetChannelValue(CTransform::TC_TRANSLATION_X);
            z += t->GetChannelValue(CTransform::TC_TRANSLATION_Z);
        }
    }

    std::vector<uint8_t> bytes;
    ChunkWalkResult walk;
};

TEST_F(MenuModel, HoldsEveryNamedTransformUnderTheMenuTop) {
    EXPECT_TRUE(walk.complete);
    EXPECT_EQ(walk.refused, 0);
    EXPECT_EQ(g_read.missing, 0);
    ASSERT_EQ(std::size(MENU_NAMES), 47u);
    CTransform* top = Find("Menu");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->GetParent(), root);
    std::set<std::string> layout;
    for (const MenuNodeSpec& n : MenuNodeLayout())
        layout.insert(n.name);
    EXPECT_EQ(layout.size(), 47u);
    for (const char* name : MENU_NAMES) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(layout.count(name));
        CTransform* t = Find(name);
        ASSERT_NE(t, nullptr);
        // Every node hangs below the top, so the instance clones it.
        CTransform* p = t;
        while (p && p != top)
            p = p->GetParent();
        EXPECT_EQ(p, top);
        // Every part the pointer can reach lies inside the menu area.
        float x, z;
        MenuPlace(t, x, z);
        EXPECT_GE(x, -192.0f);
        EXPECT_LT(x, 192.0f);
        EXPECT_GE(z, -160.0f);
        EXPECT_LT(z, 160.0f);
    }
}

TEST_F(MenuModel, PlacesDialogsUnitsAndGlyphsAsTheCodeExpects) {
    struct Place {
        const char* name;
        float x, z;
        const char* parent;
        float visible;
    };
    const Place places[] = {
        {"dialogQuit", 70, 90, "Menu", 0},
        {"dialogInitialize", -45, 90, "Menu", 0},
        {"nYen", 92, 75, "Menu", 1},
        {"nPercent", 92, 95, "Menu", 1},
        {"Quit_okOFF", 40, 18, "dialogQuit", 1},
        {"InitializecancelOVER", -40, 18, "dialogInitialize", 0},
        {"quit1", -118, 135, "Menu", 0},
        {"ok0", 118, 135, "Menu", 1},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        CTransform* t = Find(p.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->GetChannelValue(CTransform::TC_TRANSLATION_X), p.x);
        EXPECT_EQ(t->GetChannelValue(CTransform::TC_TRANSLATION_Z), p.z);
        ASSERT_NE(t->GetParent(), nullptr);
        EXPECT_EQ(t->GetParent()->GetName(), p.parent);
        EXPECT_EQ(t->GetChannelValue(CTransform::TC_VISIBLE), p.visible);
    }
    for (const char* glyph : {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9", "nKanma", "nConma"}) {
        CTransform* t = Find(glyph);
        ASSERT_NE(t, nullptr) << glyph;
        EXPECT_EQ(t->GetChannelValue(CTransform::TC_VISIBLE), 0.0f) << glyph;
    }
    // The marks of a row stand apart: their 16-unit hit squares never overlap.
    const char* const rows[7][3] = {{"star2", "star1", "star"},    {"star3", "star4", "star5"},
                                    {"star6", "star7", nullptr},   {"star8", "star9", nullptr},
                                    {"star10", "star11", nullptr}, {"star12", "star13", nullptr},
                                    {"star14", "star15", nullptr}};
    std::vector<std::pair<float, float>> marks;
    for (const auto& row : rows)
        for (const char* mark : row)
            if (mark) {
                float x, z;
                MenuPlace(Find(mark), x, z);
                for (const auto& other : marks)
                    EXPECT_TRUE(std::abs(other.first - x) >= 16 || std::abs(other.second - z) >= 16) << mark;
                marks.push_back({x, z});
            }
}

TEST_F(MenuModel, DrawsEverythingWithOneConstantShaderOfTheConfigTexture) {
    ASSERT_EQ(g_read.textures.size(), 1u);
    EXPECT_EQ(g_read.textures[0].name, "CONFIG");
    std::string normalised;
    ASSERT_TRUE(NormaliseTextureName(g_read.textures[0].fileName, normalised));
    EXPECT_EQ(normalised, "CONFIG");
    EXPECT_EQ(FindTextureList(normalised), 2);
    ASSERT_EQ(g_read.shaders.size(), 1u);
    EXPECT_EQ(g_read.shaders[0].shaderType, ST_CONSTANT);
    EXPECT_EQ(g_read.shaders[0].textureName, "CONFIG");
    std::set<std::string> names;
    for (const GeometryRecord& g : g_read.geometries) {
        EXPECT_TRUE(names.insert(g.name).second) << g.name;
        EXPECT_EQ(g.vertexFormat, 0x801u) << g.name;
        EXPECT_GE(g.radius, 0.0f) << g.name;
    }
}

TEST(MenuTexture, IsOpaqueAndSquare) {
    CCanvas texture(1, 1);
    std::string error;
    ASSERT_TRUE(PaintConfigTexture(texture, error)) << error;
    EXPECT_EQ(texture.Width(), MENU_TEXTURE_SIZE);
    EXPECT_EQ(texture.Height(), MENU_TEXTURE_SIZE);
    EXPECT_TRUE(texture.IsOpaque());
}

// The content's manifest, packed as the build packs it: the directories of
// model archive 2 and texture archive 2 hold the menu and its texture under
// the keys the program asks for, and the entries decode.
TEST(MenuArchives, PackedDirectoriesHoldTheMenuModelAndTexture) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "deskmate_menu_content_test";
    fs::remove_all(folder);
    std::string error;
    ASSERT_TRUE(WriteMenuContent(folder.string(), error)) << error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    ASSERT_TRUE(ReadManifest((folder / "menu.manifest").string(), inputs, error)) << error;
    std::vector<PackedArchive> packed;
    ASSERT_TRUE(PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed))
        << error;
    auto rowsOf = [&](int kind, int index) {
        std::map<std::string, uint32_t> rows;
        for (const PackedArchive& a : packed)
            if (a.slot == ArchiveSlot(kind, index))
                for (const PackedRow& r : a.rows)
                    rows[r.key] = r.size;
        return rows;
    };
    const auto models = rowsOf(AK_MODEL, 2);
    const auto textures = rowsOf(AK_TEXTURE, 2);
    EXPECT_EQ(MakeArchiveKey("model/indicator/configMenu.hgm"), "CONFIGMENU");
    ASSERT_TRUE(models.count("CONFIGMENU"));
    EXPECT_GT(models.at("CONFIGMENU"), 0u);
    ASSERT_TRUE(textures.count("CONFIG"));
    std::ifstream in(folder / MENU_TEXTURE_FILE, std::ios::binary);
    std::vector<uint8_t> tga((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(textures.at("CONFIG"), tga.size());
    CImage image;
    ASSERT_TRUE(DecodeImage(tga.data(), tga.size(), image));
    EXPECT_EQ(image.width, MENU_TEXTURE_SIZE);
    EXPECT_FALSE(image.hasAlpha) << "an alpha channel would draw the menu in the translucent pass";
    fs::remove_all(folder);
}

} // namespace
