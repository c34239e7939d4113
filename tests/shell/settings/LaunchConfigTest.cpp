#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "shell/settings/LaunchConfig.h"
#include "tests/shell/support/ScratchFolder.h"

namespace {

void WriteText(const std::string& text) {
    FILE* file = std::fopen(LAUNCH_CONFIG_FILE_NAME, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

CLaunchConfig Filled(int32_t value) {
    CLaunchConfig config;
    for (int32_t& v : config.values)
        v = value;
    return config;
}

class LaunchConfigFile : public ScratchFolderTest {};

} // namespace

TEST_F(LaunchConfigFile, WritesTheExactFile) {
    CLaunchConfig config;
    const int32_t values[LC_COUNT] = {1, 2, 0, 1, 0, -40, 512, 1, 0, 1, 0};
    for (int i = 0; i < LC_COUNT; ++i)
        config.values[i] = values[i];
    ASSERT_TRUE(SaveLaunchConfig(config));

    // The first comment line in code page 932, byte for byte.
    const unsigned char firstComment[] = {'/',  '/',  ' ',  'S',  'h',  'a',  'd',  'e',  'r',  'M',  'o',  'd',  'e',
                                          '(',  '0',  ':',  0x83, 0x6e, 0x81, 0x5b, 0x83, 0x68, 0x83, 0x45, 0x83, 0x46,
                                          0x83, 0x41, 0x82, 0xaa, 0x97, 0x98, 0x97, 0x70, 0x89, 0xc2, 0x94, 0x5c, 0x82,
                                          0xc5, 0x82, 0xa0, 0x82, 0xea, 0x82, 0xce, 0x97, 0x98, 0x97, 0x70, 0x82, 0xb7,
                                          0x82, 0xe9, ' ',  '1',  ':',  0x8f, 0xed, 0x82, 0xc9, 0x83, 0x5c, 0x83, 0x74,
                                          0x83, 0x67, 0x83, 0x45, 0x83, 0x46, 0x83, 0x41, 0x8e, 0xc0, 0x8d, 0x73, ')'};
    std::string want(reinterpret_cast<const char*>(firstComment), sizeof firstComment);
    want += "\n1\n"
            "// WindowConfig(0:640x640 1:800x800 2:1200x1200)\n2\n"
            "// WindowMode(0:Window&Clip 1:Window 2:Fullscreen)\n0\n"
            "// TopmostMode(0:Not topmost 1:Topmost)\n1\n"
            "// FixMode(0:Not fix 1:Fix)\n0\n"
            "// InitX\n-40\n"
            "// InitY\n512\n"
            "// SoundMode(0:Off 1:On)\n1\n"
            "// CameraMode(0:Manual 1:Auto)\n0\n"
            "// QuillombMode(0:Off 1:On)\n1\n"
            "// ClearMode(0:Not clear data 1:Clear data)\n0\n";
#ifdef _WIN32
    // Text mode: every line ends in CR LF on disk.
    for (size_t at = want.find('\n'); at != std::string::npos; at = want.find('\n', at + 2))
        want.insert(at, 1, '\r');
#endif
    EXPECT_EQ(ReadFileBytes(LAUNCH_CONFIG_FILE_NAME), want);
}

TEST_F(LaunchConfigFile, WrittenFileReadsBack) {
    CLaunchConfig config;
    const int32_t values[LC_COUNT] = {1, 1, 2, 0, 1, 700, 400, 0, 1, 0, 1};
    for (int i = 0; i < LC_COUNT; ++i)
        config.values[i] = values[i];
    ASSERT_TRUE(SaveLaunchConfig(config));
    CLaunchConfig back;
    ASSERT_TRUE(LoadLaunchConfig(back));
    for (int i = 0; i < LC_COUNT; ++i)
        EXPECT_EQ(back.values[i], values[i]) << i;
}

TEST_F(LaunchConfigFile, ReadingRules) {
    struct Case {
        const char* what;
        std::string text;
        int32_t want[LC_COUNT];
    };
    // Starting values are all 9 for InitX/InitY checks and 0 elsewhere.
    const Case cases[] = {
        {"five values, the rest kept", "//a\n1\n//b\n2\n1\n1\n1\n", {1, 2, 1, 1, 1, 9, 9, 0, 0, 0, 0}},
        {"minus sign read, trailing letters skipped",
         "0\n0\n0\n0\n0\n-40\n12abc\n",
         {0, 0, 0, 0, 0, -40, 12, 0, 0, 0, 0}},
        {"a minus sign counts only right before the digits",
         "0\n0\n0\n0\n0\n- 40\nx--7\n",
         {0, 0, 0, 0, 0, 40, -7, 0, 0, 0, 0}},
        {"minus zero is zero", "-0\n", {0, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"lowest InitX that still fits",
         "0\n0\n0\n0\n0\n-2147483648\n-1\n",
         {0, 0, 0, 0, 0, INT32_MIN, -1, 0, 0, 0, 0}},
        {"leading blanks and text before the digits", "  1\n\tx=2\n", {1, 2, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"a twelfth value is ignored", "0\n0\n0\n0\n0\n1\n2\n1\n1\n1\n1\n7\n", {0, 0, 0, 0, 0, 1, 2, 1, 1, 1, 1}},
        {"blank and digitless lines hold no value", "\n\nabc\n1\n", {1, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"only the first number of a line", "1 0 0\n", {1, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"a comment needs both slashes at the start", " //1\n/2\n", {1, 2, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"CR LF line ends", "// x\r\n1\r\n2\r\n", {1, 2, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"no final newline", "0\n0\n0\n0\n0\n123", {0, 0, 0, 0, 0, 123, 9, 0, 0, 0, 0}},
        {"empty file", "", {0, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"a NUL ends the line's search",
         std::string("ab\0"
                     "1\n1\n",
                     7),
         {1, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        // A comment longer than any read buffer stays a comment to its end.
        {"very long comment", "//" + std::string(5000, ' ') + "7\n1\n", {1, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"value after a very long run of blanks", std::string(5000, ' ') + "1\n", {1, 0, 0, 0, 0, 9, 9, 0, 0, 0, 0}},
        {"huge InitX that still fits",
         "0\n0\n0\n0\n0\n2147483647\n0000000000000000000003\n",
         {0, 0, 0, 0, 0, 2147483647, 3, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        WriteText(c.text);
        CLaunchConfig config;
        config.values[LC_INIT_X] = 9;
        config.values[LC_INIT_Y] = 9;
        EXPECT_TRUE(LoadLaunchConfig(config)) << c.what;
        for (int i = 0; i < LC_COUNT; ++i)
            EXPECT_EQ(config.values[i], c.want[i]) << c.what << ", value " << i;
    }
}

TEST_F(LaunchConfigFile, RefusedFilesLeaveTheValues) {
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"WindowConfig 3", "0\n3\n"},
        {"ShaderMode 2", "2\n"},
        {"ShaderMode -1", "-1\n"},
        {"WindowConfig below its range", "0\n-2\n"},
        {"ClearMode 5", "0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n5\n"},
        {"InitX beyond 32 bits", "0\n0\n0\n0\n0\n2147483648\n"},
        {"InitX below 32 bits", "0\n0\n0\n0\n0\n-2147483649\n"},
        {"InitY far beyond 32 bits", "0\n0\n0\n0\n0\n0\n" + std::string(400, '9') + "\n"},
    };
    for (const Case& c : cases) {
        WriteText(c.text);
        CLaunchConfig config = Filled(1);
        EXPECT_FALSE(LoadLaunchConfig(config)) << c.what;
        for (int i = 0; i < LC_COUNT; ++i)
            EXPECT_EQ(config.values[i], 1) << c.what << ", value " << i;
    }
    // A twelfth value out of every range is only counted.
    WriteText("0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n99999999999999\n");
    CLaunchConfig config;
    EXPECT_TRUE(LoadLaunchConfig(config));
}

TEST_F(LaunchConfigFile, FailedRewriteKeepsTheOldFile) {
    WriteText("// old\n1\n");
    // The temporary's place is taken, so the new file cannot be written.
    std::filesystem::create_directory("tavelune.cfg.tmp");
    EXPECT_FALSE(SaveLaunchConfig(Filled(0)));
    EXPECT_EQ(ReadFileBytes(LAUNCH_CONFIG_FILE_NAME), "// old\n1\n");
}

TEST_F(LaunchConfigFile, MissingOrUnwritableFile) {
    CLaunchConfig config = Filled(1);
    EXPECT_FALSE(LoadLaunchConfig(config));
    EXPECT_EQ(config.values[LC_SOUND_MODE], 1);
    config.fileName = "no_such_folder/tavelune.cfg";
    EXPECT_FALSE(SaveLaunchConfig(config));
}
