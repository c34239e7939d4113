#include <gtest/gtest.h>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/EnumNames.h"
#include "engine/chunk/VertexSize.h"

namespace {

TEST(GetVertexSize, SumsTheSetElementsAndIgnoresHighBits) {
    EXPECT_EQ(GetVertexSize(0), 0);
    EXPECT_EQ(GetVertexSize(0x801), 20); // position, texcoord 0
    EXPECT_EQ(GetVertexSize(0x803), 32);
    EXPECT_EQ(GetVertexSize(0xCC3), 56);
    EXPECT_EQ(GetVertexSize(0xDC3), 60);
    EXPECT_EQ(GetVertexSize(0xFC3), 64);
    EXPECT_EQ(GetVertexSize(0x813), 48);
    EXPECT_EQ(GetVertexSize(0x7FFFF), 4 * 12 + 2 * 16 + 4 * 4 + 16 + 8 * 8);
    EXPECT_EQ(GetVertexSize(0xFFF80000u), 0);
    EXPECT_EQ(GetVertexSize(0xFFF80801u), 20);
}

TEST(ShaderVertexMask, EachShaderTypeHasItsStoredLayout) {
    struct Case {
        int type;
        uint32_t mask;
        int bytes;
    } cases[] = {
        {ST_CONSTANT, 0x801, 20},       {ST_LAMBERT, 0x803, 32},
        {ST_LAMBERT_2WS, 0xCC3, 56},    {ST_LAMBERT_3WS, 0xDC3, 60},
        {ST_LAMBERT_4WS, 0xFC3, 64},    {ST_LAMBERT_VB, 0x813, 48},
        {ST_LAMBERT_2WS_DY, 0xCC3, 56}, {ST_LAMBERT_3WS_DY, 0xDC3, 60},
        {ST_LAMBERT_4WS_DY, 0xFC3, 64}, {-1, 0, 0},
        {SHADER_TYPE_COUNT, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShaderVertexMask(c.type), c.mask) << ShaderTypeName(c.type);
        EXPECT_EQ(GetVertexSize(ShaderVertexMask(c.type)), c.bytes) << ShaderTypeName(c.type);
    }
}

TEST(EnumNames, NamesInTableOrderAndUnknownOutside) {
    EXPECT_STREQ(VertexElementName(VE_TEXCOORDINATE_7), "VE_TEXCOORDINATE_7");
    EXPECT_STREQ(VertexElementName(19), "VE_UNKNOWN");
    EXPECT_STREQ(ShaderTypeName(ST_LAMBERT_4WS_DY), "ST_LAMBERT_4WS_DY");
    EXPECT_STREQ(ShaderTypeName(-1), "ST_UNKNOWN");
    EXPECT_STREQ(LightSetKindName(LS_A1P3), "LS_A1P3");
    EXPECT_STREQ(AnimAttributeName(20), "AA_TRANSLUCENT");
    EXPECT_STREQ(AnimAttributeName(21), "AA_UNKNOWN");
    EXPECT_STREQ(TextureAddressName(TAM_CLAMP), "TAM_CLAMP");
    EXPECT_STREQ(TextureFilterName(4), "TFM_UNKNOWN");
    EXPECT_STREQ(PrimitiveTypeName(PT_TRIANGLE_FAN), "PT_TRIANGLE_FAN");
    EXPECT_STREQ(InterpolationTypeName(AI_CUBIC), "AI_CUBIC");
    EXPECT_STREQ(LightTypeName(LT_POINT), "LT_POINT");
    EXPECT_STREQ(AnimWriteTypeName(1), "AWT_BLEND");
    EXPECT_STREQ(GeometryTypeName(0), "GT_INDEXED");
}

} // namespace
