// The screen-saver logo, the staff roll and the smoke as the build packs
// them: the archive directories hold exactly the names the program asks
// for, the models load completely with every node and shader the code looks
// up, the animations have the lengths the code relies on, and the pictures
// carry what they are for.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/anim/AnimAttribute.h"
#include "engine/anim/AnimChunkLoaders.h"
#include "engine/anim/Channel.h"
#include "engine/anim/AnimationSet.h"
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
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "tools/ending/EndingContent.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"

#include "tests/tools/content/ModelRegistry.h"
#include "tests/tools/content/ShapeStandIn.h"

namespace {

// Stand in for the renderer's shader (with its translucency channel, which
// the staff roll animates) and geometry, so that references resolve.
class CShaderStandIn : public CResource {
public:
    explicit CShaderStandIn(const char* name) : CResource(name, RT_SHADER) {}
    CHandle GetChannel(int attribute) override {
        return attribute == AA_TRANSLUCENT ? m_translucency.GetHandle() : NULL_HANDLE;
    }

private:
    CChannel m_translucency;
};

class CGeometryStandIn : public CResource {
public:
    explicit CGeometryStandIn(const char* name) : CResource(name, RT_GEOMETRY) {}
};

ModelReadBack g_read;

class EndingContentFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ending_content_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::string error;
        ASSERT_TRUE(WriteEndingContent(folder.string(), error)) << error;
        inputs = EmptyArchiveInputs();
        ASSERT_TRUE(ReadManifest((folder / "ending.manifest").string(), inputs, error)) << error;
        ASSERT_TRUE(
            PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed))
            << error;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::set<std::string> Keys(int kind, int index) {
        std::set<std::string> keys;
        for (const ArchiveEntryRow& row : DirectoryRows(packed[size_t(ArchiveSlot(kind, index))]))
            if (row.key)
                keys.insert(row.key);
        return keys;
    }

    std::filesystem::path folder;
    ArchiveInputs inputs;
    std::vector<PackedArchive> packed;
};

TEST_F(EndingContentFolder, DirectoriesHoldTheInventorysNames) {
    EXPECT_EQ(Keys(AK_MODEL, 2), (std::set<std::string>{"SCREENSAVER"}));
    EXPECT_EQ(Keys(AK_MODEL, 3), (std::set<std::string>{"ENDROLL", "SMOKE"}));
    EXPECT_EQ(Keys(AK_ANIMATION, 2), (std::set<std::string>{"SCREENSAVER"}));
    EXPECT_EQ(Keys(AK_ANIMATION, 3), (std::set<std::string>{"ENDROLL"}));
    EXPECT_EQ(Keys(AK_TEXTURE, 2), (std::set<std::string>{"SC_MOZI"}));
    std::set<std::string> list3;
    for (int i = 0; const char* name = TextureListName(3, i); ++i)
        list3.insert(name);
    EXPECT_EQ(list3.size(), 9u);
    EXPECT_EQ(Keys(AK_TEXTURE, 3), list3);
    // Each entry is found by the path the program asks for.
    for (const auto& slot : inputs)
        for (const PackInput& input : slot) {
            std::string name;
            if (input.path.find(".tga") == std::string::npos)
                continue;
            ASSERT_TRUE(NormaliseTextureName(input.path, name));
            EXPECT_GE(FindTextureList(name), 2) << input.path;
        }
    // Nothing else is filled: the menu's model comes from its own builder.
    size_t entries = 0;
    for (const auto& slot : inputs)
        entries += slot.size();
    EXPECT_EQ(entries, 1u + 2u + 1u + 1u + 1u + 9u);
}

TEST_F(EndingContentFolder, ManifestEntriesAreTheBuiltFilesOnEveryRun) {
    std::string error;
    std::filesystem::path again = folder / "again";
    ASSERT_TRUE(WriteEndingContent(again.string(), error)) << error;
    for (const auto& slot : inputs)
        for (const PackInput& input : slot) {
            std::vector<EndingFile> files;
            ASSERT_TRUE(BuildEndingFiles(files, error));
            bool found = false;
            for (const EndingFile& f : files)
                if (f.path == input.path) {
                    found = true;
                    EXPECT_TRUE(f.bytes == input.bytes) << input.path;
                }
            EXPECT_TRUE(found) << input.path;
        }
}

