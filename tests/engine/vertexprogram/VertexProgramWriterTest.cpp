#include <gtest/gtest.h>

#include "engine/vertexprogram/VertexProgramWriter.h"

namespace {

TEST(VertexProgramWriter, EncodesInstructionsAndRegisters) {
    CVertexProgramWriter w;
    w.Dp4(VsOut::Pos().Mask(VS_X), VsIn::V(0), VsIn::C(0));
    w.Mov(VsOut::A0(), VsIn::R(1).Swz("y"));
    w.Mad(VsOut::D(0), VsIn::C(12).Rel(), VsIn::V(3).Swz("xxxx").Neg(), VsIn::R(11));
    w.Mov(VsOut::T(1).Mask(VS_X | VS_Y), VsIn::V(7));
    std::vector<uint32_t> t = w.Finish();
    std::vector<uint32_t> want = {
        0xFFFE0101, // vs_1_1
        9,
        0x80000000 | (4u << 28) | (1u << 16),
        0x80000000 | (1u << 28) | (0xE4u << 16),
        0x80000000 | (2u << 28) | (0xE4u << 16),
        1,
        0x80000000 | (3u << 28) | (1u << 16),
        0x80000000 | (0u << 28) | (0x55u << 16) | 1,
        4,
        0x80000000 | (5u << 28) | (15u << 16),
        0x80000000 | (2u << 28) | (0xE4u << 16) | (1u << 13) | 12,
        0x80000000 | (1u << 28) | (0x00u << 16) | (1u << 24) | 3,
        0x80000000 | (0u << 28) | (0xE4u << 16) | 11,
        1,
        0x80000000 | (6u << 28) | (3u << 16) | 1,
        0x80000000 | (1u << 28) | (0xE4u << 16) | 7,
        0x0000FFFF,
    };
    EXPECT_EQ(t, want);
}

TEST(VertexProgramWriter, SwizzleLettersAndDeclaration) {
    EXPECT_EQ((VsIn::R(0).Swz("wzyx").Token() >> 16) & 0xFF, 0x1Bu);
    EXPECT_EQ((VsIn::R(0).Swz("xy").Token() >> 16) & 0xFF, 0x54u); // x y y y
    EXPECT_EQ(VsIn::R(0).Neg().Neg().Token(), VsIn::R(0).Token());
    CVertexDeclarationWriter d;
    d.Stream(0);
    d.Reg(0, VSD_FLOAT3);
    d.Reg(5, VSD_D3DCOLOR);
    std::vector<uint32_t> want = {0x20000000, 0x40020000, 0x40040005, 0xFFFFFFFF};
    EXPECT_EQ(d.Finish(), want);
}

} // namespace
