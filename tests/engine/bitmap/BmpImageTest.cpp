#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/bitmap/BmpImage.h"
#include "engine/bitmap/KeyColourRuns.h"
#include "tests/engine/bitmap/TestBitmaps.h"

namespace {

using testbmp::BitmapLayout;
using testbmp::GREEN;
using testbmp::Make;
using testbmp::Put16;
using testbmp::Put32;

std::vector<uint8_t> Plain24() {
    return Make(BitmapLayout{}, [](int x, int y) { return uint32_t(0x010203 * (x + 4 * y + 1)); });
}

TEST(BmpImage, ReadsAWellFormedImage) {
    std::vector<uint8_t> bytes = Plain24();
    BmpView view;
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.width, 4);
    EXPECT_EQ(view.height, 2);
    EXPECT_EQ(view.bitCount, 24);
    EXPECT_EQ(view.stride, 12);
    EXPECT_EQ(view.tableEntries, 0);
    EXPECT_GT(view.colourCount, 256); // no table: a true-colour image
    EXPECT_EQ(view.pixels, bytes.data() + 54);
    EXPECT_FALSE(view.topDown);

    BitmapLayout palette;
    palette.bitCount = 8;
    palette.fileHeader = false;
    std::vector<uint8_t> res = Make(palette, [](int, int) { return 0u; }, {0x112233});
    ASSERT_EQ(ParseBmp(res.data(), res.size(), false, view), BMP_OK);
    EXPECT_EQ(view.colourCount, 256);
    EXPECT_EQ(view.tableEntries, 256);
    EXPECT_EQ(view.stride, 4);
    EXPECT_EQ(view.colourTable[2], 0x11);
    EXPECT_EQ(view.pixels, res.data() + 40 + 1024);
}

TEST(BmpImage, TopDownAndLongHeadersReadAsTheSamePicture) {
    auto pixel = [](int x, int y) { return uint32_t(x * 16 + y); };
    BitmapLayout base;
    base.bitCount = 8;
    base.width = 3;
    base.height = 3;
    base.clrUsed = 16;
    std::vector<uint8_t> want(3 * 4);
    {
        std::vector<uint8_t> bytes = Make(base, pixel);
        BmpView view;
        ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
        CopyPixelsBottomUp(view, want.data());
        EXPECT_EQ(want[0], 0 * 16 + 2); // bottom row first
    }
    BitmapLayout topDown = base;
    topDown.height = -3;
    BitmapLayout v4 = base;
    v4.headerSize = 108;
    BitmapLayout v5 = base;
    v5.headerSize = 124;
    v5.height = -3;
    for (const BitmapLayout& s : {topDown, v4, v5}) {
        std::vector<uint8_t> bytes = Make(s, pixel);
        BmpView view;
        ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK) << s.headerSize;
        EXPECT_EQ(view.height, 3);
        EXPECT_EQ(view.colourCount, 16);
        std::vector<uint8_t> got(view.PixelBytes());
        CopyPixelsBottomUp(view, got.data());
        EXPECT_EQ(got, want) << s.headerSize << " " << s.height;

        std::vector<uint8_t> info;
        BuildInfoBlock(view, info);
        ASSERT_EQ(info.size(), 40u + 16 * 4);
        BmpView again;
        ASSERT_EQ(ParseBmp(info.data(), info.size() + 0, false, again), BMP_TRUNCATED);
        info.insert(info.end(), got.begin(), got.end());
        ASSERT_EQ(ParseBmp(info.data(), info.size(), false, again), BMP_OK);
        EXPECT_FALSE(again.topDown);
        EXPECT_EQ(again.colourCount, 16);
    }
}

