#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/ModelLoader.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"
#include "tests/engine/archive/ArchiveFixture.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string Text(const ArchiveEntry& e) {
    return e.data ? std::string(reinterpret_cast<const char*>(e.data), e.size) : std::string("<null>");
}

// Packs into a private data folder of its own.
using Packer = DataFolderTest;

TEST_F(Packer, ConcatenatesInOrderScramblesAndReadsBackThroughItsDirectory) {
    std::vector<PackInput> inputs = {
        {"model/ending/endRoll.hgm", Bytes("first entry")},
        {"model/ending/smoke.hgm", Bytes("")},
        {"model/ending/sub.name.tga", Bytes("xyz")}, // 14 bytes in all: a 2-byte tail
    };
    PackedArchive packed;
    std::string error;
    ASSERT_TRUE(PackArchive("model/model03.bin", 0xA1B2C3D4u, inputs, packed, error)) << error;
    EXPECT_EQ(packed.slot, ArchiveSlot(AK_MODEL, 3));
    ASSERT_EQ(packed.rows.size(), 3u);
    EXPECT_EQ(packed.rows[0].key, "ENDROLL");
    EXPECT_EQ(packed.rows[1].offset, 11u);
    EXPECT_EQ(packed.rows[2].key, "SUB_NAME");
    EXPECT_EQ(packed.rows[2].offset, 11u);
    ASSERT_EQ(packed.image.size(), 14u);
    EXPECT_EQ(packed.image[0], uint8_t('f' ^ 0xD4));
    EXPECT_EQ(packed.image[3], uint8_t('s' ^ 0xA1));
    EXPECT_EQ(packed.image[13], uint8_t('z')); // the tail stays plain

    ASSERT_TRUE(WriteArchiveFile(folder.string(), packed, error)) << error;
    std::vector<ArchiveEntryRow> rows = DirectoryRows(packed);
    CDataArchive archive({packed.fileName.c_str(), packed.key, rows.data()});
    EXPECT_EQ(Text(archive.GetEntry("model/ending/endRoll.hgm")), "first entry");
    EXPECT_EQ(Text(archive.GetEntry("model/ending/sub.name.tga")), "xyz");
    ArchiveEntry empty = archive.GetEntry("smoke.hgm");
    EXPECT_NE(empty.data, nullptr);
    EXPECT_EQ(empty.size, 0u);
}

TEST_F(Packer, RefusesDuplicateAndEmptyKeys) {
    PackedArchive packed;
    std::string error;
    EXPECT_FALSE(
        PackArchive("model/model00.bin", 1, {{"a/tex.tga", Bytes("1")}, {"b/TEX.png", Bytes("2")}}, packed, error));
    EXPECT_NE(error.find("TEX"), std::string::npos);
    EXPECT_FALSE(PackArchive("model/model00.bin", 1, {{"a/.tga", Bytes("1")}}, packed, error));
}

TEST(ArchiveKeys, RepeatableDistinctAndNeverZero) {
    std::set<uint32_t> keys;
    for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot) {
        uint32_t key = ChooseArchiveKey(ArchiveFileName(slot));
        EXPECT_NE(key, 0u);
        EXPECT_EQ(key, ChooseArchiveKey(ArchiveFileName(slot)));
        keys.insert(key);
    }
    EXPECT_EQ(keys.size(), size_t(ARCHIVE_SLOT_COUNT));
}

TEST(DirectorySource, EverySlotWithEscapedKeys) {
    PackedArchive a;
    std::string error;
    ASSERT_TRUE(PackArchive("sound/sound01.bin", 0x01020304u,
                            {{"q\"?\x82\xa0"
                              "1.wav",
                              Bytes("x")}},
                            a, error));
    std::string source = DirectorySource({a});
    EXPECT_NE(source.find("{0u, 1u, \"Q\\\"\\077\\202\\2401\"}"), std::string::npos) << source;
    EXPECT_NE(source.find("0x01020304u"), std::string::npos);
    EXPECT_NE(source.find("DIRECTORY_16,"), std::string::npos);
    size_t nulls = 0;
    for (size_t at = source.find("    nullptr,"); at != std::string::npos; at = source.find("    nullptr,", at + 1))
        ++nulls;
    EXPECT_EQ(nulls, size_t(ARCHIVE_SLOT_COUNT - 1));
}

