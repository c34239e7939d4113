#include <gtest/gtest.h>

#include "engine/math/Color.h"

namespace {

void ExpectColour(const ColorRGBA& c, float r, float g, float b, float a) {
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
    EXPECT_FLOAT_EQ(c.a, a);
}

TEST(ColorRGBA, UnsetColourIsNeutralGreyWithNoAlpha) {
    ColorRGBA plain;
    ExpectColour(plain, 0.8f, 0.8f, 0.8f, 0.0f);
    ColorRGBA braced{};
    ExpectColour(braced, 0.8f, 0.8f, 0.8f, 0.0f);
    ColorRGBA several[2];
    ExpectColour(several[1], 0.8f, 0.8f, 0.8f, 0.0f);
}

TEST(ColorRGBA, SetAddAndScaleWorkOnAllFourComponents) {
    ColorRGBA c;
    c.Set(0.1f, 0.2f, 0.3f, 0.4f).Add(ColorRGBA(1, 2, 3, 4)).Scale(2);
    ExpectColour(c, 2.2f, 4.4f, 6.6f, 8.8f);
}

} // namespace
