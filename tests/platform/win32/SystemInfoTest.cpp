#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/archive/FileReplace.h"
#include "platform/win32/SystemInfo.h"

TEST(SystemInfo, ScreenAndPlatform) {
    EXPECT_GT(GetPrimaryScreenWidth(), 0);
    EXPECT_GT(GetPrimaryScreenHeight(), 0);
    EXPECT_FALSE(IsWindows9xPlatform());
}

// The target is held open by a reader while it is replaced: the replace either
// goes through or fails whole, and the temporary never stays behind.
TEST(SystemInfo, ReplaceWhileTargetIsOpen) {
    const char* target = "replace_open_test.bin";
    FILE* old = std::fopen(target, "wb");
    ASSERT_NE(old, nullptr);
    std::fputs("old", old);
    std::fclose(old);

    FILE* holder = std::fopen(target, "rb");
    ASSERT_NE(holder, nullptr);
    CReplacingFileWriter writer(target);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("new!", 4));
    const bool replaced = writer.Commit();
    std::fclose(holder);

    std::vector<uint8_t> bytes;
    ASSERT_EQ(ReadWholeFile(target, 100, bytes), FR_OK);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), replaced ? "new!" : "old");
    EXPECT_EQ(ReadWholeFile(writer.GetTemporaryPath().c_str(), 100, bytes), FR_MISSING);
    std::remove(target);
}
