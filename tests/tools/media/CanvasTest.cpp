#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "tools/media/BitmapFont.h"
#include "tools/media/Canvas.h"

namespace {

const Rgba RED = {255, 0, 0, 255};
const Rgba BLUE = {0, 0, 255, 255};

TEST(Canvas, BlendMixesByCoverageAndAlphaAndClipsOutside) {
    CCanvas c(2, 1, BLUE);
    c.Blend(0, 0, RED, 0.25f);
    EXPECT_EQ(c.Get(0, 0), (Rgba{64, 0, 191, 255}));
    c.Blend(1, 0, Rgba{255, 0, 0, 128}, 1.0f);
    EXPECT_EQ(c.Get(1, 0), (Rgba{128, 0, 127, 255}));
    CCanvas clear(1, 1, Rgba{0, 0, 0, 0});
    clear.Blend(0, 0, Rgba{255, 255, 255, 255}, 0.5f);
    EXPECT_EQ(clear.Get(0, 0), (Rgba{255, 255, 255, 128})) << "over nothing the colour stays, alpha is coverage";
    c.Set(-1, 0, RED);
    c.Blend(2, 0, RED);
    c.FillRect(-5, -5, 0, 10, RED);
    EXPECT_EQ(c.Get(-1, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_TRUE(c.IsOpaque());
    EXPECT_FALSE(clear.IsOpaque());
}

TEST(Canvas, GradientsRunFromEndToEnd) {
    CCanvas c(5, 3, RGBA_BLACK);
    c.FillGradient(0, 0, 5, 3, RGBA_BLACK, RGBA_WHITE, false);
    EXPECT_EQ(c.Get(0, 1), RGBA_BLACK);
    EXPECT_EQ(c.Get(2, 1), (Rgba{128, 128, 128, 255}));
    EXPECT_EQ(c.Get(4, 1), RGBA_WHITE);
    c.FillGradient(0, 0, 5, 3, RED, BLUE, true);
    EXPECT_EQ(c.Get(3, 0), RED);
    EXPECT_EQ(c.Get(3, 2), BLUE);
    CCanvas r(9, 9, RGBA_BLACK);
    r.FillRadialGradient(4.5f, 4.5f, 4.0f, RGBA_WHITE, RGBA_BLACK);
    EXPECT_EQ(r.Get(4, 4), RGBA_WHITE);
    EXPECT_EQ(r.Get(0, 4), RGBA_BLACK);
    EXPECT_EQ(r.Get(2, 4).r, r.Get(6, 4).r);
}

// Shapes: full inside, untouched outside, partial only along the edge,
// mirror-symmetric, covering about their true area.
TEST(Canvas, ShapesHaveSmoothSymmetricEdgesAndTheirArea) {
    struct Case {
        const char* what;
        void (*paint)(CCanvas&);
        float area;
        float partialShare; // at most this share of the area lies on the edge
    };
    const float pi = 3.14159265f;
    const Case cases[] = {
        {"ellipse", [](CCanvas& c) { c.FillEllipse(20, 20, 15, 9, RGBA_WHITE); }, pi * 15 * 9, 0.5f},
        {"circle", [](CCanvas& c) { c.FillEllipse(20, 20, 12, 12, RGBA_WHITE); }, pi * 144, 0.5f},
        {"rounded rectangle", [](CCanvas& c) { c.FillRoundedRect(4, 8, 36, 32, 6, RGBA_WHITE); },
         32 * 24 - (4 - pi) * 36, 0.5f},
        {"ring", [](CCanvas& c) { c.StrokeEllipse(20, 20, 12, 12, 2, RGBA_WHITE); }, pi * (13 * 13 - 11 * 11), 1.5f},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        CCanvas c(40, 40, RGBA_BLACK);
        k.paint(c);
        float area = 0;
        int partial = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                Rgba p = c.Get(x, y);
                area += p.r / 255.0f;
                partial += p.r > 0 && p.r < 255;
                EXPECT_EQ(p.r, c.Get(39 - x, y).r) << x << "," << y;
                EXPECT_EQ(p.r, c.Get(x, 39 - y).r) << x << "," << y;
            }
        EXPECT_NEAR(area, k.area, k.area * 0.02f);
        EXPECT_GT(partial, 0) << "the edge is smoothed";
        EXPECT_LT(partial, int(k.area * k.partialShare)) << "only along the edge";
    }
    CCanvas r(40, 40, RGBA_BLACK);
    r.FillRoundedRect(4, 8, 36, 32, 6, RGBA_WHITE);
    EXPECT_EQ(r.Get(20, 20), RGBA_WHITE);
    EXPECT_EQ(r.Get(4, 8), RGBA_BLACK) << "the corner is cut";
    EXPECT_EQ(r.Get(10, 8), RGBA_WHITE) << "the straight edge is full";
}

TEST(Canvas, HardShapesPaintWholePixelsOnly) {
    CCanvas c(30, 30, RGBA_BLACK);
    c.FillShape([](float x, float y) { return SuperellipseDistance(x, y, 15, 15, 12, 4); }, 0, 0, 30, 30,
                [](float, float) { return RGBA_WHITE; }, false);
    std::set<int> values;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            values.insert(c.Get(x, y).r);
    EXPECT_EQ(values, (std::set<int>{0, 255}));
    EXPECT_EQ(c.Get(15, 15), RGBA_WHITE);
    EXPECT_EQ(c.Get(2, 2), RGBA_BLACK);
    EXPECT_EQ(c.Get(4, 15), RGBA_WHITE) << "a squircle is full near the middle of its sides";
}

TEST(BitmapFont, EveryPrintableCharacterHasItsOwnGlyph) {
    std::set<std::vector<uint8_t>> seen;
    for (char ch = FONT_FIRST; ch <= FONT_LAST; ++ch) {
        std::vector<uint8_t> glyph = GlyphMask(ch, 1, false);
        ASSERT_EQ(glyph.size(), size_t(FONT_GLYPH_WIDTH * FONT_GLYPH_HEIGHT));
        int inked = 0;
        for (uint8_t v : glyph)
            inked += v;
        EXPECT_EQ(inked == 0, ch == ' ') << "'" << ch << "'";
        EXPECT_TRUE(seen.insert(glyph).second) << "'" << ch << "' looks like another character";
    }
    EXPECT_FALSE(HasGlyph('\x7f'));
    EXPECT_EQ(GlyphMask('\x01', 1, false), GlyphMask('?', 1, false));
    EXPECT_FALSE(GlyphPixel('A', 5, 0));
    EXPECT_FALSE(GlyphPixel('A', -1, 3));
}

TEST(BitmapFont, SmoothDoublingRoundsDiagonalsAndKeepsStraightStrokes) {
    // '/' is a pure diagonal: doubled plainly it is a staircase of 2 × 2
    // blocks, smoothed it becomes a thinner, continuous line.
    std::vector<uint8_t> plain = GlyphMask('/', 2, false), smooth = GlyphMask('/', 2, true);
    ASSERT_EQ(plain.size(), smooth.size());
    ASSERT_EQ(plain.size(), size_t(10 * 16));
    EXPECT_NE(plain, smooth);
    // Straight strokes without corners stay as they are.
    EXPECT_EQ(GlyphMask('|', 2, false), GlyphMask('|', 2, true));
    EXPECT_EQ(GlyphMask('-', 2, false), GlyphMask('-', 2, true));
    // Scale 3 has no smoothing; scale 4 smooths once and doubles again.
    EXPECT_EQ(GlyphMask('/', 3, true), GlyphMask('/', 3, false));
    EXPECT_EQ(GlyphMask('/', 4, true).size(), size_t(20 * 32));
}

TEST(Canvas, TextDrawsTheGlyphsAtTheirAdvance) {
    CCanvas c(40, 20, RGBA_BLACK);
    int width = c.DrawText(1, 2, "AB\nC", RED, 1, false);
    EXPECT_EQ(width, FONT_ADVANCE + FONT_GLYPH_WIDTH);
    for (int y = 0; y < FONT_GLYPH_HEIGHT; ++y)
        for (int x = 0; x < FONT_GLYPH_WIDTH; ++x) {
            EXPECT_EQ(c.Get(1 + x, 2 + y) == RED, GlyphPixel('A', x, y));
            EXPECT_EQ(c.Get(1 + FONT_ADVANCE + x, 2 + y) == RED, GlyphPixel('B', x, y));
            EXPECT_EQ(c.Get(1 + x, 2 + FONT_LINE_HEIGHT + y) == RED, GlyphPixel('C', x, y));
        }
    EXPECT_EQ(c.Get(0, 2), RGBA_BLACK);
    // Text running off the picture is clipped, not written elsewhere.
    CCanvas small(4, 4, RGBA_BLACK);
    small.DrawText(-3, -3, "WW", RED, 3, true);
    small.DrawText(2, 2, "M", RED, 2);
    EXPECT_EQ(small.Get(3, 3) == RED, GlyphMask('M', 2, false)[1 * 10 + 1] != 0);
}

} // namespace