// The models and animations walked by the engine's scene and animation
// loaders into a registry of their own, as the program loads them: the
// ending's files after the logo's would be the other run, so each run's
// pair is loaded on its own.
class EndingModels : public EndingContentFolder, protected ModelRegistry {
protected:
    void Load(int group, const std::vector<std::string>& models, const std::string& animation) {
        OpenRegistry();
        g_read = ModelReadBack();
        SetMissingResourceHandler([](void*) { ++g_read.missing; });
        RegisterAnimChunkHandlers();
        SetChunkHandler([](const ShaderRecord& r) {
            g_read.shaders.push_back(r);
            new CShaderStandIn(r.name.c_str());
        });
        SetChunkHandler([](const TextureRecord& r) { g_read.textures.push_back(r); });
        SetChunkHandler([](const GeometryRecord& r) { new CGeometryStandIn(r.name.c_str()); });
        SetChunkHandler([](const ShapeRecord& r) {
            g_read.shapes.push_back(r);
            new CShapeStandIn(r.name.c_str());
        });
        std::string error;
        for (const std::string& path : models) {
            std::vector<uint8_t> bytes = Entry(AK_MODEL, group, path);
            ChunkWalkResult walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
            EXPECT_TRUE(walk.complete) << path;
            EXPECT_EQ(walk.refused, 0) << path;
            kept.push_back(std::move(bytes));
        }
        std::vector<uint8_t> bytes = Entry(AK_ANIMATION, group, animation);
        ChunkWalkResult walk = LoadChunkStream(&registry, bytes.data(), bytes.size(), CHUNK_MASK_ALL);
        EXPECT_TRUE(walk.complete) << animation;
        EXPECT_EQ(walk.refused, 0) << animation;
        kept.push_back(std::move(bytes));
        EXPECT_EQ(g_read.missing, 0);
    }
    void TearDown() override {
        CloseRegistry();
        EndingContentFolder::TearDown();
    }
    std::vector<uint8_t> Entry(int kind, int group, const std::string& path) {
        for (const PackInput& input : inputs[size_t(ArchiveSlot(kind, group))])
            if (input.path == path)
                return input.bytes;
        ADD_FAILURE() << "no entry " << path;
        return {};
    }
    CTransform* FindTransform(const char* name) { return dynamic_cast<CTransform*>(registry.Find(name, RT_TRANSFORM)); }
    const ShaderRecord* FindShader(const std::string& name) {
        for (const ShaderRecord& s : g_read.shaders)
            if (s.name == name)
                return &s;
        return nullptr;
    }

    std::vector<std::vector<uint8_t>> kept;
};

TEST_F(EndingModels, StaffRollAndSmokeHoldWhatTheEndingLooksUp) {
    Load(3, {"model/ending/endRoll.hgm", "model/ending/smoke.hgm"}, "animation/ending/endRoll.hga");
    for (const char* top : {"BackGround", "congratulationsEndRoll", "TITLELOGO", "scrollTEXT", "EndCredit"}) {
        CTransform* node = FindTransform(top);
        ASSERT_NE(node, nullptr) << top;
        EXPECT_EQ(node->GetParent(), root) << top << " is a top of its file";
    }
    for (const char* shader :
         {"gradation", "congraturations", "congraturationsB1", "congraturationsB2", "project1", "TITLE", "TITLE_Blur",
          "STAFFA", "STAFFB", "aeeYouNextTime", "URL1", "LOGO_MOTO", "LOGO_Blur1"}) {
        const ShaderRecord* s = FindShader(shader);
        ASSERT_NE(s, nullptr) << shader;
        EXPECT_EQ(s->shaderType, ST_CONSTANT) << shader << " is looked up unscoped: it must not be skinned";
    }
    ASSERT_NE(FindTransform("smoke"), nullptr);
    EXPECT_NE(registry.Find("smokeShape", RT_SHAPE), nullptr);
    const ShaderRecord* puff = FindShader("smokePuff");
    ASSERT_NE(puff, nullptr);
    EXPECT_EQ(puff->shaderType, ST_CONSTANT);
    // Every texture record names a file of list 3.
    std::set<std::string> files;
    for (const TextureRecord& t : g_read.textures) {
        std::string name;
        ASSERT_TRUE(NormaliseTextureName(t.fileName, name));
        EXPECT_EQ(FindTextureList(name), 3) << t.fileName;
        files.insert(name);
    }
    EXPECT_EQ(files, (std::set<std::string>{"DUMMY_END_CONGRATULATIONS", "DUMMY_END_GRADATION", "DUMMY_END_STAFF1",
                                            "DUMMY_END_STAFF2", "EFFECT_BLACKSMOKEC"}));
    // The roll lasts as long as the music after the fade-out: 72 s of music
    // less 10 s, at 1.116 times 60 frames a second.
    CAnimationSet* roll = dynamic_cast<CAnimationSet*>(registry.Find("endRoll", RT_ANIMATION_SET));
    ASSERT_NE(roll, nullptr);
    EXPECT_NEAR(roll->GetLength(), (72.0f - 10.0f) * 60.0f * 1.116f, 30.0f);
}

