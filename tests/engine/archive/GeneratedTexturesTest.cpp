#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataFolder.h"
#include "engine/archive/TextureArchives.h"
#include "platform/image/ImageDecoders.h"

namespace {

// The engine's own textures that the build generated, found by the names the
// renderer and the console ask for and decoded by the texture loader's decoders.
TEST(GeneratedTextures, WhiteTextureAndConsoleFontDecode) {
    if (!GENERATED_ARCHIVE_DIRECTORIES[ArchiveSlot(AK_TEXTURE, 0)])
        GTEST_SKIP() << "this build has no generated archive table";
    struct Restore {
        std::string folder = GetDataFolder();
        ~Restore() {
            CloseTextureArchives();
            SetDataFolder(folder);
        }
    } restore;
    SetDataFolder(std::filesystem::current_path().string());
    OpenTextureArchives();

    ArchiveEntry white = GetTextureEntry("model/common/whiteTex.TGA");
    ASSERT_NE(white.data, nullptr);
    CImage image;
    ImageFileFormat format = IFF_UNKNOWN;
    ASSERT_TRUE(DecodeImage(white.data, white.size, image, &format));
    EXPECT_EQ(format, IFF_TGA);
    EXPECT_FALSE(image.hasAlpha) << "an alpha channel would make every untextured shader translucent";
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            ASSERT_EQ(image.Texel(x, y), 0xffffffffu);

    ArchiveEntry font = GetTextureEntry("model/common/fontTable.TGA");
    ASSERT_NE(font.data, nullptr);
    ASSERT_TRUE(DecodeImage(font.data, font.size, image, &format));
    EXPECT_EQ(format, IFF_TGA);
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(image.height, 256);
    EXPECT_FALSE(image.hasAlpha);
    // 'A' (code 65: column 1, row 4 of the 16 × 16 cells) has ink at the top
    // of its cell, the space (code 32) none, and the first row of cells
    // (control codes) is black.
    auto inked = [&](int code) {
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                n += image.Texel((code % 16) * 16 + x, (code / 16) * 16 + y) == 0xffffffffu;
        return n;
    };
    EXPECT_GT(inked('A'), 20);
    EXPECT_EQ(inked(' '), 0);
    EXPECT_EQ(inked(1), 0);
    EXPECT_EQ(image.Texel(65 % 16 * 16 + 3 + 2, 65 / 16 * 16), 0xffffffffu) << "the apex of the A, top row first";
}

} // namespace
