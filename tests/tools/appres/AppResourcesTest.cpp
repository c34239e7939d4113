#include <gtest/gtest.h>

#include "tools/appres/AppResources.h"

namespace {

TEST(AppResources, SplashIsKeyOutsideAndNeverBlendsWithIt) {
    CCanvas splash = PaintSplash();
    ASSERT_EQ(splash.Width(), SPLASH_SIZE);
    ASSERT_EQ(splash.Height(), SPLASH_SIZE);
    EXPECT_EQ(splash.Get(0, 0), SPLASH_KEY);
    EXPECT_EQ(splash.Get(SPLASH_SIZE - 1, SPLASH_SIZE - 1), SPLASH_KEY);
    EXPECT_NE(splash.Get(SPLASH_SIZE / 2, SPLASH_SIZE / 2), SPLASH_KEY);
    // Any pixel that is not the key is far from it: no greenish fringe that
    // would show around the outline.
    int greenish = 0, inside = 0;
    for (int y = 0; y < SPLASH_SIZE; ++y)
        for (int x = 0; x < SPLASH_SIZE; ++x) {
            Rgba p = splash.Get(x, y);
            if (p == SPLASH_KEY)
                continue;
            ++inside;
            greenish += p.g > 200 && p.r < 80 && p.b < 80;
        }
    EXPECT_EQ(greenish, 0);
    EXPECT_GT(inside, SPLASH_SIZE * SPLASH_SIZE * 3 / 4);
    EXPECT_TRUE(splash.IsOpaque());
}

TEST(AppResources, CursorsAndIconsAreDrawnWithTransparentSurroundings) {
    for (CCanvas cursor : {PaintMoveCursor(), PaintRotateCursor(), PaintYenCursor(), PaintPictureCursor()}) {
        ASSERT_EQ(cursor.Width(), 32);
        ASSERT_EQ(cursor.Height(), 32);
        EXPECT_EQ(cursor.Get(0, 0).a, 0);
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                opaque += cursor.Get(x, y).a == 255;
        EXPECT_GT(opaque, 60);
        EXPECT_LT(opaque, 32 * 32 / 2);
    }
    // The move cursor's centre is its hot spot: inked there.
    EXPECT_EQ(PaintMoveCursor().Get(15, 15).a, 255);
    for (int size : {32, 16}) {
        CCanvas icon = PaintAppIcon(size);
        EXPECT_EQ(icon.Width(), size);
        EXPECT_EQ(icon.Get(size / 2, size / 2).a, 255);
        EXPECT_LT(icon.Get(0, 0).a, 128);
    }
}

} // namespace
