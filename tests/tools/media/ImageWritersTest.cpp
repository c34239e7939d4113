#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <vector>

#include "engine/bitmap/BmpImage.h"
#include "tests/tools/media/TestTga.h"
#include "tools/media/ImageWriters.h"

namespace {

// A small picture with a distinct colour per pixel, odd width so that BMP
// rows need padding, and a varying alpha.
CCanvas Pattern(int w, int h) {
    CCanvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.Set(x, y, Rgba{uint8_t(x * 40 + 1), uint8_t(y * 60 + 2), uint8_t(x * 7 + y * 13), uint8_t(255 - x * y)});
    return c;
}

TEST(ImageWriters, Bmp24ReadsBackThroughTheEngineParser) {
    CCanvas image = Pattern(5, 3);
    std::vector<uint8_t> bytes = EncodeBmp24(image);
    BmpView view;
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.width, 5);
    EXPECT_EQ(view.height, 3);
    EXPECT_FALSE(view.topDown);
    EXPECT_EQ(view.bitCount, 24);
    EXPECT_EQ(view.stride, 16); // 15 bytes padded to 16
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
    for (int y = 0; y < 3; ++y) {
        const uint8_t* row = view.Row(2 - y); // bottom-up rows: image row 0 is the last stored
        for (int x = 0; x < 5; ++x) {
            Rgba c = image.Get(x, y);
            EXPECT_EQ(row[x * 3 + 0], c.b);
            EXPECT_EQ(row[x * 3 + 1], c.g);
            EXPECT_EQ(row[x * 3 + 2], c.r);
        }
        EXPECT_EQ(row[15], 0) << "padding";
    }
    EXPECT_TRUE(EncodeBmp24(CCanvas(3, 0)).empty());
    std::vector<uint8_t> none = {1};
    EXPECT_FALSE(EncodeBmp8(CCanvas(0, 0), none));
    EXPECT_TRUE(none.empty());
}

TEST(ImageWriters, Bmp8UsesThePicturesOwnColoursInFirstSeenOrder) {
    CCanvas image(3, 2, Rgba{0, 255, 0, 255});
    image.Set(1, 0, Rgba{10, 20, 30, 255});
    image.Set(2, 1, Rgba{200, 100, 50, 255});
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeBmp8(image, bytes));
    BmpView view;
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.bitCount, 8);
    ASSERT_EQ(view.tableEntries, 3);
    const uint8_t expectedTable[] = {0, 255, 0, 0, 30, 20, 10, 0, 50, 100, 200, 0};
    EXPECT_EQ(std::memcmp(view.colourTable, expectedTable, sizeof expectedTable), 0);
    EXPECT_EQ(view.stride, 4);
    const uint8_t* top = view.Row(1);
    const uint8_t* bottom = view.Row(0);
    EXPECT_EQ(std::vector<uint8_t>(top, top + 3), (std::vector<uint8_t>{0, 1, 0}));
    EXPECT_EQ(std::vector<uint8_t>(bottom, bottom + 3), (std::vector<uint8_t>{0, 0, 2}));
}

TEST(ImageWriters, Bmp8RefusesMoreThan256Colours) {
    CCanvas image(257, 1);
    for (int x = 0; x < 257; ++x)
        image.Set(x, 0, Rgba{uint8_t(x), uint8_t(x >> 8), 0, 255});
    std::vector<uint8_t> bytes = {1, 2, 3};
    EXPECT_FALSE(EncodeBmp8(image, bytes));
    EXPECT_TRUE(bytes.empty());
    CCanvas fits(256, 1);
    for (int x = 0; x < 256; ++x)
        fits.Set(x, 0, Rgba{uint8_t(x), 0, 0, 255});
    ASSERT_TRUE(EncodeBmp8(fits, bytes));
    BmpView view;
    ASSERT_EQ(ParseBmp(bytes.data(), bytes.size(), true, view), BMP_OK);
    EXPECT_EQ(view.tableEntries, 256);
}

TEST(ImageWriters, TgaStoresBottomRowFirstWithAndWithoutAlpha) {
    CCanvas image = Pattern(5, 3);
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "32 bits" : "24 bits");
        std::vector<uint8_t> bytes = EncodeTga(image, alpha);
        EXPECT_EQ(bytes.size(), 18u + 15u * (alpha ? 4u : 3u));
        EXPECT_EQ(bytes[17] & 0x20, 0) << "origin at the bottom left";
        // The first stored texel is the bottom-left pixel, in B, G, R(, A) order.
        Rgba first = image.Get(0, 2);
        EXPECT_EQ(bytes[18], first.b);
        EXPECT_EQ(bytes[20], first.r);
        TestTga decoded;
        ASSERT_TRUE(ReadTestTga(bytes, decoded));
        ASSERT_EQ(decoded.width, 5);
        ASSERT_EQ(decoded.height, 3);
        EXPECT_EQ(decoded.bits, alpha ? 32 : 24);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                Rgba c = image.Get(x, y);
                if (!alpha)
                    c.a = 255;
                EXPECT_EQ(decoded.At(x, y), c) << x << "," << y;
            }
    }
    EXPECT_TRUE(EncodeTga(CCanvas(0, 4), false).empty());
    EXPECT_TRUE(EncodeTga(CCanvas(65536, 1), true).empty()) << "the side does not fit the header";
}

// Reads a PNG with libpng's own reader into RGBA bytes.
bool ReadPng(const std::vector<uint8_t>& bytes, png_image& image, std::vector<uint8_t>& rgba) {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return false;
    uint32_t originalFormat = image.format;
    image.format = PNG_FORMAT_RGBA;
    rgba.resize(PNG_IMAGE_SIZE(image));
    bool ok = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
    image.format = originalFormat;
    return ok;
}

TEST(ImageWriters, PngReadsBackThroughLibpng) {
    CCanvas image = Pattern(5, 3);
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "RGBA" : "RGB");
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(EncodePng(image, alpha, bytes, error)) << error;
        png_image info;
        std::vector<uint8_t> rgba;
        ASSERT_TRUE(ReadPng(bytes, info, rgba));
        EXPECT_EQ(info.width, 5u);
        EXPECT_EQ(info.height, 3u);
        EXPECT_EQ((info.format & PNG_FORMAT_FLAG_ALPHA) != 0, alpha);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                Rgba c = image.Get(x, y);
                const uint8_t* p = &rgba[size_t(y * 5 + x) * 4];
                EXPECT_EQ(p[0], c.r);
                EXPECT_EQ(p[1], c.g);
                EXPECT_EQ(p[2], c.b);
                EXPECT_EQ(p[3], alpha ? c.a : 255);
            }
        std::vector<uint8_t> again;
        ASSERT_TRUE(EncodePng(image, alpha, again, error));
        EXPECT_EQ(again, bytes) << "the same picture gives the same file";
    }
    std::vector<uint8_t> none;
    std::string error;
    EXPECT_FALSE(EncodePng(CCanvas(0, 0), false, none, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
