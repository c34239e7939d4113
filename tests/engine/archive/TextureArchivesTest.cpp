#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/engine/archive/ArchiveFixture.h"
#include "engine/archive/TextureArchives.h"
#include "engine/archive/TextureLists.h"

namespace {

TEST(NormaliseTextureName, CutsExtensionJoinsLastDotAndDropsFolders) {
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"model/vesko/sub.name.tga", "SUB_NAME"},
        {"whiteTex.TGA", "WHITETEX"},
        {"model/vesko/vesko_face.3.tga", "VESKO_FACE_3"},
        {"model\\common/x\\room_books.png", "ROOM_BOOKS"},
        {"a.b.c.tga", "A.B_C"}, // only the last remaining '.' becomes '_'
        {"folder.d/file", "FOLDER"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string name;
        EXPECT_TRUE(NormaliseTextureName(c.path, name)) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
    }
}

TEST(NormaliseTextureName, RefusesPathsThatDoNotFitTheBuffer) {
    std::string name = "kept";
    EXPECT_TRUE(NormaliseTextureName(std::string(239, 'a'), name));
    EXPECT_EQ(name.size(), 239u);
    EXPECT_FALSE(NormaliseTextureName(std::string(240, 'a'), name));
    EXPECT_FALSE(NormaliseTextureName("model/" + std::string(300, 'a') + "/whiteTex.tga", name));
}

TEST(TextureLists, SizesAndNamesAreDisjoint) {
    const int sizes[TEXTURE_LIST_COUNT] = {33, 124, 2, 9, 84};
    std::set<std::string> all;
    for (int list = 0; list < TEXTURE_LIST_COUNT; ++list) {
        EXPECT_EQ(TextureListSize(list), sizes[list]);
        for (int i = 0; i < TextureListSize(list); ++i)
            all.insert(TextureListName(list, i));
    }
    EXPECT_EQ(all.size(), 252u);
    EXPECT_EQ(TextureListName(5, 0), nullptr);
    EXPECT_EQ(TextureListName(0, 33), nullptr);
    EXPECT_EQ(TextureListName(-1, 0), nullptr);
    EXPECT_EQ(FindTextureList("WHITETEX"), 0);
    EXPECT_EQ(FindTextureList("TV_ITEM95_ETONABRACELET2"), 1);
    EXPECT_EQ(FindTextureList("SC_MOZI"), 2);
    EXPECT_EQ(FindTextureList("END_STAFF2"), 3);
    EXPECT_EQ(FindTextureList("PAJAMAORANGE"), 4);
    EXPECT_EQ(FindTextureList("whitetex"), -1);
}

using TextureArchiveTest = DataFolderTest;

TEST_F(TextureArchiveTest, ListedNamesFindLooseFilesAndUnlistedNamesNothing) {
    WriteText("model/common/whiteTex.TGA", "WHITE");
    WriteText("model/common/notListed.tga", "NOPE");
    WriteText("model/vesko/vesko_face.3.tga", "FACE3");
    EXPECT_EQ(GetTextureEntry("model/common/whiteTex.TGA").data, nullptr); // archives closed
    OpenTextureArchives();
    for (int i = 0; i < TEXTURE_LIST_COUNT; ++i)
        EXPECT_NE(GetTextureArchive(i), nullptr);
    ArchiveEntry white = GetTextureEntry("model/common/whiteTex.TGA");
    EXPECT_EQ(Text(white.data, white.size), "WHITE");
    ArchiveEntry face = GetTextureEntry("model/vesko/vesko_face.3.tga");
    EXPECT_EQ(Text(face.data, face.size), "FACE3");
    EXPECT_EQ(GetTextureEntry("model/common/notListed.tga").data, nullptr);
    EXPECT_EQ(GetTextureEntry("model/" + std::string(250, 'a') + "/whiteTex.TGA").data, nullptr);
    OpenTextureArchives(); // again: the first five are closed, not leaked
    CloseTextureArchives();
    for (int i = 0; i < TEXTURE_LIST_COUNT; ++i)
        EXPECT_EQ(GetTextureArchive(i), nullptr);
    EXPECT_EQ(GetTextureArchive(-1), nullptr);
    EXPECT_EQ(GetTextureArchive(5), nullptr);
    EXPECT_EQ(GetTextureEntry("model/common/whiteTex.TGA").data, nullptr);
    CloseTextureArchives();
}

} // namespace
