#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/engine/archive/ArchiveFixture.h"
#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/ModelLoader.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"

namespace {

TEST(ArchiveTable, SlotsAndFileNamesByKindAndIndex) {
    EXPECT_STREQ(GetArchiveDescriptor(AK_MODEL, 0)->fileName, "model/model00.bin");
    EXPECT_STREQ(GetArchiveDescriptor(AK_MODEL, 4)->fileName, "model/model04.bin");
    EXPECT_STREQ(GetArchiveDescriptor(AK_TEXTURE, 3)->fileName, "model/texture03.bin");
    EXPECT_STREQ(GetArchiveDescriptor(AK_ANIMATION, 3)->fileName, "animation/animation03.bin");
    EXPECT_STREQ(GetArchiveDescriptor(AK_CLIPPER, 0)->fileName, "clipper/clipper00.bin");
    EXPECT_STREQ(GetArchiveDescriptor(AK_SOUND, 1)->fileName, "sound/sound01.bin");
    struct Case {
        int kind, index;
    } outside[] = {{AK_MODEL, 5},   {AK_MODEL, -1}, {AK_TEXTURE, 5}, {AK_ANIMATION, 4},
                   {AK_CLIPPER, 1}, {AK_SOUND, 2},  {-1, 0},         {5, 0}};
    for (const Case& c : outside) {
        EXPECT_EQ(GetArchiveDescriptor(c.kind, c.index), nullptr) << c.kind << " " << c.index;
        EXPECT_EQ(OpenArchive(c.kind, c.index), nullptr) << c.kind << " " << c.index;
    }
    EXPECT_EQ(ArchiveSlot(AK_SOUND, 1), ARCHIVE_SLOT_COUNT - 1);
    EXPECT_EQ(ArchiveFileName(ARCHIVE_SLOT_COUNT), nullptr);
}

using ArchiveOpeners = DataFolderTest;

// Every archive file of the table gets a size of its own (4 bytes per slot
// number, plus 4), so the bytes an opener read tell which file it opened.
TEST_F(ArchiveOpeners, EachOpenerOpensItsOwnRowsFileAndRefusesOthers) {
    for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot)
        WriteFile(ArchiveFileName(slot), std::vector<uint8_t>(4 * size_t(slot + 1), uint8_t(slot)));
    struct Opener {
        const char* name;
        CDataArchive* (*open)(int);
        int kind;
        int rows;
    } openers[] = {
        {"model", OpenModelArchive, AK_MODEL, 5},
        {"animation", OpenAnimationArchive, AK_ANIMATION, 4},
        {"clipper", OpenClipperArchive, AK_CLIPPER, 1},
        {"sound", OpenSoundArchive, AK_SOUND, 2},
    };
    for (const Opener& o : openers) {
        EXPECT_EQ(ArchiveCountOfKind(o.kind), o.rows) << o.name;
        for (int index = -1; index <= o.rows; ++index) {
            std::unique_ptr<CDataArchive> archive(o.open(index));
            if (index < 0 || index == o.rows) {
                EXPECT_EQ(archive, nullptr) << o.name << " " << index;
                continue;
            }
            ASSERT_NE(archive, nullptr) << o.name << " " << index;
            int slot = ArchiveSlot(o.kind, index);
            EXPECT_EQ(archive->GetBufferSize(), 4 * size_t(slot + 1))
                << o.name << " " << index << " opened another file than " << ArchiveFileName(slot);
            std::unique_ptr<CDataArchive> same(OpenArchive(o.kind, index));
            ASSERT_NE(same, nullptr);
            EXPECT_EQ(same->GetBufferSize(), archive->GetBufferSize()) << o.name << " " << index;
        }
    }
}

TEST(ModelPathPrefix, TableAndOutOfRangeKeepsTheLastValue) {
    EXPECT_TRUE(SetModelPathPrefix(3));
    EXPECT_STREQ(GetModelPathPrefix(), "model/ending/");
    EXPECT_FALSE(SetModelPathPrefix(5));
    EXPECT_FALSE(SetModelPathPrefix(-1));
    EXPECT_STREQ(GetModelPathPrefix(), "model/ending/");
    const char* expected[] = {"model/common/", "model/zaplenu/", "model/indicator/", "model/ending/", "model/vesko/"};
    for (int i = 0; i < MODEL_PATH_PREFIX_COUNT; ++i) {
        EXPECT_TRUE(SetModelPathPrefix(i));
        EXPECT_STREQ(GetModelPathPrefix(), expected[i]);
    }
}

// The archives compiled into this program: on the Windows side, when the
// build ran the packer, every archive holds its content or its placeholder
// entry. The tests run in the folder where the build laid out the data.
TEST(ArchiveTable, GeneratedArchivesServeTheirEntries) {
    bool any = false;
    for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot)
        any = any || GENERATED_ARCHIVE_DIRECTORIES[slot];
    if (!any)
        GTEST_SKIP() << "this build has no generated archive table";
    struct Restore {
        std::string folder = GetDataFolder();
        ~Restore() { SetDataFolder(folder); }
    } restore;
    SetDataFolder(std::filesystem::current_path().string());
    for (int kind = 0; kind < ARCHIVE_KIND_COUNT; ++kind) {
        for (int index = 0; index < ArchiveCountOfKind(kind); ++index) {
            const ArchiveDescriptor* d = GetArchiveDescriptor(kind, index);
            ASSERT_NE(d->directory, nullptr) << d->fileName;
            EXPECT_NE(d->key, 0u) << d->fileName;
            std::unique_ptr<CDataArchive> archive(OpenArchive(kind, index));
            ASSERT_TRUE(archive);
            size_t rows = 0;
            for (const ArchiveEntryRow* row = d->directory; row->key; ++row)
                ++rows;
            EXPECT_EQ(archive->GetEntryCount(), rows) << d->fileName;
            // An archive without content holds only its placeholder entry.
            ArchiveEntry placeholder = archive->GetEntry("placeholder.txt");
            if (rows == 1 && placeholder.data)
                EXPECT_EQ(Text(placeholder.data, placeholder.size),
                          std::string("placeholder entry of ") + d->fileName + "\n");
            else
                EXPECT_EQ(placeholder.data, nullptr) << d->fileName;
        }
    }
}

int g_transforms = 0;

using ModelLoaderTest = DataFolderTest;

TEST_F(ModelLoaderTest, LoadsTheEntryAsAChunkStreamAndMissingEntriesLoadNothing) {
    // One transform chunk, as a loose file in place of the archive's entry.
    std::vector<uint8_t> stream = {4, 0, 0, 0, 52, 0, 0, 0, 'n', 0, 0, 0, 1, 0, 0, 0};
    stream.resize(52, 0);
    WriteFile("model/ending/endRoll.hgm", stream);
    ClearChunkHandlers();
    SetChunkHandler([](const TransformRecord&) { ++g_transforms; });
    CResourceManager registry;
    CDataArchive archive({"model/model03.bin", 0, nullptr});
    g_transforms = 0;
    EXPECT_EQ(LoadModelFromArchive(&registry, &archive, "model/ending/endRoll.hgm").accepted, 1);
    EXPECT_EQ(g_transforms, 1);
    ChunkWalkResult none = LoadModelFromArchive(&registry, &archive, "model/ending/smoke.hgm");
    EXPECT_EQ(none.accepted + none.refused + none.skipped, 0);
    EXPECT_EQ(LoadModelFromArchive(&registry, nullptr, "model/ending/endRoll.hgm").accepted, 0);
    EXPECT_EQ(g_transforms, 1);
    ClearChunkHandlers();
}

} // namespace
