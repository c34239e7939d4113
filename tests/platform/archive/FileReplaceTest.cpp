#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/archive/FileReplace.h"

namespace {

const char* const TARGET = "file_replace_test.bin";

void WriteRaw(const char* path, const std::string& bytes) {
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string ReadRaw(const char* path) {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, 1 << 20, bytes) != FR_OK)
        return "<unreadable>";
    return std::string(bytes.begin(), bytes.end());
}

bool Exists(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

class FileReplace : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        std::remove(TARGET);
        std::remove((std::string(TARGET) + ".tmp").c_str());
    }
};

} // namespace

TEST_F(FileReplace, CommitReplacesTheOldFile) {
    WriteRaw(TARGET, "old contents");
    CReplacingFileWriter writer(TARGET);
    ASSERT_TRUE(writer.Open());
    EXPECT_TRUE(writer.Write("new", 3));
    // Until the commit the old file is what a reader sees.
    EXPECT_EQ(ReadRaw(TARGET), "old contents");
    EXPECT_TRUE(writer.Commit());
    EXPECT_EQ(ReadRaw(TARGET), "new");
    EXPECT_FALSE(Exists(writer.GetTemporaryPath().c_str()));
}

TEST_F(FileReplace, WriterDroppedBeforeCommitLeavesOldFile) {
    WriteRaw(TARGET, "old contents");
    std::string temporary;
    {
        CReplacingFileWriter writer(TARGET);
        ASSERT_TRUE(writer.Open());
        writer.Write("half", 4);
        temporary = writer.GetTemporaryPath();
        EXPECT_TRUE(Exists(temporary.c_str()));
    }
    EXPECT_EQ(ReadRaw(TARGET), "old contents");
    EXPECT_FALSE(Exists(temporary.c_str()));
}

TEST_F(FileReplace, CommitCreatesAMissingTarget) {
    CReplacingFileWriter writer(TARGET);
    ASSERT_TRUE(writer.Open());
    EXPECT_TRUE(writer.Commit());
    EXPECT_EQ(ReadRaw(TARGET), "");
}

TEST_F(FileReplace, UnwritableFolderFailsAndTouchesNothing) {
    CReplacingFileWriter writer("no_such_folder/x.bin");
    EXPECT_FALSE(writer.Open());
    EXPECT_FALSE(writer.Write("x", 1));
    EXPECT_FALSE(writer.Commit());
}

TEST_F(FileReplace, WholeFileReadIsBounded) {
    std::vector<uint8_t> bytes = {1};
    EXPECT_EQ(ReadWholeFile(TARGET, 100, bytes), FR_MISSING);
    EXPECT_TRUE(bytes.empty());

    WriteRaw(TARGET, std::string(10000, 'x'));
    EXPECT_EQ(ReadWholeFile(TARGET, 9999, bytes), FR_TOO_LARGE);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadWholeFile(TARGET, 10000, bytes), FR_OK);
    EXPECT_EQ(bytes.size(), 10000u);
}
