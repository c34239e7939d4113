#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "engine/archive/ArchiveKey.h"
#include "engine/archive/ArchiveTable.h"
#include "engine/archive/DataArchive.h"
#include "tests/engine/archive/ArchiveFixture.h"
#include "engine/bitmap/BmpImage.h"
#include "tools/media/BitmapFont.h"
#include "tools/media/ImageWriters.h"
#include "tools/media/MediaContent.h"
#include "tools/packer/ArchivePacker.h"
#include "tools/packer/Manifest.h"
#include "tests/tools/media/TestTga.h"

namespace {

TEST(MediaContent, WhiteTextureIsOpaqueWhite) {
    std::vector<uint8_t> bytes = EncodeTga(PaintWhiteTexture(), false);
    TestTga image;
    ASSERT_TRUE(ReadTestTga(bytes, image));
    EXPECT_EQ(image.bits, 24) << "an alpha channel would make every untextured shader translucent";
    EXPECT_GT(image.width * image.height, 0);
    for (const Rgba& p : image.pixels)
        ASSERT_EQ(p, RGBA_WHITE);
}

// Each character's 16 × 16 cell holds its doubled glyph, white on black,
// centred across the cell; every other cell is black.
TEST(MediaContent, FontTableHoldsEveryPrintableCharacterInItsCell) {
    std::vector<uint8_t> bytes = EncodeTga(PaintFontTable(), false);
    TestTga table;
    ASSERT_TRUE(ReadTestTga(bytes, table));
    ASSERT_EQ(table.width, 256);
    ASSERT_EQ(table.height, 256);
    EXPECT_EQ(table.bits, 24);
    for (int code = 0; code < 256; ++code) {
        const int cx = (code % 16) * 16, cy = (code / 16) * 16;
        const bool printable = code >= ' ' && code <= '~';
        std::vector<uint8_t> glyph = GlyphMask(char(code), 2, true);
        int inked = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                Rgba texel = table.At(cx + x, cy + y);
                bool white = texel == RGBA_WHITE;
                ASSERT_TRUE(white || texel == RGBA_BLACK) << code;
                bool expected = printable && x >= 3 && x < 13 && glyph[size_t(y) * 10 + size_t(x - 3)];
                ASSERT_EQ(white, expected) << "code " << code << " at " << x << "," << y;
                inked += white;
            }
        EXPECT_EQ(inked > 0, printable && code != ' ') << code;
    }
}

struct MaskFacts {
    int size;
    int width, height, bits;
    bool onlyKeyOrWindow = true;
    bool singleRunPerRow = true;
    bool symmetric = true;
    bool cameraZoneInside = true;
    int minX, maxX, minY, maxY;
};

MaskFacts Inspect(int size, const std::vector<uint8_t>& bytes) {
    MaskFacts f{};
    f.size = size;
    f.minX = f.minY = size;
    f.maxX = f.maxY = -1;
    f.onlyKeyOrWindow = f.singleRunPerRow = f.symmetric = f.cameraZoneInside = true;
    BmpView view;
    if (ParseBmp(bytes.data(), bytes.size(), true, view) != BMP_OK)
        return f;
    f.width = view.width;
    f.height = view.height;
    f.bits = view.bitCount;
    if (view.bitCount != 24)
        return f;
    auto isKey = [&](int x, int y) {
        const uint8_t* p = view.Row(view.height - 1 - y) + x * 3;
        return p[0] == 0 && p[1] == 255 && p[2] == 0;
    };
    auto nearKey = [&](int x, int y) {
        const uint8_t* p = view.Row(view.height - 1 - y) + x * 3;
        return p[1] > 200 && p[0] < 60 && p[2] < 60;
    };
    const float c = size * 0.5f, camera = size * 0.35f;
    for (int y = 0; y < view.height; ++y) {
        int runs = 0;
        for (int x = 0; x < view.width; ++x) {
            bool key = isKey(x, y);
            if (!key && nearKey(x, y))
                f.onlyKeyOrWindow = false;
            if (key != isKey(view.width - 1 - x, y) || key != isKey(x, view.height - 1 - y))
                f.symmetric = false;
            if (!key) {
                runs += x == 0 || isKey(x - 1, y);
                f.minX = std::min(f.minX, x), f.maxX = std::max(f.maxX, x);
                f.minY = std::min(f.minY, y), f.maxY = std::max(f.maxY, y);
            } else if (std::hypot(x + 0.5f - c, y + 0.5f - c) <= camera) {
                f.cameraZoneInside = false;
            }
        }
        if (runs > 1)
            f.singleRunPerRow = false;
    }
    return f;
}

