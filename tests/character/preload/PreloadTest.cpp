#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "character/preload/Preload.h"
#include "character/preload/PreloadLists.h"
#include "engine/archive/ModelPathPrefix.h"
#include "engine/chunk/ChunkHandlers.h"
#include "engine/resource/ResourceManager.h"
#include "tests/engine/archive/ArchiveFixture.h"

namespace {

int g_loaded = 0;

// One transform chunk: what each file of the lists holds here.
std::vector<uint8_t> OneTransform() {
    std::vector<uint8_t> stream = {4, 0, 0, 0, 52, 0, 0, 0, 'n', 0, 0, 0, 1, 0, 0, 0};
    stream.resize(52, 0);
    return stream;
}

using PreloadTest = DataFolderTest;

// Every listed file is read once, from its own path (loose files stand in
// for the archives' entries), and a file the lists do not name is not.
TEST_F(PreloadTest, ReadsEveryListedFileOnce) {
    for (const char* file : CHARACTER_BODY_MODEL_FILES)
        WriteFile(file, OneTransform());
    for (const char* file : CHARACTER_GOODS_MODEL_FILES)
        WriteFile(file, OneTransform());
    for (const char* set : CHARACTER_ANIMATION_SETS)
        WriteFile(std::string("animation/") + set + ".hga", OneTransform());
    WriteFile("animation/veskoNotInTheTable.hga", OneTransform());
    WriteFile("model/vesko/notInTheTable.hgm", OneTransform());
    ClearChunkHandlers();
    SetChunkHandler([](const TransformRecord&) { ++g_loaded; });
    CResourceManager registry;

    g_loaded = 0;
    int selected = 0;
    EXPECT_TRUE(PreloadCharacterModels(&registry, [&] { ++selected; }));
    EXPECT_EQ(g_loaded, 35);
    EXPECT_EQ(selected, 1);
    // The goods load last, from model group 0.
    EXPECT_STREQ(GetModelPathPrefix(), "model/common/");

    g_loaded = 0;
    EXPECT_TRUE(PreloadCharacterAnimations(&registry));
    EXPECT_EQ(g_loaded, 176);
    ClearChunkHandlers();
}

TEST_F(PreloadTest, MissingFilesLoadNothingAndStillAnswerTrue) {
    ClearChunkHandlers();
    SetChunkHandler([](const TransformRecord&) { ++g_loaded; });
    CResourceManager registry;
    g_loaded = 0;
    EXPECT_TRUE(PreloadCharacterModels(&registry, nullptr));
    EXPECT_TRUE(PreloadCharacterAnimations(&registry));
    EXPECT_EQ(g_loaded, 0);
    ClearChunkHandlers();
}

} // namespace
