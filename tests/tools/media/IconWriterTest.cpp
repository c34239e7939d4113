#include <gtest/gtest.h>

#include "engine/core/LittleEndian.h"
#include "tools/media/IconWriter.h"

namespace {

uint32_t Word(const std::vector<uint8_t>& b, size_t at) { return ReadLe32(b.data() + at); }

TEST(IconWriter, OneImageWithColourAlphaAndMask) {
    CCanvas c(16, 16, {0, 0, 0, 0});
    c.Set(0, 0, {10, 20, 30, 255}); // top-left opaque
    std::vector<uint8_t> ico = EncodeIco({c});
    const size_t colour = 6 + 16 + 40, mask = colour + 16 * 16 * 4;
    ASSERT_EQ(ico.size(), mask + 16 * 4);
    EXPECT_EQ(ico[2], 1); // an icon
    EXPECT_EQ(ico[4], 1); // one image
    EXPECT_EQ(ico[6], 16);
    EXPECT_EQ(Word(ico, 6 + 8), ico.size() - 22); // bytes of the image
    EXPECT_EQ(Word(ico, 6 + 12), 22u);            // where it starts
    EXPECT_EQ(Word(ico, 22 + 8), 32u);            // twice the height
    // Rows bottom first: the top-left pixel is in the last row, as B, G, R, A.
    size_t top = colour + 15 * 16 * 4;
    EXPECT_EQ(ico[top], 30);
    EXPECT_EQ(ico[top + 1], 20);
    EXPECT_EQ(ico[top + 2], 10);
    EXPECT_EQ(ico[top + 3], 255);
    // The mask sets transparent pixels: all of the bottom row, all but the first of the top.
    EXPECT_EQ(ico[mask], 0xFF);
    EXPECT_EQ(ico[mask + 15 * 4], 0x7F);
}

TEST(IconWriter, SeveralSizesFollowTheirDirectory) {
    std::vector<uint8_t> ico = EncodeIco({CCanvas(32, 32), CCanvas(16, 16)});
    const uint32_t big = 40 + 32 * 32 * 4 + 4 * 32, small = 40 + 16 * 16 * 4 + 4 * 16;
    ASSERT_EQ(ico.size(), 6 + 2 * 16 + big + small);
    EXPECT_EQ(ico[4], 2);
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[6 + 16], 16);
    EXPECT_EQ(Word(ico, 6 + 12), 38u);
    EXPECT_EQ(Word(ico, 6 + 16 + 12), 38u + big);
    EXPECT_EQ(Word(ico, 38u + big + 4), 16u); // the second header's width
}

TEST(IconWriter, RefusesPicturesThatAreNoIcon) {
    EXPECT_TRUE(EncodeIco({CCanvas(16, 8)}).empty());
    EXPECT_TRUE(EncodeIco({CCanvas(8, 8)}).empty());
    EXPECT_TRUE(EncodeIco({CCanvas(300, 300)}).empty());
    EXPECT_TRUE(EncodeIco({CCanvas(32, 32), CCanvas(8, 8)}).empty());
    EXPECT_TRUE(EncodeIco({}).empty());
    EXPECT_FALSE(EncodeIco({CCanvas(256, 256)}).empty());
}

TEST(IconWriter, CursorCarriesItsHotSpot) {
    std::vector<uint8_t> cur = EncodeCur(CCanvas(32, 32), 15, 14);
    ASSERT_EQ(cur.size(), 6 + 16 + 40 + 32 * 32 * 4 + 4 * 32);
    EXPECT_EQ(cur[2], 2); // a cursor
    EXPECT_EQ(cur[6 + 4], 15);
    EXPECT_EQ(cur[6 + 6], 14);
    EXPECT_TRUE(EncodeCur(CCanvas(32, 32), 32, 0).empty());
    EXPECT_TRUE(EncodeCur(CCanvas(32, 32), 0, -1).empty());
}

} // namespace
