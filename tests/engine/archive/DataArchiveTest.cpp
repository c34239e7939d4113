#include <gtest/gtest.h>

#include <vector>

#include "tests/engine/archive/ArchiveFixture.h"
#include "engine/archive/DataArchive.h"

namespace {

using DataArchiveTest = DataFolderTest;

TEST(DescrambleArchive, XorsCompleteWordsAndLeavesTheTail) {
    std::vector<uint8_t> bytes = {0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x11, 0x22};
    DescrambleArchive(bytes.data(), bytes.size(), 0x04030201u);
    std::vector<uint8_t> expected = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFD, 0xFC, 0xFB, 0x11, 0x22};
    EXPECT_EQ(bytes, expected);
}

TEST(DescrambleArchive, UnalignedBuffersOfEverySizeMatchTheByteRule) {
    const uint32_t key = 0xA1B2C3D4u;
    const uint8_t k[4] = {0xD4, 0xC3, 0xB2, 0xA1};
    for (size_t offset = 0; offset < 4; ++offset)
        for (size_t size = 0; size <= 13; ++size) {
            std::vector<uint8_t> buffer(offset + size);
            for (size_t i = 0; i < buffer.size(); ++i)
                buffer[i] = uint8_t(i * 37 + 11);
            std::vector<uint8_t> expected(buffer.begin() + offset, buffer.end());
            for (size_t i = 0; i < size / 4 * 4; ++i)
                expected[i] ^= k[i % 4];
            DescrambleArchive(buffer.data() + offset, size, key);
            EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + offset, buffer.end()), expected)
                << "offset " << offset << " size " << size;
        }
}

TEST_F(DataArchiveTest, TenByteArchiveDescramblesTwoWordsAndServesRows) {
    // Entries "abcdef" and "ghij", scrambled with key 0x01020304 by hand:
    // the last two bytes of the file stay as stored.
    const uint32_t key = 0x01020304u;
    std::vector<uint8_t> plain = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j'};
    std::vector<uint8_t> stored = plain;
    const uint8_t k[4] = {0x04, 0x03, 0x02, 0x01};
    for (int i = 0; i < 8; ++i)
        stored[i] ^= k[i % 4];
    WriteFile("a/ten.bin", stored);
    const ArchiveEntryRow rows[] = {{0, 6, "FIRST"}, {6, 4, "SECOND"}, {0, 0, nullptr}};
    CDataArchive archive({"a/ten.bin", key, rows});
    EXPECT_EQ(archive.GetBufferSize(), 10u);
    ArchiveEntry first = archive.GetEntry("models/first.hgm");
    EXPECT_EQ(Text(first.data, first.size), "abcdef");
    ArchiveEntry second = archive.GetEntry("Second.x");
    EXPECT_EQ(Text(second.data, second.size), "ghij");
    ArchiveEntry none = archive.GetEntry("third.hgm");
    EXPECT_EQ(none.data, nullptr);
    EXPECT_EQ(none.size, 0u);
}

TEST_F(DataArchiveTest, RowsPastTheBytesReadAreNotServed) {
    WriteText("short.bin", "0123456789");
    const ArchiveEntryRow rows[] = {
        {0, 10, "WHOLE"},         {8, 3, "OVER"},        {11, 0, "BEYOND"},
        {4, 0xFFFFFFFFu, "WRAP"}, {10, 0, "EMPTYATEND"}, {0, 0, nullptr},
    };
    CDataArchive archive({"short.bin", 0, rows});
    EXPECT_EQ(archive.GetEntryCount(), 2u);
    EXPECT_EQ(Text(archive.GetEntry("whole").data, 10), "0123456789");
    EXPECT_EQ(archive.GetEntry("over").data, nullptr);
    EXPECT_EQ(archive.GetEntry("beyond").data, nullptr);
    EXPECT_EQ(archive.GetEntry("wrap").data, nullptr);
    ArchiveEntry empty = archive.GetEntry("emptyAtEnd");
    EXPECT_NE(empty.data, nullptr); // found, of no bytes
    EXPECT_EQ(empty.size, 0u);
}

TEST_F(DataArchiveTest, MissingArchiveFindsOnlyLooseFiles) {
    const ArchiveEntryRow rows[] = {{0, 4, "ENTRY"}, {0, 0, nullptr}};
    CDataArchive archive({"nowhere/missing.bin", 0x12345678u, rows});
    EXPECT_EQ(archive.GetBufferSize(), 0u);
    EXPECT_EQ(archive.GetEntryCount(), 0u);
    EXPECT_EQ(archive.GetEntry("entry.hgm").data, nullptr);
    WriteText("loose/other.hgm", "LOOSE");
    ArchiveEntry loose = archive.GetEntry("loose/other.hgm");
    EXPECT_EQ(Text(loose.data, loose.size), "LOOSE");
    CDataArchive noDirectory({"nowhere/missing.bin", 0, nullptr});
    EXPECT_EQ(noDirectory.GetEntry("x").data, nullptr);
}

