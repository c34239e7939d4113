#pragma once
#include <cstdint>
#include <vector>

// Writes vs_1_1 vertex programs and their stream declarations as the token
// streams Direct3D 8 takes, one helper per instruction and register kind, so
// programs read like assembly in the code:
//
//   CVertexProgramWriter w;
//   w.Dp4(VsOut::Pos().Mask(VS_X), VsIn::V(0), VsIn::C(0));
//   w.Mov(VsOut::D(0), VsIn::C(8).Rel());   // c[a0.x + 8]

enum VsRegisterType : uint32_t {
    VS_REG_TEMP = 0,
    VS_REG_INPUT = 1,
    VS_REG_CONST = 2,
    VS_REG_ADDR = 3,
    VS_REG_RASTOUT = 4,
    VS_REG_ATTROUT = 5,
    VS_REG_TEXCRDOUT = 6,
};

// Write-mask bits.
enum : uint32_t {
    VS_X = 1,
    VS_Y = 2,
    VS_Z = 4,
    VS_W = 8,
    VS_XYZW = 15
};

// A destination register with its write mask.
struct VsDst {
    uint32_t type;
    uint32_t number;
    uint32_t mask = VS_XYZW;

    VsDst Mask(uint32_t m) const { return {type, number, m}; }
    uint32_t Token() const;
};

// A source register with swizzle, negation and a0.x-relative addressing.
struct VsSrc {
    uint32_t type;
    uint32_t number;
    uint8_t swizzle[4] = {0, 1, 2, 3};
    bool negate = false;
    bool relative = false;

    // Components by letter: "xxxx", "yzwx"; fewer letters repeat the last.
    VsSrc Swz(const char* components) const;
    VsSrc Neg() const;
    VsSrc Rel() const;
    uint32_t Token() const;
};

namespace VsIn {
inline VsSrc V(uint32_t n) { return {VS_REG_INPUT, n}; }
inline VsSrc C(uint32_t n) { return {VS_REG_CONST, n}; }
inline VsSrc R(uint32_t n) { return {VS_REG_TEMP, n}; }
} // namespace VsIn

namespace VsOut {
inline VsDst R(uint32_t n) { return {VS_REG_TEMP, n}; }
inline VsDst A0() { return {VS_REG_ADDR, 0, VS_X}; }
inline VsDst Pos() { return {VS_REG_RASTOUT, 0}; }
inline VsDst Fog() { return {VS_REG_RASTOUT, 1, VS_X}; }
inline VsDst D(uint32_t n) { return {VS_REG_ATTROUT, n}; }
inline VsDst T(uint32_t n) { return {VS_REG_TEXCRDOUT, n}; }
} // namespace VsOut

class CVertexProgramWriter {
public:
    CVertexProgramWriter();

    void Mov(VsDst d, VsSrc a) { Op(1, d, {a}); }
    void Add(VsDst d, VsSrc a, VsSrc b) { Op(2, d, {a, b}); }
    void Mad(VsDst d, VsSrc a, VsSrc b, VsSrc c) { Op(4, d, {a, b, c}); }
    void Mul(VsDst d, VsSrc a, VsSrc b) { Op(5, d, {a, b}); }
    void Rcp(VsDst d, VsSrc a) { Op(6, d, {a}); }
    void Rsq(VsDst d, VsSrc a) { Op(7, d, {a}); }
    void Dp3(VsDst d, VsSrc a, VsSrc b) { Op(8, d, {a, b}); }
    void Dp4(VsDst d, VsSrc a, VsSrc b) { Op(9, d, {a, b}); }
    void Min(VsDst d, VsSrc a, VsSrc b) { Op(10, d, {a, b}); }
    void Max(VsDst d, VsSrc a, VsSrc b) { Op(11, d, {a, b}); }
    void Slt(VsDst d, VsSrc a, VsSrc b) { Op(12, d, {a, b}); }
    void Sge(VsDst d, VsSrc a, VsSrc b) { Op(13, d, {a, b}); }
    void Exp(VsDst d, VsSrc a) { Op(14, d, {a}); }
    void Log(VsDst d, VsSrc a) { Op(15, d, {a}); }
    void Lit(VsDst d, VsSrc a) { Op(16, d, {a}); }
    void Dst(VsDst d, VsSrc a, VsSrc b) { Op(17, d, {a, b}); }
    void Frc(VsDst d, VsSrc a) { Op(19, d, {a}); }
    // The matrix forms read rows a and b, b+1, ... of consecutive constants.
    void M4x4(VsDst d, VsSrc a, VsSrc b) { Op(20, d, {a, b}); }
    void M4x3(VsDst d, VsSrc a, VsSrc b) { Op(21, d, {a, b}); }
    void M3x4(VsDst d, VsSrc a, VsSrc b) { Op(22, d, {a, b}); }
    void M3x3(VsDst d, VsSrc a, VsSrc b) { Op(23, d, {a, b}); }
    void M3x2(VsDst d, VsSrc a, VsSrc b) { Op(24, d, {a, b}); }
    void Expp(VsDst d, VsSrc a) { Op(78, d, {a}); }
    void Logp(VsDst d, VsSrc a) { Op(79, d, {a}); }

    // The finished program, ending token included; the writer can go on after.
    std::vector<uint32_t> Finish() const;

private:
    void Op(uint32_t opcode, VsDst d, std::initializer_list<VsSrc> sources);
    std::vector<uint32_t> m_tokens;
};

// Stream declarations: which vertex register each stream element feeds.
enum VsDeclType : uint32_t {
    VSD_FLOAT1 = 0,
    VSD_FLOAT2 = 1,
    VSD_FLOAT3 = 2,
    VSD_FLOAT4 = 3,
    VSD_D3DCOLOR = 4,
    VSD_UBYTE4 = 5,
};

class CVertexDeclarationWriter {
public:
    void Stream(uint32_t stream) { m_tokens.push_back((1u << 29) | stream); }
    void Reg(uint32_t vertexRegister, VsDeclType type) {
        m_tokens.push_back((2u << 29) | ((uint32_t)type << 16) | vertexRegister);
    }
    std::vector<uint32_t> Finish() const;

private:
    std::vector<uint32_t> m_tokens;
};