// The masks: 24-bit BMPs of their size, green outside, a single rounded
// shape reaching about 0.48 of the size from the centre, the camera circle
// of 0.35 inside it, and no pixel half way between key and window.
TEST(MediaContent, WindowMasksAreCleanRoundedShapesOnTheGreenKey) {
    for (int size : WINDOW_MASK_SIZES) {
        SCOPED_TRACE(size);
        MaskFacts f = Inspect(size, EncodeBmp24(PaintWindowMask(size)));
        EXPECT_EQ(f.width, size);
        EXPECT_EQ(f.height, size);
        EXPECT_EQ(f.bits, 24);
        EXPECT_TRUE(f.onlyKeyOrWindow);
        EXPECT_TRUE(f.singleRunPerRow) << "no holes or separate pieces";
        EXPECT_TRUE(f.symmetric);
        EXPECT_TRUE(f.cameraZoneInside);
        const int margin = int(std::lround(size * 0.02));
        EXPECT_NEAR(f.minX, margin, 1);
        EXPECT_NEAR(f.maxX, size - 1 - margin, 1);
        EXPECT_NEAR(f.minY, margin, 1);
        EXPECT_NEAR(f.maxY, size - 1 - margin, 1);
        CCanvas mask = PaintWindowMask(size);
        EXPECT_EQ(mask.Get(0, 0), MASK_KEY) << "corners are outside";
        EXPECT_EQ(mask.Get(int(size * 0.04), int(size * 0.04)), MASK_KEY) << "rounded, not square";
        EXPECT_NE(mask.Get(size / 2, int(size * 0.03)), MASK_KEY);
    }
}

// The builder's files, packed through its manifest, are served by the
// engine's archive under the keys the program asks for.
using MediaPacking = DataFolderTest;

TEST_F(MediaPacking, ManifestPacksIntoTheTextureAndClipperArchives) {
    std::string content = (folder / "content").string();
    std::string error;
    ASSERT_TRUE(BuildMediaContent(content, error)) << error;
    ArchiveInputs inputs = EmptyArchiveInputs();
    ASSERT_TRUE(ReadManifest(content + "/media.manifest", inputs, error)) << error;
    std::vector<PackedArchive> packed;
    ASSERT_TRUE(PackAllArchives(inputs, folder.string(), (folder / "table.cpp").string(), error, &packed)) << error;
    struct Expect {
        int kind;
        const char* path;
        const char* file;
    };
    const Expect expects[] = {
        {AK_TEXTURE, "model/common/whiteTex.TGA", "whiteTex.TGA"},
        {AK_TEXTURE, "fontTable.TGA", "fontTable.TGA"},
        {AK_CLIPPER, "clipper/clipper_640_640.bmp", "clipper_640_640.bmp"},
        {AK_CLIPPER, "clipper/clipper_800_800.bmp", "clipper_800_800.bmp"},
        {AK_CLIPPER, "clipper/clipper_1200_1200.bmp", "clipper_1200_1200.bmp"},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.path);
        const PackedArchive& archive = packed[size_t(ArchiveSlot(e.kind, 0))];
        std::vector<ArchiveEntryRow> rows = DirectoryRows(archive);
        CDataArchive reader({archive.fileName.c_str(), archive.key, rows.data()});
        ArchiveEntry entry = reader.GetEntry(e.path);
        std::vector<uint8_t> expected;
        ASSERT_TRUE(ReadWholeFile(content + "/" + e.file, expected));
        ASSERT_NE(entry.data, nullptr);
        EXPECT_EQ(std::vector<uint8_t>(entry.data, entry.data + entry.size), expected);
    }
    EXPECT_EQ(packed[size_t(ArchiveSlot(AK_CLIPPER, 0))].rows.size(), 3u);
    EXPECT_EQ(MakeArchiveKey("clipper/clipper_800_800.bmp"), "CLIPPER_800_800");
}

TEST_F(MediaPacking, BuildsRepeatByteForByte) {
    std::string error;
    std::string a = (folder / "a").string(), b = (folder / "b").string();
    ASSERT_TRUE(BuildMediaContent(a, error)) << error;
    ASSERT_TRUE(BuildMediaContent(b, error)) << error;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(a)) {
        std::vector<uint8_t> first, second;
        ASSERT_TRUE(ReadWholeFile(entry.path().string(), first));
        ASSERT_TRUE(ReadWholeFile(b + "/" + entry.path().filename().string(), second));
        EXPECT_EQ(first, second) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 6);
    EXPECT_FALSE(BuildMediaContent("/proc/no-such-folder/media", error));
    EXPECT_FALSE(error.empty());
}

} // namespace