TEST_F(DataArchiveTest, LooseFileWinsAndIsReadOnce) {
    WriteText("arc.bin", "ARCHIVED");
    WriteText("model/thing.hgm", "LOOSE");
    const ArchiveEntryRow rows[] = {{0, 8, "THING"}, {0, 0, nullptr}};
    CDataArchive archive({"arc.bin", 0, rows});
    ArchiveEntry first = archive.GetEntry("model/thing.hgm");
    EXPECT_EQ(Text(first.data, first.size), "LOOSE");
    // Changed on disk afterwards: the first reading stays.
    WriteText("model/thing.hgm", "CHANGED!");
    ArchiveEntry again = archive.GetEntry("model/thing.hgm");
    EXPECT_EQ(again.data, first.data);
    EXPECT_EQ(Text(again.data, again.size), "LOOSE");
}

TEST_F(DataArchiveTest, AbsentLooseFileIsRememberedAndKeysShareOneEntry) {
    WriteText("arc.bin", "ARCHIVED");
    const ArchiveEntryRow rows[] = {{0, 8, "TEX"}, {0, 0, nullptr}};
    CDataArchive archive({"arc.bin", 0, rows});
    EXPECT_EQ(Text(archive.GetEntry("x/tex.tga").data, 8), "ARCHIVED");
    // Created later, and at another path with the same key: both are answered
    // from the first lookup's result.
    WriteText("x/tex.tga", "LATE");
    WriteText("y/tex.png", "OTHER");
    EXPECT_EQ(Text(archive.GetEntry("x/tex.tga").data, 8), "ARCHIVED");
    EXPECT_EQ(Text(archive.GetEntry("y/tex.png").data, 8), "ARCHIVED");
    // A new archive asks the disk again.
    CDataArchive fresh({"arc.bin", 0, rows});
    ArchiveEntry late = fresh.GetEntry("x/tex.tga");
    EXPECT_EQ(Text(late.data, late.size), "LATE");
    ArchiveEntry shared = fresh.GetEntry("y/tex.png");
    EXPECT_EQ(shared.data, late.data);
}

TEST_F(DataArchiveTest, EmptyLooseFileIsFoundAndAFolderIsNoFile) {
    WriteText("arc.bin", "ARCHIVEDARCHIVED");
    const ArchiveEntryRow rows[] = {{0, 8, "EMPTY"}, {8, 8, "FOLDER"}, {0, 0, nullptr}};
    WriteText("loose/empty.tga", "");
    std::filesystem::create_directories(folder / "loose" / "folder.tga");
    CDataArchive archive({"arc.bin", 0, rows});
    ArchiveEntry empty = archive.GetEntry("loose/empty.tga");
    EXPECT_NE(empty.data, nullptr);
    EXPECT_EQ(empty.size, 0u);
    ArchiveEntry notAFile = archive.GetEntry("loose/folder.tga");
    EXPECT_EQ(Text(notAFile.data, notAFile.size), "ARCHIVED");
    std::vector<uint8_t> bytes = {1, 2, 3};
    EXPECT_FALSE(ReadWholeFile((folder / "loose" / "folder.tga").string(), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadWholeFile("", bytes));
}

TEST_F(DataArchiveTest, EmptyPathFindsNothing) {
    WriteText("arc.bin", "ARCHIVED");
    const ArchiveEntryRow rows[] = {{0, 8, ""}, {0, 0, nullptr}};
    CDataArchive archive({"arc.bin", 0, rows});
    ArchiveEntry entry = archive.GetEntry("");
    EXPECT_EQ(entry.data, nullptr);
    EXPECT_EQ(entry.size, 0u);
}

TEST_F(DataArchiveTest, PathsAreTakenFromTheDataFolderNotTheCurrentDirectory) {
    WriteText("model/model00.bin", "INFOLDER");
    const ArchiveEntryRow rows[] = {{0, 8, "A"}, {0, 0, nullptr}};
    CDataArchive archive({"model/model00.bin", 0, rows});
    EXPECT_EQ(Text(archive.GetEntry("a").data, 8), "INFOLDER");
    EXPECT_EQ(DataFilePath("model/x.bin"), folder.string() + "/model/x.bin");
    EXPECT_EQ(FolderOfPath("C:\\Games\\deskmate.exe"), "C:\\Games");
    EXPECT_EQ(FolderOfPath("deskmate.exe"), "");
}

} // namespace