int g_transforms = 0;

TEST_F(Packer, ManifestToArchivesAndAModelLoadedThroughTheDirectory) {
    TransformRecord t;
    t.name = "endRollRoot";
    CChunkWriter writer;
    writer.Write(t);
    writer.Write(t);
    WriteFile("endRoll.hgm", writer.GetBytes());
    WriteFile("mask.bmp", Bytes("BM-mask"));
    std::ofstream(folder / "content.manifest")
        << "# content\n\n"
        << "model/model03.bin model/ending/endRoll.hgm endRoll.hgm\n"
        << "clipper/clipper00.bin clipper/clipper_640_640.bmp " << (folder / "mask.bmp").string() << "\n";
    ArchiveInputs inputs = EmptyArchiveInputs();
    std::string error;
    ASSERT_TRUE(ReadManifest((folder / "content.manifest").string(), inputs, error)) << error;
    AddPlaceholderEntries(inputs);
    std::vector<PackedArchive> packed;
    std::string source = (folder / "gen" / "ArchiveTable.generated.cpp").string();
    ASSERT_TRUE(PackAllArchives(inputs, (folder / "data").string(), source, error, &packed)) << error;
    ASSERT_EQ(packed.size(), size_t(ARCHIVE_SLOT_COUNT));
    EXPECT_TRUE(std::filesystem::exists(source));
    for (int slot = 0; slot < ARCHIVE_SLOT_COUNT; ++slot)
        EXPECT_TRUE(std::filesystem::exists(folder / "data" / ArchiveFileName(slot))) << slot;

    SetDataFolder((folder / "data").string());
    const PackedArchive& models = packed[size_t(ArchiveSlot(AK_MODEL, 3))];
    std::vector<ArchiveEntryRow> rows = DirectoryRows(models);
    CDataArchive archive({models.fileName.c_str(), models.key, rows.data()});
    // Archives with content get no placeholder; the others get theirs.
    EXPECT_EQ(archive.GetEntry("placeholder.txt").data, nullptr);
    const PackedArchive& empty = packed[size_t(ArchiveSlot(AK_MODEL, 0))];
    std::vector<ArchiveEntryRow> emptyRows = DirectoryRows(empty);
    CDataArchive emptyArchive({empty.fileName.c_str(), empty.key, emptyRows.data()});
    EXPECT_EQ(Text(emptyArchive.GetEntry("placeholder.txt")), "placeholder entry of model/model00.bin\n");
    ClearChunkHandlers();
    SetChunkHandler([](const TransformRecord&) { ++g_transforms; });
    CResourceManager registry;
    g_transforms = 0;
    EXPECT_EQ(LoadModelFromArchive(&registry, &archive, "model/ending/endRoll.hgm").accepted, 2);
    EXPECT_EQ(g_transforms, 2);
    ClearChunkHandlers();

    const PackedArchive& masks = packed[size_t(ArchiveSlot(AK_CLIPPER, 0))];
    std::vector<ArchiveEntryRow> maskRows = DirectoryRows(masks);
    CDataArchive clipper({masks.fileName.c_str(), masks.key, maskRows.data()});
    EXPECT_EQ(Text(clipper.GetEntry("clipper/clipper_640_640.bmp")), "BM-mask");
}

TEST_F(Packer, ManifestErrorsNameTheLine) {
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"model/model09.bin a.hgm a.hgm", "no archive"},
        {"model/model00.bin a.hgm", "expected"},
        {"model/model00.bin a.hgm a.hgm extra", "expected"},
        {"model/model00.bin a.hgm missing.hgm", "cannot read"},
    };
    WriteFile("a.hgm", Bytes("a"));
    for (const Case& c : cases) {
        std::ofstream(folder / "bad.manifest") << "model/model00.bin b.hgm a.hgm\n" << c.line << "\n";
        ArchiveInputs inputs = EmptyArchiveInputs();
        std::string error;
        EXPECT_FALSE(ReadManifest((folder / "bad.manifest").string(), inputs, error)) << c.line;
        EXPECT_NE(error.find(":2: "), std::string::npos) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
    ArchiveInputs inputs = EmptyArchiveInputs();
    std::string error;
    EXPECT_FALSE(ReadManifest((folder / "none.manifest").string(), inputs, error));
}

} // namespace
