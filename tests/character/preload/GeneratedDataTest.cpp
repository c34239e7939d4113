#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "character/preload/PreloadLists.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/TextureArchives.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"
#include "platform/image/ImageDecoders.h"

namespace {

// The build's own data through the program's compiled archive table: every
// file her preload lists name is in its archive and walks through the chunk
// reader to its end, and the goods' pictures decode opaque.
TEST(GeneratedCharacterData, EveryPreloadedFileIsInItsArchiveAndReads) {
    if (!GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_ANIMATION, 0)])
        GTEST_SKIP() << "this build has no generated archive table";
    struct Restore {
        std::string folder = GetDataFolder();
        ~Restore() {
            CloseTextureArchives();
            ClearChunkHandlers();
            SetDataFolder(folder);
        }
    } restore;
    SetDataFolder(std::filesystem::current_path().string());
    ClearChunkHandlers(); // records are read and checked, nothing is built

    struct Group {
        CDataArchive* archive;
        const char* const* files;
        int count;
    };
    std::unique_ptr<CDataArchive> body(OpenModelArchive(CHARACTER_BODY_MODEL_GROUP));
    std::unique_ptr<CDataArchive> goods(OpenModelArchive(CHARACTER_GOODS_MODEL_GROUP));
    std::unique_ptr<CDataArchive> motions(OpenAnimationArchive(CHARACTER_ANIMATION_ARCHIVE));
    ASSERT_TRUE(body && goods && motions);
    for (const Group& g : {Group{body.get(), CHARACTER_BODY_MODEL_FILES, CHARACTER_BODY_MODEL_FILE_COUNT},
                           Group{goods.get(), CHARACTER_GOODS_MODEL_FILES, CHARACTER_GOODS_MODEL_FILE_COUNT}}) {
        for (int i = 0; i < g.count; ++i) {
            CResourceManager registry;
            ChunkWalkResult walk = LoadModelFromArchive(&registry, g.archive, g.files[i]);
            EXPECT_TRUE(walk.complete) << g.files[i];
            EXPECT_EQ(walk.refused, 0) << g.files[i];
            EXPECT_GT(walk.accepted, 4) << g.files[i];
        }
    }
    for (int i = 0; i < CHARACTER_ANIMATION_SET_COUNT; ++i) {
        std::string path = std::string("animation/") + CHARACTER_ANIMATION_SETS[i] + ".hga";
        CResourceManager registry;
        ChunkWalkResult walk = LoadModelFromArchive(&registry, motions.get(), path);
        EXPECT_TRUE(walk.complete) << path;
        EXPECT_EQ(walk.refused, 0) << path;
        EXPECT_GT(walk.accepted, 100) << path;
    }

    OpenTextureArchives();
    for (const char* file : {"conga_metal.tga", "conga_redwood.tga", "conga_skin.tga", "diabolos.tga",
                             "houchou_blade.tga", "houchou_wood.tga", "milk.tga", "ref.tga"}) {
        ArchiveEntry entry = GetTextureEntry(std::string("model/common/") + file);
        ASSERT_NE(entry.data, nullptr) << file;
        CImage image;
        ASSERT_TRUE(DecodeImage(entry.data, entry.size, image)) << file;
        EXPECT_FALSE(image.hasAlpha) << file;
        EXPECT_GE(image.width, 64) << file;
    }
}

} // namespace