TEST(BmpImage, RefusesBrokenBitmaps) {
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    struct Case {
        const char* what;
        Edit edit;
        BmpError want;
    } cases[] = {
        {"no signature", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, BMP_NO_SIGNATURE},
        {"only the signature", [](std::vector<uint8_t>& b) { b.resize(2); }, BMP_TRUNCATED},
        {"one byte", [](std::vector<uint8_t>& b) { b.resize(1); }, BMP_TRUNCATED},
        {"file header cut", [](std::vector<uint8_t>& b) { b.resize(10); }, BMP_TRUNCATED},
        {"info header cut", [](std::vector<uint8_t>& b) { b.resize(30); }, BMP_TRUNCATED},
        {"no info header", [](std::vector<uint8_t>& b) { b.resize(14); }, BMP_TRUNCATED},
        {"pixels cut by one byte", [](std::vector<uint8_t>& b) { b.pop_back(); }, BMP_TRUNCATED},
        {"core header", [](std::vector<uint8_t>& b) { Put32(b, 14, 12); }, BMP_BAD_HEADER_SIZE},
        {"header size 0", [](std::vector<uint8_t>& b) { Put32(b, 14, 0); }, BMP_BAD_HEADER_SIZE},
        {"header size huge", [](std::vector<uint8_t>& b) { Put32(b, 14, 0x7FFFFFFF); }, BMP_BAD_HEADER_SIZE},
        {"header longer than the file",
         [](std::vector<uint8_t>& b) {
             Put32(b, 14, 124);
             b.resize(100);
         },
         BMP_TRUNCATED},
        {"width 0", [](std::vector<uint8_t>& b) { Put32(b, 18, 0); }, BMP_BAD_DIMENSIONS},
        {"negative width", [](std::vector<uint8_t>& b) { Put32(b, 18, uint32_t(-4)); }, BMP_BAD_DIMENSIONS},
        {"height 0", [](std::vector<uint8_t>& b) { Put32(b, 22, 0); }, BMP_BAD_DIMENSIONS},
        {"most negative height", [](std::vector<uint8_t>& b) { Put32(b, 22, 0x80000000u); }, BMP_BAD_DIMENSIONS},
        {"huge width", [](std::vector<uint8_t>& b) { Put32(b, 18, 0x40000000); }, BMP_BAD_DIMENSIONS},
        {"taller than its pixels", [](std::vector<uint8_t>& b) { Put32(b, 22, 3); }, BMP_TRUNCATED},
        {"wider than its pixels", [](std::vector<uint8_t>& b) { Put32(b, 18, 5); }, BMP_TRUNCATED},
        {"two planes", [](std::vector<uint8_t>& b) { Put16(b, 26, 2); }, BMP_BAD_PLANES},
        {"7 bits", [](std::vector<uint8_t>& b) { Put16(b, 28, 7); }, BMP_BAD_DEPTH},
        {"0 bits", [](std::vector<uint8_t>& b) { Put16(b, 28, 0); }, BMP_BAD_DEPTH},
        {"64 bits", [](std::vector<uint8_t>& b) { Put16(b, 28, 64); }, BMP_BAD_DEPTH},
        {"32 bits, more pixels than there are", [](std::vector<uint8_t>& b) { Put16(b, 28, 32); }, BMP_TRUNCATED},
        {"RLE8", [](std::vector<uint8_t>& b) { Put32(b, 30, 1); }, BMP_COMPRESSED},
        {"RLE4", [](std::vector<uint8_t>& b) { Put32(b, 30, 2); }, BMP_COMPRESSED},
        {"bit fields", [](std::vector<uint8_t>& b) { Put32(b, 30, 3); }, BMP_COMPRESSED},
        {"colour table past the end", [](std::vector<uint8_t>& b) { Put32(b, 46, 256); }, BMP_TRUNCATED},
        {"colour count beyond any table", [](std::vector<uint8_t>& b) { Put32(b, 46, 0xFFFFFFFF); },
         BMP_BAD_COLOUR_COUNT},
        {"pixel offset past the end", [](std::vector<uint8_t>& b) { Put32(b, 10, 0x7FFFFFFF); }, BMP_TRUNCATED},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = Plain24();
        c.edit(bytes);
        // A copy of exactly the edited size, so that the sanitizers see any over-read.
        std::vector<uint8_t> exact(bytes);
        BmpView view;
        EXPECT_EQ(ParseBmp(exact.data(), exact.size(), true, view), c.want) << c.what;
        EXPECT_EQ(view.pixels, nullptr) << c.what;
        EXPECT_NE(BmpErrorText(c.want), nullptr);
    }
    BmpView view;
    EXPECT_EQ(ParseBmp(nullptr, 0, true, view), BMP_TRUNCATED);

    // Palette images: more colours than the depth can index.
    BitmapLayout eight;
    eight.bitCount = 8;
    std::vector<uint8_t> bytes = Make(eight, [](int, int) { return 0u; });
    Put32(bytes, 46, 257);
    EXPECT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_BAD_COLOUR_COUNT);
    BitmapLayout four;
    four.bitCount = 4;
    bytes = Make(four, [](int, int) { return 0u; });
    Put32(bytes, 46, 17);
    EXPECT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_BAD_COLOUR_COUNT);
}

TEST(BmpImage, ImageSizeFieldDoesNotDecideHowMuchIsRead) {
    std::vector<uint8_t> bytes = Plain24();
    Put32(bytes, 34, 0x10000000); // biSizeImage far beyond the image
    BmpView view;
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.PixelBytes(), 24u);
    Put32(bytes, 34, 0);
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.PixelBytes(), 24u);
    // A pixel offset that points into the headers is not trusted.
    Put32(bytes, 10, 20);
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.pixels, bytes.data() + 54);
}

struct RunCase {
    const char* what;
    BitmapLayout spec;
    std::function<uint32_t(int, int)> pixel;
    std::vector<uint32_t> palette;
    std::vector<KeyRect> want;
};

