// The main window's place on the screen and the screen saver's pointer rule.
#include <gtest/gtest.h>

#include <climits>

#include "shell/mascot/WindowLayout.h"

namespace {

TEST(WindowLayout, KeepsEightPixelsOnTheScreen) {
    struct Case {
        int left, top;
        bool fullscreen;
        int fitLeft, fitTop;
    };
    // A 640 x 640 window on a 1024 x 768 screen.
    const Case cases[] = {
        {192, 64, false, 192, 64},       {-632, -632, false, -632, -632}, // exactly 8 pixels stay
        {-633, 64, false, 0, 64},                                         // 7 would stay
        {192, -633, false, 192, 0},      {1016, 760, false, 1016, 760},   // 8 pixels at the right and bottom
        {1017, 761, false, 0, 0},        {5000, 5000, false, 0, 0},       // a saved centre far off the screen
        {INT_MIN, INT_MAX, false, 0, 0}, {192, 64, true, 0, 0},           // full screen starts at the corner
    };
    for (const Case& c : cases) {
        CWindowLayout layout = FitWindowLayout(c.left, c.top, 640, 640, c.fullscreen, 1024, 768);
        EXPECT_EQ(layout.left, c.fitLeft) << c.left << "," << c.top;
        EXPECT_EQ(layout.top, c.fitTop) << c.left << "," << c.top;
        EXPECT_EQ(layout.width, 640);
        EXPECT_EQ(layout.height, 640);
    }
}

TEST(WindowLayout, ScreenSaverEndsBeyondThirtyPixels) {
    EXPECT_FALSE(IsPointerFarFromStart(130, 70, 100, 100));
    EXPECT_FALSE(IsPointerFarFromStart(70, 130, 100, 100));
    EXPECT_TRUE(IsPointerFarFromStart(131, 100, 100, 100));
    EXPECT_TRUE(IsPointerFarFromStart(100, 69, 100, 100));
    EXPECT_TRUE(IsPointerFarFromStart(INT_MIN, 0, INT_MAX, 0));
}

} // namespace
