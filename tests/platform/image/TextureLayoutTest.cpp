#include <gtest/gtest.h>

#include "platform/image/ImageResample.h"
#include "platform/image/TextureLayout.h"

namespace {

TEST(TextureLayout, FollowsImageSizeAndDeviceLimits) {
    TextureLimits none, pow2, pow2Conditional, square, small;
    pow2.powerOfTwo = true;
    pow2Conditional.powerOfTwo = pow2Conditional.conditionalNonPowerOfTwo = true;
    square.powerOfTwo = square.squareOnly = true;
    small.maxWidth = 64;
    small.maxHeight = 16;
    const struct {
        const char* name;
        int imageW, imageH;
        uint32_t w, h, levels;
        const TextureLimits& limits;
        uint32_t wantW, wantH, wantLevels;
    } cases[] = {
        {"image size, one level", 100, 30, 0, 0, 1, none, 100, 30, 1},
        {"default size, full chain", 100, 30, DEFAULT_SIZE, DEFAULT_SIZE, 0, none, 100, 30, 7},
        {"levels cut to the chain", 4, 4, 0, 0, 10, none, 4, 4, 3},
        {"explicit size", 100, 30, 8, 2, DEFAULT_SIZE, none, 8, 2, 4},
        {"rounded up", 100, 30, 0, 0, 1, pow2, 128, 32, 1},
        {"conditional keeps a single level", 100, 30, 0, 0, 1, pow2Conditional, 100, 30, 1},
        {"conditional rounds a chain", 100, 30, 0, 0, 0, pow2Conditional, 128, 32, 8},
        {"square", 100, 30, 0, 0, 1, square, 128, 128, 1},
        {"halved to fit", 200, 40, 0, 0, 0, small, 50, 10, 6},
    };
    for (const auto& c : cases) {
        TextureLayout layout;
        ASSERT_TRUE(PlanTextureLayout(c.imageW, c.imageH, c.w, c.h, c.levels, c.limits, layout)) << c.name;
        EXPECT_EQ(layout.width, c.wantW) << c.name;
        EXPECT_EQ(layout.height, c.wantH) << c.name;
        EXPECT_EQ(layout.levels, c.wantLevels) << c.name;
    }
    TextureLayout layout;
    EXPECT_FALSE(PlanTextureLayout(0, 10, 0, 0, 1, none, layout));
    EXPECT_FALSE(PlanTextureLayout(10, 10, 100000, 0, 1, none, layout));
}

TEST(ImageResample, NearestCopiesWholeTexels) {
    CImage image;
    ASSERT_TRUE(image.Allocate(2, 1));
    image.Row(0)[0] = 10;
    image.Row(0)[4] = 200;
    CImage wide;
    ASSERT_TRUE(ResizeImage(image, 4, 2, wide, true));
    const uint8_t want[4] = {10, 10, 200, 200};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(wide.Row(y)[x * 4], want[x]);
}

} // namespace
