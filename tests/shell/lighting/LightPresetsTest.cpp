#include <gtest/gtest.h>

#include "shell/lighting/LightPresets.h"

namespace {

void ExpectColour(const ColorRGBA& c, float r, float g, float b, float a) {
    EXPECT_NEAR(c.r, r, 1e-5f);
    EXPECT_NEAR(c.g, g, 1e-5f);
    EXPECT_NEAR(c.b, b, 1e-5f);
    EXPECT_NEAR(c.a, a, 1e-5f);
}

bool Same(const ColorRGBA& x, const ColorRGBA& y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; }

TEST(LightPresets, TableHoldsTheFivePresets) {
    struct Row {
        float light[3], ambient[3], item[3], itemAmbient[3];
    };
    const Row rows[LP_COUNT] = {
        {{0.8f, 0.8f, 0.95f}, {0.5f, 0.5f, 0.8f}, {0.35f, 0.35f, 0.35f}, {0.65f, 0.65f, 0.7f}},
        {{1.0f, 1.0f, 1.0f}, {0.45f, 0.4f, 0.55f}, {0.5f, 0.5f, 0.5f}, {0.7f, 0.7f, 0.7f}},
        {{0.9f, 0.9f, 0.5f}, {0.4f, 0.3f, 0.55f}, {0.5f, 0.4f, 0.3f}, {0.6f, 0.6f, 0.6f}},
        {{0.8f, 0.8f, 0.8f}, {0.2f, 0.2f, 0.3f}, {0.75f, 0.7f, 0.6f}, {0.5f, 0.5f, 0.5f}},
        {{0.3f, 0.3f, 0.6f}, {0.2f, 0.2f, 0.5f}, {0.3f, 0.3f, 0.3f}, {0.3f, 0.3f, 0.3f}},
    };
    for (int i = 0; i < LP_COUNT; ++i) {
        SCOPED_TRACE(i);
        LightPreset p;
        ASSERT_TRUE(GetLightPreset(i, p));
        const Row& r = rows[i];
        ExpectColour(p.roomLight, r.light[0], r.light[1], r.light[2], 1);
        ExpectColour(p.roomAmbient, r.ambient[0], r.ambient[1], r.ambient[2], 1);
        ExpectColour(p.itemLight, r.item[0], r.item[1], r.item[2], 1);
        ExpectColour(p.itemAmbient, r.itemAmbient[0], r.itemAmbient[1], r.itemAmbient[2], 1);
    }
}

TEST(LightPresets, EvenBlendOfMorningAndAfternoon) {
    LightPreset b;
    ASSERT_TRUE(BlendLightPresets(LP_MORNING, 0.5f, LP_AFTERNOON, 0.5f, b));
    ExpectColour(b.roomLight, 0.9f, 0.9f, 0.975f, 1.0f);
    ExpectColour(b.roomAmbient, 0.475f, 0.45f, 0.675f, 1.0f);
    ExpectColour(b.itemLight, 0.425f, 0.425f, 0.425f, 1.0f);
    ExpectColour(b.itemAmbient, 0.675f, 0.675f, 0.7f, 1.0f);
}

TEST(LightPresets, FullWeightGivesThePresetExactly) {
    LightPreset night, b;
    ASSERT_TRUE(GetLightPreset(LP_NIGHT_LIGHT_ON, night));
    ASSERT_TRUE(BlendLightPresets(LP_NIGHT_LIGHT_ON, 1, LP_MORNING, 0, b));
    EXPECT_TRUE(Same(b.roomLight, night.roomLight));
    EXPECT_TRUE(Same(b.roomAmbient, night.roomAmbient));
    EXPECT_TRUE(Same(b.itemLight, night.itemLight));
    EXPECT_TRUE(Same(b.itemAmbient, night.itemAmbient));
}

TEST(LightPresets, WeightsScaleAlphaToo) {
    // The weights are not normalised: what they sum to is what alpha becomes.
    LightPreset b;
    ASSERT_TRUE(BlendLightPresets(LP_EVENING, 0.25f, LP_NIGHT_LIGHT_OFF, 0.25f, b));
    ExpectColour(b.roomLight, 0.3f, 0.3f, 0.275f, 0.5f);
    ExpectColour(b.itemAmbient, 0.225f, 0.225f, 0.225f, 0.5f);
}

TEST(LightPresets, IndexOutsideTheTableIsRefused) {
    const int bad[][2] = {{-1, 0}, {0, 5}, {5, 5}, {1000000, 1}, {-2147483647 - 1, 0}};
    for (const auto& pair : bad) {
        SCOPED_TRACE(pair[0]);
        LightPreset b;
        b.roomLight = ColorRGBA(0.125f, 0.25f, 0.5f, 1);
        EXPECT_FALSE(BlendLightPresets(pair[0], 1, pair[1], 0, b));
        ExpectColour(b.roomLight, 0.125f, 0.25f, 0.5f, 1);
        LightPreset p;
        EXPECT_FALSE(GetLightPreset(pair[0] == 0 ? pair[1] : pair[0], p));
    }
}

} // namespace
