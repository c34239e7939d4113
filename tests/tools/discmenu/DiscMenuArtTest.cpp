#include <gtest/gtest.h>

#include "tools/discmenu/DiscMenuArt.h"

namespace {

// Mean distance of a colour from grey: how colourful a picture is.
double MeanSaturation(const CCanvas& c) {
    double sum = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            Rgba p = c.Get(x, y);
            int hi = std::max({p.r, p.g, p.b}), lo = std::min({p.r, p.g, p.b});
            sum += hi - lo;
        }
    return sum / (double(c.Width()) * c.Height());
}

TEST(DiscMenuArt, PicturesHaveTheirResourceSizes) {
    CCanvas background = PaintMenuBackground();
    EXPECT_EQ(background.Width(), 640);
    EXPECT_EQ(background.Height(), 480);
    EXPECT_TRUE(background.IsOpaque());
    const int heights[] = {28, 28, 24};
    for (int b = 0; b < MENU_BUTTON_COUNT; ++b)
        for (bool disabled : {false, true}) {
            CCanvas face = PaintMenuButton(b, disabled);
            EXPECT_EQ(face.Width(), 640) << b;
            EXPECT_EQ(face.Height(), heights[b]) << b;
            EXPECT_TRUE(face.IsOpaque()) << b;
        }
    EXPECT_STREQ(MenuButtonCaption(MB_INSTALL), "INSTALL");
    EXPECT_STREQ(MenuButtonCaption(MB_UNINSTALL), "UNINSTALL");
    EXPECT_STREQ(MenuButtonCaption(MB_DXINSTALL), "DXINSTALL");
    EXPECT_EQ(MenuButtonCaption(MENU_BUTTON_COUNT), nullptr);
}

TEST(DiscMenuArt, DisabledFacesAreGreyedAndDiffer) {
    for (int b = 0; b < MENU_BUTTON_COUNT; ++b) {
        CCanvas normal = PaintMenuButton(b, false), disabled = PaintMenuButton(b, true);
        EXPECT_GT(MeanSaturation(normal), MeanSaturation(disabled) + 10) << b;
        // The labels differ from one button to the next.
        if (b > 0) {
            CCanvas previous = PaintMenuButton(b - 1, false);
            int differing = 0;
            for (int x = 0; x < 640; ++x)
                for (int y = 0; y < 24; ++y)
                    differing += previous.Get(x, y) != normal.Get(x, y);
            EXPECT_GT(differing, 200) << b;
        }
    }
}

TEST(DiscMenuArt, IconIsRoundedWithTransparentCorners) {
    for (int size : {32, 16}) {
        CCanvas icon = PaintMenuIcon(size);
        ASSERT_EQ(icon.Width(), size);
        EXPECT_EQ(icon.Get(0, 0).a, 0) << size;
        EXPECT_EQ(icon.Get(size - 1, size - 1).a, 0) << size;
        EXPECT_EQ(icon.Get(size / 2, size * 7 / 8).a, 255) << size;
    }
}

} // namespace
