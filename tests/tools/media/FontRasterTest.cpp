#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/media/FontRaster.h"

namespace {

// "ネコ耳" in CP932 and in UTF-8.
const std::string NEKO_CP932 = "\x83\x6c\x83\x52\x8e\xa8";
const std::string NEKO_UTF8 = "\xe3\x83\x8d\xe3\x82\xb3\xe8\x80\xb3";

TEST(FontRaster, DecodersGiveCodePointsAndRefuseMalformedBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        bool ok;
        std::vector<uint32_t> codes;
    };
    const Case cases[] = {
        {"ascii utf-8", "Ab 1", TE_UTF8, true, {'A', 'b', ' ', '1'}},
        {"katakana and kanji utf-8", NEKO_UTF8, TE_UTF8, true, {0x30CD, 0x30B3, 0x8033}},
        {"four-byte utf-8", "\xf0\x9f\x98\x80", TE_UTF8, true, {0x1F600}},
        {"same text cp932", NEKO_CP932, TE_CP932, true, {0x30CD, 0x30B3, 0x8033}},
        {"cp932 wave dash is the fullwidth tilde", "\x81\x60", TE_CP932, true, {0xFF5E}},
        {"cp932 ascii and half-width kana", "A\xb1", TE_CP932, true, {'A', 0xFF71}},
        {"utf-8 cut short", "\xe3\x83", TE_UTF8, false, {}},
        {"utf-8 lone continuation", "\x80", TE_UTF8, false, {}},
        {"utf-8 overlong slash", "\xc0\xaf", TE_UTF8, false, {}},
        {"utf-8 surrogate", "\xed\xa0\x80", TE_UTF8, false, {}},
        {"cp932 lead byte at the end", "A\x83", TE_CP932, false, {}},
        {"cp932 bad trail byte", "\x83\x20", TE_CP932, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> codes;
        EXPECT_EQ(DecodeText(c.bytes, c.encoding, codes), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(codes, c.codes) << c.what;
        }
    }
}

struct Ink {
    int count = 0, x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};

Ink InkOf(const TextMask& m) {
    Ink ink;
    for (int y = 0; y < m.height; ++y) {
        for (int x = 0; x < m.width; ++x) {
            if (m.At(x, y) > 127) {
                ++ink.count;
                ink.x0 = std::min(ink.x0, x), ink.x1 = std::max(ink.x1, x);
                ink.y0 = std::min(ink.y0, y), ink.y1 = std::max(ink.y1, y);
            }
        }
    }
    return ink;
}

TEST(FontRaster, DrawsJapaneseTextTheSameFromEitherEncoding) {
    CFontRaster font;
    ASSERT_TRUE(font.Open()) << font.LastError();
    TextMask fromCp932, fromUtf8;
    ASSERT_TRUE(font.Render(NEKO_CP932, TE_CP932, 24, fromCp932)) << font.LastError();
    ASSERT_TRUE(font.Render(NEKO_UTF8, TE_UTF8, 24, fromUtf8)) << font.LastError();
    EXPECT_EQ(fromCp932.coverage, fromUtf8.coverage);
    // IPA Gothic's full-width characters advance one em each.
    EXPECT_EQ(fromCp932.width, 3 * 24);
    EXPECT_GE(fromCp932.height, 24);
    EXPECT_LT(fromCp932.height, 40);
    const Ink ink = InkOf(fromCp932);
    // Solid strokes, spread over all three character cells, none of it outside the line.
    EXPECT_GT(ink.count, 3 * 24 * 24 / 10);
    EXPECT_LT(ink.count, 3 * 24 * 24 / 2);
    EXPECT_LT(ink.x0, 6);
    EXPECT_GT(ink.x1, 3 * 24 - 6);
    EXPECT_LE(ink.y1, fromCp932.baseline + 6);
    // Each character cell holds ink of its own.
    for (int cell = 0; cell < 3; ++cell) {
        int n = 0;
        for (int y = 0; y < fromCp932.height; ++y) {
            for (int x = cell * 24; x < cell * 24 + 24; ++x) {
                n += fromCp932.At(x, y) > 127;
            }
        }
        EXPECT_GT(n, 40) << "cell " << cell;
    }
    // Other text draws differently.
    TextMask other;
    ASSERT_TRUE(font.Render("\x83\x52\x83\x6c\x8e\xa8", TE_CP932, 24, other));
    EXPECT_NE(other.coverage, fromCp932.coverage);
}

TEST(FontRaster, LinesStackAndSizesScale) {
    CFontRaster font;
    ASSERT_TRUE(font.Open()) << font.LastError();
    TextMask one, two, big;
    ASSERT_TRUE(font.Render("Hello", TE_UTF8, 16, one));
    ASSERT_TRUE(font.Render("Hello\nHi", TE_UTF8, 16, two));
    ASSERT_TRUE(font.Render("Hello", TE_UTF8, 32, big));
    EXPECT_EQ(two.height, 2 * one.height);
    EXPECT_EQ(two.width, one.width) << "as wide as the widest line";
    EXPECT_GT(InkOf(two).y0, -1);
    EXPECT_GT(InkOf(two).y1, one.height) << "the second line is drawn below the first";
    EXPECT_NEAR(big.width, 2 * one.width, 3);
    EXPECT_NEAR(double(InkOf(big).count) / InkOf(one).count, 4.0, 1.0);
}

TEST(FontRaster, FitsTextIntoABox) {
    CFontRaster font;
    ASSERT_TRUE(font.Open());
    TextMask m;
    int size = 0;
    ASSERT_TRUE(font.RenderFitting(NEKO_CP932, TE_CP932, 40, 60, 40, m, &size));
    EXPECT_EQ(size, 20) << "three one-em characters in 60 pixels";
    EXPECT_LE(m.width, 60);
    EXPECT_FALSE(font.RenderFitting(NEKO_CP932, TE_CP932, 40, 5, 40, m));
    EXPECT_EQ(m.width, 0);
}

TEST(FontRaster, RefusesWhatItCannotDraw) {
    CFontRaster closed;
    TextMask m;
    EXPECT_FALSE(closed.Render("A", TE_UTF8, 16, m));
    EXPECT_FALSE(closed.Open("/nonexistent/font.ttf"));
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_NE(closed.LastError().find("/nonexistent/font.ttf"), std::string::npos);

    CFontRaster font;
    ASSERT_TRUE(font.Open());
    EXPECT_FALSE(font.Render("\xe3\x83", TE_UTF8, 16, m)) << "malformed text";
    EXPECT_FALSE(font.Render("\xf0\x9f\x98\x80", TE_UTF8, 16, m)) << "no glyph for an emoji";
    EXPECT_NE(font.LastError().find("U+"), std::string::npos);
    EXPECT_FALSE(font.Render("A", TE_UTF8, 3, m));
    EXPECT_FALSE(font.Render("A", TE_UTF8, 513, m));
    EXPECT_EQ(m.coverage.size(), 0u);
}

TEST(FontRaster, MaskPaintsInItsColourByCoverage) {
    TextMask m;
    m.width = 2, m.height = 1, m.coverage = {255, 128};
    CCanvas c(4, 2, RGBA_BLACK);
    DrawTextMask(c, m, 1, 1, Rgba{255, 0, 0, 255});
    DrawTextMask(c, m, 3, 0, RGBA_WHITE); // half off the right edge
    EXPECT_EQ(c.Get(1, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(c.Get(2, 1), (Rgba{128, 0, 0, 255}));
    EXPECT_EQ(c.Get(0, 1), RGBA_BLACK);
    EXPECT_EQ(c.Get(3, 0), RGBA_WHITE);
    EXPECT_EQ(c.Get(1, 0), RGBA_BLACK);
}

} // namespace
