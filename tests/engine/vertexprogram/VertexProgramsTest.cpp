#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/chunk/ChunkEnums.h"
#include "engine/chunk/VertexSize.h"
#include "engine/vertexprogram/VertexProgramWriter.h"
#include "engine/vertexprogram/VertexPrograms.h"

namespace {

// Reads a vs_1_1 token stream the way a strict driver would and reports the
// first thing it would refuse, or "" when the program is well-formed.
// inputCount: the declaration's registers v0 .. v(inputCount - 1).
struct ProgramCheck {
    std::string error;
    std::set<uint32_t> inputsRead;
    uint32_t written[VS_REG_TEXCRDOUT + 1][16] = {};
    int instructions = 0;
};

int SourceCount(uint32_t opcode) {
    switch (opcode) {
    case 1:
    case 6:
    case 7:
    case 14:
    case 15:
    case 16:
    case 19:
    case 78:
    case 79: return 1;
    case 2:
    case 5:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 17: return 2;
    case 4: return 3;
    default: return -1;
    }
}

// Which source components an instruction reads, as swizzle positions.
std::vector<int> ReadPositions(uint32_t opcode, uint32_t mask) {
    if (opcode == 8)
        return {0, 1, 2};
    if (opcode == 9)
        return {0, 1, 2, 3};
    if (opcode == 6 || opcode == 7)
        return {0};
    std::vector<int> out;
    for (int i = 0; i < 4; ++i)
        if (mask & (1u << i))
            out.push_back(i);
    return out;
}

ProgramCheck CheckProgram(const std::vector<uint32_t>& t, uint32_t inputCount) {
    ProgramCheck c;
    auto fail = [&](size_t at, const std::string& why) {
        if (c.error.empty())
            c.error = "token " + std::to_string(at) + ": " + why;
    };
    if (t.size() < 2 || t.front() != 0xFFFE0101u || t.back() != 0x0000FFFFu) {
        c.error = "no vs_1_1 version or end token";
        return c;
    }
    size_t i = 1;
    while (i < t.size() - 1 && c.error.empty()) {
        uint32_t opcode = t[i];
        int sources = SourceCount(opcode);
        if (sources < 0 || i + 1 + sources >= t.size()) {
            fail(i, "unknown opcode or operands past the end");
            break;
        }
        ++c.instructions;
        uint32_t dst = t[i + 1];
        uint32_t dType = (dst >> 28) & 7, dNum = dst & 0x7FF, dMask = (dst >> 16) & 15;
        if (!(dst & 0x80000000u) || dMask == 0 || (dst & 0x0F00E000u))
            fail(i + 1, "bad destination token");
        bool dstOk = (dType == VS_REG_TEMP && dNum < 12) || (dType == VS_REG_ADDR && dNum == 0 && dMask == VS_X) ||
                     (dType == VS_REG_RASTOUT && dNum == 0) || (dType == VS_REG_ATTROUT && dNum < 2) ||
                     (dType == VS_REG_TEXCRDOUT && dNum < 4);
        if (!dstOk)
            fail(i + 1, "destination register not writable");
        std::set<uint32_t> constants, inputs;
        for (int s = 0; s < sources; ++s) {
            uint32_t src = t[i + 2 + s];
            uint32_t type = (src >> 28) & 7, num = src & 0x7FF;
            uint32_t mod = (src >> 24) & 15;
            bool relative = (src & (1u << 13)) != 0;
            if (!(src & 0x80000000u) || (mod != 0 && mod != 1) || (src & 0x0000C000u))
                fail(i + 2 + s, "bad source token");
            if (relative && (type != VS_REG_CONST || !(c.written[VS_REG_ADDR][0] & VS_X)))
                fail(i + 2 + s, "relative address without a0.x");
            int swz[4];
            for (int k = 0; k < 4; ++k)
                swz[k] = (src >> (16 + 2 * k)) & 3;
            if ((opcode == 6 || opcode == 7 || dType == VS_REG_ADDR) &&
                !(swz[0] == swz[1] && swz[1] == swz[2] && swz[2] == swz[3]))
                fail(i + 2 + s, "scalar source without a replicate swizzle");
            switch (type) {
            case VS_REG_TEMP:
                if (num >= 12) {
                    fail(i + 2 + s, "no such temporary");
                    break;
                }
                for (int pos : ReadPositions(opcode, dMask))
                    if (!(c.written[VS_REG_TEMP][num] & (1u << swz[pos])))
                        fail(i + 2 + s, "r" + std::to_string(num) + " read before written");
                break;
            case VS_REG_INPUT:
                if (num >= inputCount)
                    fail(i + 2 + s, "v" + std::to_string(num) + " not in the declaration");
                inputs.insert(num);
                c.inputsRead.insert(num);
                break;
            case VS_REG_CONST:
                if (num + (relative ? 3 * 19 + 2 : 0) >= 96)
                    fail(i + 2 + s, "constant out of range");
                constants.insert(num | (relative ? 0x1000u : 0u));
                break;
            default: fail(i + 2 + s, "register kind not readable");
            }
        }
        // vs_1_1 reads one constant and one input register per instruction.
        if (constants.size() > 1 || inputs.size() > 1)
            fail(i, "more than one constant or input register in one instruction");
        if (dType <= VS_REG_TEXCRDOUT && dNum < 16)
            c.written[dType][dNum] |= dMask;
        i += 2 + sources;
    }
    if (c.error.empty() && i != t.size() - 1)
        c.error = "instructions run into the end token";
    if (c.instructions > 128)
        c.error = "more than 128 instructions";
    return c;
}

uint32_t DeclarationInputCount(int type) {
    const std::vector<uint32_t>& d = GetVertexDeclarationTokens(type);
    return d.empty() ? 0 : (uint32_t)d.size() - 2;
}

TEST(VertexPrograms, EveryProgramIsWellFormedForEachTypeItServes) {
    for (int id = 0; id < VERTEX_PROGRAM_COUNT; ++id) {
        SCOPED_TRACE(GetVertexProgramName((VertexProgramId)id));
        const std::vector<uint32_t>& tokens = GetVertexProgramTokens((VertexProgramId)id);
        int servedTypes = 0;
        for (int type = 0; type < SHADER_TYPE_COUNT; ++type) {
            bool serves = false;
            for (int kind = 0; kind < LIGHT_SET_KIND_COUNT; ++kind)
                serves = serves || FindVertexProgram(type, kind) == id;
            if (!serves)
                continue;
            ++servedTypes;
            SCOPED_TRACE("shader type " + std::to_string(type));
            uint32_t inputs = DeclarationInputCount(type);
            ProgramCheck c = CheckProgram(tokens, inputs);
            ASSERT_EQ(c.error, "");
            EXPECT_EQ(c.written[VS_REG_RASTOUT][0], (uint32_t)VS_XYZW) << "oPos";
            EXPECT_EQ(c.written[VS_REG_ATTROUT][0], (uint32_t)VS_XYZW) << "oD0";
            EXPECT_EQ(c.written[VS_REG_TEXCRDOUT][0] & (VS_X | VS_Y), (uint32_t)(VS_X | VS_Y)) << "oT0";
            // Position and texture coordinate (the last register) are always used.
            EXPECT_TRUE(c.inputsRead.count(0));
            EXPECT_TRUE(c.inputsRead.count(inputs - 1));
        }
        EXPECT_GT(servedTypes, 0);
    }
}

TEST(VertexPrograms, CheckerRefusesBrokenPrograms) {
    auto check = [](void (*write)(CVertexProgramWriter&)) {
        CVertexProgramWriter w;
        write(w);
        return CheckProgram(w.Finish(), 2).error;
    };
    EXPECT_EQ(check([](CVertexProgramWriter& w) { w.Mov(VsOut::Pos(), VsIn::V(1)); }), "");
    EXPECT_NE(check([](CVertexProgramWriter& w) { w.Mov(VsOut::Pos(), VsIn::V(2)); }), "");
    EXPECT_NE(check([](CVertexProgramWriter& w) { w.Mov(VsOut::Pos(), VsIn::R(0)); }), "");
    EXPECT_NE(check([](CVertexProgramWriter& w) { w.Add(VsOut::Pos(), VsIn::C(1), VsIn::C(2)); }), "");
    EXPECT_NE(check([](CVertexProgramWriter& w) { w.Add(VsOut::Pos(), VsIn::V(0), VsIn::V(1)); }), "");
    EXPECT_NE(check([](CVertexProgramWriter& w) { w.Mov(VsOut::Pos(), VsIn::C(12).Rel()); }), "");
    EXPECT_NE(check([](CVertexProgramWriter& w) {
                  w.Mov(VsOut::R(0).Mask(VS_X), VsIn::V(0));
                  w.Mov(VsOut::Pos(), VsIn::R(0).Swz("xy"));
              }),
              "");
}

TEST(VertexPrograms, DeclarationsFollowTheVertexLayouts) {
    const uint32_t position = 1u << VE_POSITION, normal = 1u << VE_NORMAL, texcoord = 1u << VE_TEXCOORDINATE_0,
                   color = 1u << VE_COLOR_0, indices = 1u << VE_WEIGHT_INDICES;
    auto weights = [](int n) {
        uint32_t m = 0;
        for (int k = 0; k < n; ++k)
            m |= 1u << (VE_WEIGHT_0 + k);
        return m;
    };
    struct Case {
        int type;
        std::vector<VsDeclType> registers;
        uint32_t layout;
    };
    const VsDeclType F2 = VSD_FLOAT2, F3 = VSD_FLOAT3, F4 = VSD_FLOAT4;
    const Case cases[] = {
        {ST_CONSTANT, {F3, F2}, position | texcoord},
        {ST_LAMBERT, {F3, F3, F2}, position | normal | texcoord},
        {ST_LAMBERT_2WS, {F3, F3, F2, F4, F2}, position | normal | weights(2) | indices | texcoord},
        {ST_LAMBERT_3WS, {F3, F3, F3, F4, F2}, position | normal | weights(3) | indices | texcoord},
        {ST_LAMBERT_4WS, {F3, F3, F4, F4, F2}, position | normal | weights(4) | indices | texcoord},
        {ST_LAMBERT_VB, {F3, F3, F4, F2}, position | normal | color | texcoord},
        {ST_LAMBERT_2WS_DY, {F3, F3, F2, F4, F2}, position | normal | weights(2) | indices | texcoord},
        {ST_LAMBERT_3WS_DY, {F3, F3, F3, F4, F2}, position | normal | weights(3) | indices | texcoord},
        {ST_LAMBERT_4WS_DY, {F3, F3, F4, F4, F2}, position | normal | weights(4) | indices | texcoord},
    };
    const int bytes[] = {4, 8, 12, 16};
    for (const Case& c : cases) {
        SCOPED_TRACE("shader type " + std::to_string(c.type));
        std::vector<uint32_t> want = {0x20000000u};
        int size = 0;
        for (size_t r = 0; r < c.registers.size(); ++r) {
            want.push_back(0x40000000u | ((uint32_t)c.registers[r] << 16) | (uint32_t)r);
            size += bytes[c.registers[r]];
        }
        want.push_back(0xFFFFFFFFu);
        EXPECT_EQ(GetVertexDeclarationTokens(c.type), want);
        EXPECT_EQ(size, GetVertexSize(c.layout)); // the stream packs the geometry's vertex as it is
    }
    EXPECT_TRUE(GetVertexDeclarationTokens(-1).empty());
    EXPECT_TRUE(GetVertexDeclarationTokens(SHADER_TYPE_COUNT).empty());
}

TEST(VertexPrograms, ProgramTableByTypeAndLightSetKind) {
    // Lit types: {LS_A1D1, LS_A1P1}.
    const int lit[SHADER_TYPE_COUNT][2] = {
        {VP_CONSTANT, VP_CONSTANT},
        {VP_LAMBERT_A1D1, VP_LAMBERT_A1P1},
        {VP_LAMBERT_2WS_A1D, VP_LAMBERT_2WS_A1P1},
        {VP_LAMBERT_3WS_A1D, VP_LAMBERT_3WS_A1P1},
        {VP_LAMBERT_4WS_A1D, VP_LAMBERT_4WS_A1P1},
        {VP_LAMBERT_VC_A1D, VP_LAMBERT_VC_A1P1},
        {VP_LAMBERT_DY_A1D1, VP_LAMBERT_DY_A1P1},
        {VP_LAMBERT_DY_A1D1, VP_LAMBERT_DY_A1P1},
        {VP_LAMBERT_DY_A1D1, VP_LAMBERT_DY_A1P1},
    };
    for (int type = 0; type < SHADER_TYPE_COUNT; ++type)
        for (int kind = 0; kind < LIGHT_SET_KIND_COUNT; ++kind) {
            int want = type == ST_CONSTANT ? VP_CONSTANT
                       : kind == LS_A1D1   ? lit[type][0]
                       : kind == LS_A1P1   ? lit[type][1]
                                           : -1;
            EXPECT_EQ(FindVertexProgram(type, kind), want) << "type " << type << " kind " << kind;
        }
    const std::pair<int, int> outside[] = {{-1, 2}, {9, 2}, {0, -1}, {0, 11}, {1, 11}};
    for (auto [type, kind] : outside)
        EXPECT_EQ(FindVertexProgram(type, kind), -1) << type << ", " << kind;
}

TEST(VertexPrograms, NamesAndOutOfRangeIds) {
    EXPECT_STREQ(GetVertexProgramName(VP_CONSTANT), "HgConstantShader");
    EXPECT_STREQ(GetVertexProgramName(VP_LAMBERT_3WS_A1P1), "HgLambertShader3WSA1P1");
    EXPECT_STREQ(GetVertexProgramName(VP_LAMBERT_DY_A1P1), "HgLambertShaderDYA1P1");
    std::set<std::string> names;
    std::set<std::vector<uint32_t>> programs;
    for (int id = 0; id < VERTEX_PROGRAM_COUNT; ++id) {
        names.insert(GetVertexProgramName((VertexProgramId)id));
        programs.insert(GetVertexProgramTokens((VertexProgramId)id));
    }
    EXPECT_EQ(names.size(), (size_t)VERTEX_PROGRAM_COUNT);
    EXPECT_EQ(programs.size(), (size_t)VERTEX_PROGRAM_COUNT); // no two programs alike
    EXPECT_STREQ(GetVertexProgramName(VERTEX_PROGRAM_COUNT), "");
    EXPECT_TRUE(GetVertexProgramTokens(VERTEX_PROGRAM_COUNT).empty());
}

} // namespace
