#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/archive/DataFolder.h"

// A private data folder for one test, set as the data folder while it runs.
struct DataFolderTest : ::testing::Test {
    void SetUp() override {
        saved = GetDataFolder();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("deskmate-archive-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        SetDataFolder(folder.string());
    }
    void TearDown() override {
        SetDataFolder(saved);
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    void WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) {
        std::filesystem::path path = folder / relative;
        std::filesystem::create_directories(path.parent_path());
        FILE* f = std::fopen(path.string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    void WriteText(const std::string& relative, const std::string& text) {
        WriteFile(relative, std::vector<uint8_t>(text.begin(), text.end()));
    }
    void Remove(const std::string& relative) { std::filesystem::remove(folder / relative); }

    std::string saved;
    std::filesystem::path folder;
};

inline std::string Text(const uint8_t* data, uint32_t size) {
    return data ? std::string(reinterpret_cast<const char*>(data), size) : std::string("<null>");
}