void CheckRuns(const RunCase& c) {
    std::vector<uint8_t> bytes = Make(c.spec, c.pixel, c.palette);
    BmpView view;
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK) << c.what;
    std::vector<uint8_t> colour(view.PixelBytes()), mask(view.PixelBytes(), 0x55);
    CopyPixelsBottomUp(view, colour.data());
    KeyColour key{-1, 0x00, 0xFF, 0x00};
    for (int i = 0; i < view.tableEntries; ++i) {
        const uint8_t* e = view.colourTable + 4 * i;
        if (e[0] == 0 && e[1] == 0xFF && e[2] == 0) {
            key.index = i;
            break;
        }
    }
    std::vector<KeyRect> runs;
    ASSERT_TRUE(FindKeyColourRuns(
        KeyedPixels{colour.data(), mask.data(), view.width, view.height, view.stride, view.bitCount}, key, runs))
        << c.what;
    ASSERT_EQ(runs.size(), c.want.size()) << c.what;
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].left, c.want[i].left) << c.what << " run " << i;
        EXPECT_EQ(runs[i].top, c.want[i].top) << c.what << " run " << i;
        EXPECT_EQ(runs[i].right, c.want[i].right) << c.what << " run " << i;
        EXPECT_EQ(runs[i].bottom, c.want[i].bottom) << c.what << " run " << i;
    }
    // Key pixels: black in the colour bitmap, white in the mask; others 0 in the mask.
    int bytesPer = view.bitCount / 8;
    for (int r = 0; r < view.height; ++r)
        for (int x = 0; x < view.width; ++x) {
            int y = view.height - 1 - r;
            bool wasKey = view.bitCount == 24 ? c.pixel(x, y) == GREEN : int(c.pixel(x, y)) == key.index;
            for (int k = 0; k < bytesPer; ++k) {
                size_t at = size_t(r) * view.stride + size_t(x) * bytesPer + k;
                EXPECT_EQ(mask[at], wasKey ? 255 : 0) << c.what << " " << x << "," << y;
                if (wasKey) {
                    EXPECT_EQ(colour[at], 0) << c.what << " " << x << "," << y;
                }
            }
        }
}

TEST(KeyColourRuns, OneRectanglePerRunOfNonKeyPixels) {
    BitmapLayout s24;
    s24.width = 6;
    s24.height = 3;
    BitmapLayout s8 = s24;
    s8.bitCount = 8;
    BitmapLayout odd = s24;
    odd.width = 3; // rows padded to a multiple of 4 bytes
    BitmapLayout topDown = s24;
    topDown.height = -3;
    const std::vector<uint32_t> withGreen = {0x000000, 0xFF0000, GREEN, 0x0000FF};
    const std::vector<uint32_t> noGreen = {0x000000, 0xFF0000, 0x00FE00, 0x0000FF};
    RunCase cases[] = {
        {"24-bit left half green",
         s24,
         [](int x, int) { return x < 3 ? GREEN : 0x123456u; },
         {},
         {{3, 2, 6, 3}, {3, 1, 6, 2}, {3, 0, 6, 1}}},
        {"24-bit mixed rows, an all-key row",
         s24,
         [](int x, int y) { return y == 1 || x == 2 || x == 4 ? GREEN : 0x000001u; },
         {},
         {{0, 2, 2, 3}, {3, 2, 4, 3}, {5, 2, 6, 3}, {0, 0, 2, 1}, {3, 0, 4, 1}, {5, 0, 6, 1}}},
        {"24-bit no key", s24, [](int, int) { return 0xFFFFFFu; }, {}, {{0, 2, 6, 3}, {0, 1, 6, 2}, {0, 0, 6, 1}}},
        {"24-bit padded rows",
         odd,
         [](int x, int) { return x == 0 ? GREEN : 0x00FF01u; },
         {},
         {{1, 2, 3, 3}, {1, 1, 3, 2}, {1, 0, 3, 1}}},
        {"24-bit top-down",
         topDown,
         [](int x, int y) { return x == y ? GREEN : 0u; },
         {},
         {{0, 2, 2, 3}, {3, 2, 6, 3}, {0, 1, 1, 2}, {2, 1, 6, 2}, {1, 0, 6, 1}}},
        {"8-bit palette key",
         s8,
         [](int x, int y) { return y == 0   ? 2u
                                   : x == 5 ? 2u
                                            : 1u; },
         withGreen,
         {{0, 2, 5, 3}, {0, 1, 5, 2}}},
        {"8-bit palette without the key",
         s8,
         [](int x, int) { return uint32_t(x % 4); },
         noGreen,
         {{0, 2, 6, 3}, {0, 1, 6, 2}, {0, 0, 6, 1}}},
    };
    for (const RunCase& c : cases)
        CheckRuns(c);
}

TEST(KeyColourRuns, OtherDepthsAndBadGeometryExamineNothing) {
    uint8_t colour[16] = {}, mask[16] = {};
    std::vector<KeyRect> runs{{1, 1, 1, 1}};
    KeyColour key{0, 0, 0xFF, 0};
    EXPECT_FALSE(FindKeyColourRuns(KeyedPixels{colour, mask, 4, 1, 4, 4}, key, runs));
    EXPECT_TRUE(runs.empty());
    EXPECT_FALSE(FindKeyColourRuns(KeyedPixels{colour, mask, 4, 1, 4, 32}, key, runs));
    EXPECT_FALSE(FindKeyColourRuns(KeyedPixels{colour, mask, 2, 1, 4, 24}, key, runs));
    EXPECT_FALSE(FindKeyColourRuns(KeyedPixels{colour, mask, 0, 1, 4, 8}, key, runs));
}

} // namespace
