#include <gtest/gtest.h>

#include <set>
#include <string>

#include "character/preload/PreloadLists.h"
#include "character/proto/ActionPrototypes.h"

namespace {

TEST(PreloadListsTest, ModelListIsThirtyFiveFilesOfTheirGroups) {
    std::set<std::string> files;
    for (const char* file : CHARACTER_BODY_MODEL_FILES) {
        EXPECT_EQ(std::string(file).rfind("model/vesko/", 0), 0u) << file;
        files.insert(file);
    }
    for (const char* file : CHARACTER_GOODS_MODEL_FILES) {
        EXPECT_EQ(std::string(file).rfind("model/common/", 0), 0u) << file;
        files.insert(file);
    }
    EXPECT_EQ(files.size(), 35u);
    EXPECT_TRUE(files.count("model/common/beltVibrator.hgm"));
    EXPECT_TRUE(files.count("model/common/iceCandy.hgm"));
}

// Exactly one file for each set a motion row plays, and nothing else.
TEST(PreloadListsTest, AnimationListIsTheSetsOfTheMotionRows) {
    std::set<std::string> loaded(std::begin(CHARACTER_ANIMATION_SETS), std::end(CHARACTER_ANIMATION_SETS));
    EXPECT_EQ(loaded.size(), 176u);
    std::set<std::string> played;
    for (const ActionPrototypeRow& row : ActionPrototypeTable()) {
        if (row.animationSet) {
            EXPECT_TRUE(played.insert(row.animationSet).second) << row.animationSet << " played twice";
        }
    }
    EXPECT_EQ(loaded, played);
}

} // namespace
