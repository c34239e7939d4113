#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "character/item/Catalogue.h"
#include "character/preload/PreloadLists.h"
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
#include "engine/chunk/RecordReaders.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/SceneChunkLoaders.h"
#include "engine/scene/Transform.h"
#include "tools/content/RoomBuilder.h"
#include "tools/goods/GoodsBuilder.h"
#include "tools/goods/GoodsLayout.h"
#include "tools/media/MediaContent.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"

#include "tests/tools/content/ShapeStandIn.h"

namespace {

struct ReadBack {
    std::map<std::string, float> geometryRadius;
    std::map<std::string, ShapeRecord> shapes;
    std::vector<TextureRecord> textures;
    std::vector<std::string> names[12];
    int missing = 0;
};
ReadBack g_read;

// One model walked by the engine's scene loaders into a registry of its own,
// with stand-ins for the renderer's kinds.
class GoodsModel {
public:
    explicit GoodsModel(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {
        m_saved = CurrentResourceManager;
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        top = CreateRootTransform();
        SetDefaultParent(top);
        g_read = ReadBack();
        SetMissingResourceHandler([](void*) { ++g_read.missing; });
        ClearChunkHandlers();
        RegisterSceneChunkHandlers();
        SetChunkHandler([](const GeometryRecord& r) {
            g_read.geometryRadius[r.name] = r.radius;
            g_read.names[RT_GEOMETRY].push_back(r.name);
        });
        SetChunkHandler([](const ShaderRecord& r) { g_read.names[RT_SHADER].push_back(r.name); });
        SetChunkHandler([](const TextureRecord& r) {
            g_read.textures.push_back(r);
            g_read.names[RT_TEXTURE].push_back(r.name);
        });
        SetChunkHandler([](const ShapeRecord& r) {
            g_read.shapes[r.name] = r;
            g_read.names[RT_SHAPE].push_back(r.name);
            new CShapeStandIn(r.name.c_str());
        });
        walk = LoadChunkStream(&registry, m_bytes.data(), m_bytes.size(), CHUNK_MASK_ALL);
        read = g_read;
    }
    ~GoodsModel() {
        ClearChunkHandlers();
        SetMissingResourceHandler(nullptr);
        SetDefaultParent(nullptr);
        CurrentResourceManager = m_saved;
    }
    CTransform* Transform(const std::string& name) {
        return dynamic_cast<CTransform*>(registry.Find(name.c_str(), RT_TRANSFORM));
    }
    static bool Below(const CNode* node, const CTransform* above) {
        for (CTransform* p = node ? node->GetParent() : nullptr; p; p = p->GetParent())
            if (p == above)
                return true;
        return false;
    }
    // The largest bounding radius of the shapes hanging below `node`.
    float LargestShapeRadius(const CTransform* node) {
        float best = -1;
        for (const auto& shape : read.shapes) {
            CNode* n = dynamic_cast<CNode*>(registry.Find(shape.first.c_str(), RT_SHAPE));
            if (!n || !Below(n, node))
                continue;
            for (const ShapePair& pair : shape.second.pairs)
                best = std::max(best, read.geometryRadius[pair.geometryName]);
        }
        return best;
    }

    CResourceManager registry;
    CTransform* top = nullptr;
    ChunkWalkResult walk;
    ReadBack read;

private:
    std::vector<uint8_t> m_bytes;
    CResourceManager* m_saved = nullptr;
};

std::vector<uint8_t> Build(const std::string& base) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(BuildGoodsModel(base, bytes, error)) << error;
    return bytes;
}

// One model per file of the character's preload list, each named by the
// catalogue item that builds it.
TEST(GoodsModels, OneModelPerPreloadedFileWithTheCataloguesViewNodes) {
    ASSERT_EQ(GoodsPlaces().size(), size_t(CHARACTER_GOODS_MODEL_FILE_COUNT));
    for (size_t i = 0; i < GoodsPlaces().size(); ++i) {
        const GoodsPlace& place = GoodsPlaces()[i];
        EXPECT_EQ(std::string(GOODS_ENTRY_FOLDER) + place.file, CHARACTER_GOODS_MODEL_FILES[i]);
        const GoodsRow* item = FindGoodsRow(place.base.c_str());
        if (place.base == "iceCandy") {
            EXPECT_EQ(item, nullptr);
            continue;
        }
        ASSERT_NE(item, nullptr) << place.base;
        EXPECT_EQ(place.viewNode, item->viewNode);
    }
    // Every room prop and good of the catalogue has its model.
    for (const GoodsRow& row : ROOM_PROP_ROWS)
        EXPECT_NE(FindGoodsPlace(row.name), nullptr) << row.name;
    for (const GoodsRow& row : GOODS_ROWS)
        EXPECT_NE(FindGoodsPlace(row.name), nullptr) << row.name;
    EXPECT_EQ(FindGoodsPlace("bodyVibrator")->file, "beltVibrator.hgm");
    EXPECT_EQ(FindGoodsPlace("beltVibrator"), nullptr);
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(BuildGoodsModel("cabinet", bytes, error));
    EXPECT_FALSE(error.empty());
}

// Every model: the top in room coordinates under the default parent, the
// resting place under it, the carried part at the resting place's origin
// and a view node below the carried part whose shapes have real bounds.
TEST(GoodsModels, EachLoadsCompletelyWithRootInitHandlingAndABoundedViewNode) {
    for (const GoodsPlace& place : GoodsPlaces()) {
        SCOPED_TRACE(place.base);
        const std::string base = place.base;
        GoodsModel model(Build(base));
        EXPECT_TRUE(model.walk.complete);
        EXPECT_EQ(model.walk.refused, 0);
        EXPECT_EQ(model.walk.empty, 0);
        EXPECT_EQ(model.read.missing, 0);
        CTransform* root = model.Transform(base + "Root");
        CTransform* init = model.Transform(base + "Init");
        CTransform* handling = model.Transform(base + "Handling");
        CTransform* view = model.Transform(place.viewNode);
        ASSERT_TRUE(root && init && handling && view);
        EXPECT_EQ(root->GetParent(), model.top);
        EXPECT_EQ(init->GetParent(), root);
        EXPECT_EQ(handling->GetParent(), init);
        EXPECT_EQ(view->GetParent(), handling);
        for (int c = CTransform::TC_TRANSLATION_X; c <= CTransform::TC_ROTATION_Z; ++c)
            EXPECT_EQ(handling->GetChannelValue(c), 0.0f) << c;
        EXPECT_EQ(init->GetChannelValue(CTransform::TC_TRANSLATION_X), place.rest.x);
        EXPECT_EQ(init->GetChannelValue(CTransform::TC_TRANSLATION_Z), place.rest.z);
        EXPECT_GT(model.LargestShapeRadius(view), 1.0f);
        for (const auto& r : model.read.geometryRadius)
            EXPECT_GE(r.second, 0.0f) << r.first;
    }
}

TEST(GoodsModels, NodesTheCodeAndTheMotionsName) {
    struct Case {
        const char* model;
        const char* node;
        const char* parent;
        float visible;
    } cases[] = {
        {"kotatsu", "kotatsuBody", "kotatsu", 1},
        {"tv", "Tv", "tv", 1},
        {"tv", "tv2003lcdvc", "tv", 0},
        {"tv", "tvBrokenSound", "tvRoot", 0},
        {"door", "doorSlide", "door", 1},
        {"door", "doorOutSound", "doorRoot", 0},
        {"door", "doorInSound", "doorRoot", 0},
        {"chair", "chairSeat", "chair", 1},
        {"chair", "chairSound0", "chairRoot", 0},
        {"chair", "chairSound1", "chairRoot", 0},
        {"reizouko", "reizoukoDoor", "reizouko", 1},
        {"senpuki", "senpukiBlade", "senpukiHead", 1},
        {"punchingBag", "punchingBagBag", "punchingBag", 1},
        {"segway", "segwayWheelL", "segway", 1},
        {"lightSaber", "lightSaberSound", "lightSaberRoot", 0},
        {"teleporter", "teleporterSound0", "teleporterRoot", 0},
        {"teleporter", "teleporterSound1", "teleporterRoot", 0},
        {"conga", "congaSound0", "congaRoot", 0},
        {"conga", "congaSound1", "congaRoot", 0},
        {"conga", "congaSound2", "congaRoot", 0},
        {"conga", "congaSound3", "congaRoot", 0},
        {"otama", "otamaSound", "otamaRoot", 0},
        {"bodyBlade", "bodyBladeSound", "bodyBladeRoot", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.node);
        GoodsModel model(Build(c.model));
        CTransform* node = model.Transform(c.node);
        ASSERT_NE(node, nullptr);
        ASSERT_NE(node->GetParent(), nullptr);
        EXPECT_EQ(node->GetParent(), model.Transform(c.parent));
        EXPECT_EQ(node->GetChannelValue(CTransform::TC_VISIBLE), c.visible);
    }
    // The show's anchor is the old set's screen.
    GoodsModel tv(Build("tv"));
    EXPECT_EQ(tv.Transform("tvInit")->GetChannelValue(CTransform::TC_TRANSLATION_Y), 45.0f);
}

// One registry holds the room and every good: no name may be taken twice
// within a kind, or the first one registered would answer for both.
TEST(GoodsModels, NamesAreUniquePerKindAcrossTheRoomAndAllGoods) {
    std::map<int, std::set<std::string>> seen;
    auto collect = [&](const std::vector<uint8_t>& bytes, const std::string& what) {
        GoodsModel model(bytes);
        EXPECT_EQ(model.read.missing, 0) << what;
        for (int kind : {RT_GEOMETRY, RT_SHADER, RT_SHAPE, RT_TEXTURE})
            for (const std::string& name : model.read.names[kind])
                EXPECT_TRUE(seen[kind].insert(name).second) << what << ": " << name << " of kind " << kind;
    };
    std::vector<uint8_t> room;
    std::string error;
    ASSERT_TRUE(BuildRoomModel(room, error)) << error;
    collect(room, "room");
    for (const GoodsPlace& place : GoodsPlaces())
        collect(Build(place.base), place.base);
    // Transforms: read back from the records themselves.
    std::set<std::string> transforms;
    auto nodes = [&](const std::vector<uint8_t>& bytes, const std::string& what) {
        for (size_t at = 0; at + 8 <= bytes.size();) {
            uint32_t type = ReadLe32(&bytes[at]), size = ReadLe32(&bytes[at + 4]);
            ASSERT_GE(size, 8u);
            TransformRecord t;
            if (type == RT_TRANSFORM && ReadTransformRecord(&bytes[at + 8], size - 8, t) == RR_ACCEPTED) {
                EXPECT_TRUE(transforms.insert(t.name).second) << what << ": " << t.name;
            }
            at += size;
        }
    };
    nodes(room, "room");
    for (const GoodsPlace& place : GoodsPlaces())
        nodes(Build(place.base), place.base);
    // Instance roots the program makes must not be taken.
    for (const GoodsPlace& place : GoodsPlaces())
        EXPECT_EQ(transforms.count(place.base + "_root"), 0u) << place.base;
}

class GoodsArchives : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("goods_content_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                  std::to_string(std::hash<std::string>{}(std::filesystem::current_path().string())));
        std::filesystem::remove_all(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

// The room, the engine's own pictures and the goods together fill model
// archive 0 and texture archive 0: the directories hold exactly the names
// the program asks for, and every goods model loads from the packed archive.
TEST_F(GoodsArchives, ModelAndTextureArchiveZeroHoldEveryListedName) {
    std::string error;
    ASSERT_TRUE(WriteRoomContent((folder / "room").string(), error)) << error;
    ASSERT_TRUE(BuildMediaContent((folder / "media").string(), error)) << error;
    ASSERT_TRUE(WriteGoodsContent((folder / "goods").string(), error)) << error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    for (const char* m : {"room/room.manifest", "media/media.manifest", "goods/goods.manifest"})
        ASSERT_TRUE(ReadManifest((folder / m).string(), inputs, error)) << error;
    std::vector<PackedArchive> packed;
    ASSERT_TRUE(PackAllArchives(inputs, (folder / "data").string(), (folder / "table.cpp").string(), error, &packed))
        << error;

    const PackedArchive& models = packed[size_t(ArchiveSlot(AK_MODEL, 0))];
    std::set<std::string> modelKeys;
    for (const PackedRow& row : models.rows)
        modelKeys.insert(row.key);
    std::set<std::string> expectedModels = {"ROOM", "CUSHION"};
    for (const GoodsPlace& place : GoodsPlaces()) {
        std::string stem = place.file;
        expectedModels.insert(MakeArchiveKey(std::string(GOODS_ENTRY_FOLDER) + stem));
    }
    EXPECT_EQ(expectedModels.size(), 26u);
    EXPECT_EQ(modelKeys, expectedModels);
    EXPECT_EQ(modelKeys.count("BELTVIBRATOR"), 1u);
    EXPECT_EQ(modelKeys.count("ICECANDY"), 1u);

    const PackedArchive& textures = packed[size_t(ArchiveSlot(AK_TEXTURE, 0))];
    std::set<std::string> textureKeys;
    for (const PackedRow& row : textures.rows)
        textureKeys.insert(row.key);
    std::set<std::string> listZero;
    for (int i = 0; i < TextureListSize(0); ++i)
        listZero.insert(TextureListName(0, i));
    EXPECT_EQ(listZero.size(), 33u);
    EXPECT_EQ(textureKeys, listZero);

    // Each goods texture file is found where the model's prefix puts it.
    for (const PaintedTexture& t : PaintGoodsTextures()) {
        std::string name;
        ASSERT_TRUE(NormaliseTextureName(std::string(GOODS_ENTRY_FOLDER) + t.fileName, name));
        EXPECT_EQ(FindTextureList(name), 0) << t.fileName;
    }

    std::string savedFolder = GetDataFolder();
    SetDataFolder((folder / "data").string());
    std::vector<ArchiveEntryRow> rows = DirectoryRows(models);
    CDataArchive archive({models.fileName.c_str(), models.key, rows.data()});
    std::vector<ArchiveEntryRow> textureRows = DirectoryRows(textures);
    CDataArchive textureArchive({textures.fileName.c_str(), textures.key, textureRows.data()});
    for (const GoodsPlace& place : GoodsPlaces()) {
        SCOPED_TRACE(place.base);
        ClearChunkHandlers();
        CResourceManager registry;
        ChunkWalkResult walk = LoadModelFromArchive(&registry, &archive, std::string(GOODS_ENTRY_FOLDER) + place.file);
        EXPECT_TRUE(walk.complete);
        EXPECT_GT(walk.accepted, 5);
        EXPECT_EQ(walk.refused, 0);
        // The texture files the model names are in the texture archive.
        GoodsModel model(Build(place.base));
        for (const TextureRecord& t : model.read.textures) {
            ArchiveEntry entry = textureArchive.GetEntry(std::string(GOODS_ENTRY_FOLDER) + t.fileName);
            EXPECT_NE(entry.data, nullptr) << t.fileName;
        }
    }
    SetDataFolder(savedFolder);
}

} // namespace
