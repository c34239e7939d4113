#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/archive/DataFolder.h"

// Runs a test inside a fresh empty folder, which is also the data folder, so
// that files with fixed names ("tavelune.cfg", "tavelune.dat") never meet the
// program's own.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        m_previous = fs::current_path();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder =
            fs::temp_directory_path() / (std::string("deskmate_") + info->test_suite_name() + "_" + info->name());
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
        fs::create_directories(m_folder);
        fs::current_path(m_folder);
        m_previousDataFolder = GetDataFolder();
        SetDataFolder(m_folder.string());
    }
    void TearDown() override {
        std::error_code ignored;
        SetDataFolder(m_previousDataFolder);
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    const std::filesystem::path& GetFolder() const { return m_folder; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
    std::string m_previousDataFolder;
};

// A whole file's bytes, or "<missing>" when it cannot be opened.
inline std::string ReadFileBytes(const char* path) {
    std::string text;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return "<missing>";
    int c;
    while ((c = std::getc(file)) != EOF)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}