TEST_F(EndingModels, LogoHoldsItsNodeShaderAndATenSecondAnimation) {
    Load(2, {"model/indicator/screenSaver.hgm"}, "animation/indicator/screenSaver.hga");
    CTransform* logo = FindTransform("sc_logoModel");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->GetParent(), root);
    const ShaderRecord* phong = FindShader("phong1");
    ASSERT_NE(phong, nullptr);
    EXPECT_EQ(phong->shaderType, ST_CONSTANT);
    ASSERT_EQ(g_read.textures.size(), 1u);
    std::string name;
    ASSERT_TRUE(NormaliseTextureName(g_read.textures[0].fileName, name));
    EXPECT_EQ(name, "SC_MOZI");
    // Every shape of the logo draws with the shader that fades.
    for (const ShapeRecord& shape : g_read.shapes)
        for (const ShapePair& pair : shape.pairs)
            EXPECT_EQ(pair.shaderName, "phong1") << shape.name;
    CAnimationSet* set = dynamic_cast<CAnimationSet*>(registry.Find("screenSaver", RT_ANIMATION_SET));
    ASSERT_NE(set, nullptr);
    EXPECT_FLOAT_EQ(set->GetLength(), 600.0f);
}

// How much of a region of a picture is inked (alpha or brightness above half).
double InkedShare(const CCanvas& c, int x0, int y0, int x1, int y1) {
    long inked = 0, all = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            Rgba p = c.Get(x, y);
            inked += p.a > 128 && (p.r + p.g + p.b) > 300;
            ++all;
        }
    return all ? double(inked) / double(all) : 0.0;
}

TEST(EndingPictures, EveryRegionTheRollShowsCarriesItsArt) {
    struct Region {
        const char* picture;
        int y0, y1; // rows of the region a shader's quad shows
        double atLeast;
    };
    const Region regions[] = {
        {"end_congratulations", 0, 128, 0.05},   {"end_congratulations", 128, 256, 0.05},
        {"end_congratulations", 256, 512, 0.10}, {"end_staff1", 0, 128, 0.03},
        {"end_staff1", 128, 1024, 0.02},         {"end_staff2", 0, 704, 0.01},
        {"end_staff2", 704, 896, 0.03},          {"end_staff2", 896, 1024, 0.01},
    };
    for (const Region& r : regions) {
        CCanvas c = PaintStaffRollPicture(r.picture);
        EXPECT_GT(InkedShare(c, 0, r.y0, c.Width(), r.y1), r.atLeast) << r.picture << " rows " << r.y0;
        EXPECT_FALSE(c.IsOpaque()) << r.picture << ": text over the gradient needs alpha";
    }
    EXPECT_TRUE(PaintStaffRollPicture("end_gradation").IsOpaque());
    EXPECT_GT(InkedShare(PaintLogoLettering(), 0, 0, 256, 64), 0.05);
    CCanvas puff = PaintSmokePuff();
    EXPECT_GT(puff.Get(32, 32).a, 200);
    EXPECT_EQ(puff.Get(0, 0).a, 0);
}

} // namespace
