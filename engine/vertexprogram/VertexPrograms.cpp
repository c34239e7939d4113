#include "engine/vertexprogram/VertexPrograms.h"

#include "engine/chunk/ChunkEnums.h"
#include "engine/vertexprogram/VertexProgramWriter.h"

namespace {

// Constant registers, shared with the renderer, the lights, the textures and
// the shaders' Apply.
enum : uint32_t {
    C_WORLD_VIEW_PROJECTION = 0, // c0-c3
    C_VIEW_PROJECTION = 4,       // c4-c7
    C_PROJECTION = 8,            // c8-c11
    C_PALETTE = 12,              // three rows a bone, addressed by a0.x
    C_MODULATE = 74,
    C_HALVES = 75, // (0, 0.5, 1, 2)
    C_ONES = 76,   // (1, 1, 1, 1)
    C_MATERIAL = 78,
    C_AMBIENT = 80,
    C_LIGHT_COLOR = 81,
    C_LIGHT_OBJECT = 82, // directional: (0.5 dir, 0.5); point: (position, 1)
    C_LIGHT_VIEW = 83,
    C_LIGHT_WORLD = 84,
    C_TEXTURE_U = 91,
    C_TEXTURE_V = 92,
};

// Temporaries.
enum : uint32_t {
    R_POSITION = 0, // skinned position (P, 1)
    R_NORMAL = 1,   // skinned normal (N, 1)
    R_LIGHT = 2,    // (0.5 L, 0.5) of a point light
    R_COLOR = 3,
    R_BONE_POSITION = 4,
    R_BONE_NORMAL = 5,
};

constexpr uint32_t VS_XYZ = VS_X | VS_Y | VS_Z;
const char* const COMPONENT[4] = {"x", "y", "z", "w"};

// How the lit colour is finished.
enum : unsigned {
    TAIL_MODULATE = 1,     // × c74
    TAIL_FULL_AMBIENT = 2, // adds c80's alpha too
    TAIL_VERTEX_COLOR = 4, // × v2 before the clamp
};

using VsIn::C;
using VsIn::R;
using VsIn::V;

// oPos = (the matrix at c[base] .. c[base + 3], uploaded transposed) · position.
void TransformPosition(CVertexProgramWriter& w, VsSrc position, uint32_t base) {
    for (uint32_t i = 0; i < 4; ++i)
        w.Dp4(VsOut::Pos().Mask(1u << i), position, C(base + i));
}

// Blends position and normal through the palette: the indices (v3) hold
// 3 × palette index, the weights (v2) are used as stored. Leaves (P, 1) in
// r0 and (N, 1) in r1.
void SkinVertex(CVertexProgramWriter& w, int weights, bool renormalize) {
    for (int k = 0; k < weights; ++k) {
        w.Mov(VsOut::A0(), V(3).Swz(COMPONENT[k]));
        for (uint32_t row = 0; row < 3; ++row)
            w.Dp4(VsOut::R(R_BONE_POSITION).Mask(1u << row), V(0), C(C_PALETTE + row).Rel());
        for (uint32_t row = 0; row < 3; ++row)
            w.Dp3(VsOut::R(R_BONE_NORMAL).Mask(1u << row), V(1), C(C_PALETTE + row).Rel());
        VsSrc weight = V(2).Swz(COMPONENT[k]);
        if (k == 0) {
            w.Mul(VsOut::R(R_POSITION).Mask(VS_XYZ), R(R_BONE_POSITION), weight);
            w.Mul(VsOut::R(R_NORMAL).Mask(VS_XYZ), R(R_BONE_NORMAL), weight);
        } else {
            w.Mad(VsOut::R(R_POSITION).Mask(VS_XYZ), R(R_BONE_POSITION), weight, R(R_POSITION));
            w.Mad(VsOut::R(R_NORMAL).Mask(VS_XYZ), R(R_BONE_NORMAL), weight, R(R_NORMAL));
        }
    }
    w.Mov(VsOut::R(R_POSITION).Mask(VS_W), C(C_ONES));
    if (renormalize) {
        w.Dp3(VsOut::R(R_NORMAL).Mask(VS_W), R(R_NORMAL), R(R_NORMAL));
        w.Rsq(VsOut::R(R_NORMAL).Mask(VS_W), R(R_NORMAL).Swz("w"));
        w.Mul(VsOut::R(R_NORMAL).Mask(VS_XYZ), R(R_NORMAL), R(R_NORMAL).Swz("w"));
    }
    w.Mov(VsOut::R(R_NORMAL).Mask(VS_W), C(C_ONES));
}

// r2 = (0.5 L, 0.5) with L = normalize(light position - vertex position),
// the point light's counterpart of a directional light's register.
void PointLightVector(CVertexProgramWriter& w, VsSrc lightPosition, VsSrc vertexPosition) {
    w.Add(VsOut::R(R_LIGHT).Mask(VS_XYZ), lightPosition, vertexPosition.Neg());
    w.Dp3(VsOut::R(R_LIGHT).Mask(VS_W), R(R_LIGHT), R(R_LIGHT));
    w.Rsq(VsOut::R(R_LIGHT).Mask(VS_W), R(R_LIGHT).Swz("w"));
    w.Mul(VsOut::R(R_LIGHT).Mask(VS_W), R(R_LIGHT).Swz("w"), C(C_HALVES).Swz("y"));
    w.Mul(VsOut::R(R_LIGHT).Mask(VS_XYZ), R(R_LIGHT), R(R_LIGHT).Swz("w"));
    w.Mov(VsOut::R(R_LIGHT).Mask(VS_W), C(C_HALVES).Swz("y"));
}

// The lighting every lit program shares: I = dp4((N, 1), (0.5 L, 0.5)),
// oD0 = min((I × c81.rgb, c81.a) + (c80.rgb, 0), 1) × c78 [× c74].
void LitColor(CVertexProgramWriter& w, VsSrc normal, VsSrc light, unsigned tail) {
    w.Dp4(VsOut::R(R_COLOR).Mask(VS_W), normal, light);
    w.Mul(VsOut::R(R_COLOR).Mask(VS_XYZ), R(R_COLOR).Swz("w"), C(C_LIGHT_COLOR));
    w.Mov(VsOut::R(R_COLOR).Mask(VS_W), C(C_LIGHT_COLOR));
    w.Add(VsOut::R(R_COLOR).Mask((tail & TAIL_FULL_AMBIENT) ? VS_XYZW : VS_XYZ), R(R_COLOR), C(C_AMBIENT));
    if (tail & TAIL_VERTEX_COLOR)
        w.Mul(VsOut::R(R_COLOR), R(R_COLOR), V(2));
    w.Min(VsOut::R(R_COLOR), R(R_COLOR), C(C_ONES));
    if (tail & TAIL_MODULATE) {
        w.Mul(VsOut::R(R_COLOR), R(R_COLOR), C(C_MATERIAL));
        w.Mul(VsOut::D(0), R(R_COLOR), C(C_MODULATE));
    } else {
        w.Mul(VsOut::D(0), R(R_COLOR), C(C_MATERIAL));
    }
}

// The texture coordinate through the texture's transform rows.
void TransformTexcoord(CVertexProgramWriter& w, VsSrc texcoord) {
    w.Dp4(VsOut::T(0).Mask(VS_X), texcoord, C(C_TEXTURE_U));
    w.Dp4(VsOut::T(0).Mask(VS_Y), texcoord, C(C_TEXTURE_V));
}

std::vector<uint32_t> ConstantProgram() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_WORLD_VIEW_PROJECTION);
    w.Mov(VsOut::D(0), C(C_MATERIAL));
    w.Mov(VsOut::T(0), V(1));
    return w.Finish();
}

std::vector<uint32_t> LambertA1D1() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_WORLD_VIEW_PROJECTION);
    LitColor(w, V(1), C(C_LIGHT_OBJECT), TAIL_MODULATE);
    TransformTexcoord(w, V(2));
    return w.Finish();
}

std::vector<uint32_t> LambertA1P1() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_WORLD_VIEW_PROJECTION);
    PointLightVector(w, C(C_LIGHT_OBJECT), V(0));
    LitColor(w, V(1), R(R_LIGHT), 0);
    TransformTexcoord(w, V(2));
    return w.Finish();
}

// Types 2-4 under a directional light: skinned into view space, lit by the
// view-space light; only the 4-weight program renormalises the normal and
// only the 2-weight one adds the ambient alpha.
std::vector<uint32_t> SkinnedA1D(int weights) {
    CVertexProgramWriter w;
    SkinVertex(w, weights, weights == 4);
    TransformPosition(w, R(R_POSITION), C_PROJECTION);
    LitColor(w, R(R_NORMAL), C(C_LIGHT_VIEW), TAIL_MODULATE | (weights == 2 ? TAIL_FULL_AMBIENT : 0u));
    w.Mov(VsOut::T(0), V(4));
    return w.Finish();
}

// Types 2-4 under a point light, in view space.
std::vector<uint32_t> SkinnedA1P1(int weights) {
    CVertexProgramWriter w;
    SkinVertex(w, weights, true);
    TransformPosition(w, R(R_POSITION), C_PROJECTION);
    PointLightVector(w, C(C_LIGHT_VIEW), R(R_POSITION));
    LitColor(w, R(R_NORMAL), R(R_LIGHT), TAIL_MODULATE);
    w.Mov(VsOut::T(0), V(4));
    return w.Finish();
}

std::vector<uint32_t> VertexColorA1D() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_WORLD_VIEW_PROJECTION);
    LitColor(w, V(1), C(C_LIGHT_OBJECT), TAIL_MODULATE | TAIL_VERTEX_COLOR);
    w.Mov(VsOut::T(0), V(3));
    return w.Finish();
}

std::vector<uint32_t> VertexColorA1P1() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_WORLD_VIEW_PROJECTION);
    PointLightVector(w, C(C_LIGHT_OBJECT), V(0));
    LitColor(w, V(1), R(R_LIGHT), TAIL_MODULATE | TAIL_VERTEX_COLOR);
    w.Mov(VsOut::T(0), V(3));
    return w.Finish();
}

// Types 6-8: the vertices arrive skinned on the CPU, in world space.
std::vector<uint32_t> DynamicA1D1() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_VIEW_PROJECTION);
    LitColor(w, V(1), C(C_LIGHT_OBJECT), TAIL_MODULATE);
    w.Mov(VsOut::T(0), V(4));
    return w.Finish();
}

std::vector<uint32_t> DynamicA1P1() {
    CVertexProgramWriter w;
    TransformPosition(w, V(0), C_VIEW_PROJECTION);
    PointLightVector(w, C(C_LIGHT_WORLD), V(0));
    LitColor(w, V(1), R(R_LIGHT), 0);
    w.Mov(VsOut::T(0), V(4));
    return w.Finish();
}

struct ProgramTable {
    std::vector<uint32_t> tokens[VERTEX_PROGRAM_COUNT];

    ProgramTable() {
        tokens[VP_CONSTANT] = ConstantProgram();
        tokens[VP_LAMBERT_A1D1] = LambertA1D1();
        tokens[VP_LAMBERT_A1P1] = LambertA1P1();
        tokens[VP_LAMBERT_2WS_A1D] = SkinnedA1D(2);
        tokens[VP_LAMBERT_3WS_A1D] = SkinnedA1D(3);
        tokens[VP_LAMBERT_4WS_A1D] = SkinnedA1D(4);
        tokens[VP_LAMBERT_2WS_A1P1] = SkinnedA1P1(2);
        tokens[VP_LAMBERT_3WS_A1P1] = SkinnedA1P1(3);
        tokens[VP_LAMBERT_4WS_A1P1] = SkinnedA1P1(4);
        tokens[VP_LAMBERT_VC_A1D] = VertexColorA1D();
        tokens[VP_LAMBERT_VC_A1P1] = VertexColorA1P1();
        tokens[VP_LAMBERT_DY_A1D1] = DynamicA1D1();
        tokens[VP_LAMBERT_DY_A1P1] = DynamicA1P1();
    }
};

const char* const PROGRAM_NAMES[VERTEX_PROGRAM_COUNT] = {
    "HgConstantShader",       "HgLambertShaderA1D1",   "HgLambertShaderA1P1",    "HgLambertShader2WSA1D",
    "HgLambertShader3WSA1D",  "HgLambertShader4WSA1D", "HgLambertShader2WSA1P1", "HgLambertShader3WSA1P1",
    "HgLambertShader4WSA1P1", "HgLambertShaderVCA1D",  "HgLambertShaderVCA1P1",  "HgLambertShaderDYA1D1",
    "HgLambertShaderDYA1P1",
};

// Stream 0, registers v0.. in the order of the geometry's vertex layout.
std::vector<uint32_t> Declaration(std::initializer_list<VsDeclType> elements) {
    CVertexDeclarationWriter d;
    d.Stream(0);
    uint32_t reg = 0;
    for (VsDeclType type : elements)
        d.Reg(reg++, type);
    return d.Finish();
}

struct DeclarationTable {
    std::vector<uint32_t> tokens[SHADER_TYPE_COUNT];

    DeclarationTable() {
        tokens[ST_CONSTANT] = Declaration({VSD_FLOAT3, VSD_FLOAT2});
        tokens[ST_LAMBERT] = Declaration({VSD_FLOAT3, VSD_FLOAT3, VSD_FLOAT2});
        tokens[ST_LAMBERT_2WS] = tokens[ST_LAMBERT_2WS_DY] =
            Declaration({VSD_FLOAT3, VSD_FLOAT3, VSD_FLOAT2, VSD_FLOAT4, VSD_FLOAT2});
        tokens[ST_LAMBERT_3WS] = tokens[ST_LAMBERT_3WS_DY] =
            Declaration({VSD_FLOAT3, VSD_FLOAT3, VSD_FLOAT3, VSD_FLOAT4, VSD_FLOAT2});
        tokens[ST_LAMBERT_4WS] = tokens[ST_LAMBERT_4WS_DY] =
            Declaration({VSD_FLOAT3, VSD_FLOAT3, VSD_FLOAT4, VSD_FLOAT4, VSD_FLOAT2});
        tokens[ST_LAMBERT_VB] = Declaration({VSD_FLOAT3, VSD_FLOAT3, VSD_FLOAT4, VSD_FLOAT2});
    }
};

// The lit types' programs under LS_A1D1 and LS_A1P1.
struct LitPrograms {
    int directional, point;
};
const LitPrograms LIT_PROGRAMS[SHADER_TYPE_COUNT] = {
    {-1, -1}, // ST_CONSTANT: one program for every kind
    {VP_LAMBERT_A1D1, VP_LAMBERT_A1P1},
    {VP_LAMBERT_2WS_A1D, VP_LAMBERT_2WS_A1P1},
    {VP_LAMBERT_3WS_A1D, VP_LAMBERT_3WS_A1P1},
    {VP_LAMBERT_4WS_A1D, VP_LAMBERT_4WS_A1P1},
    {VP_LAMBERT_VC_A1D, VP_LAMBERT_VC_A1P1},
    {VP_LAMBERT_DY_A1D1, VP_LAMBERT_DY_A1P1},
    {VP_LAMBERT_DY_A1D1, VP_LAMBERT_DY_A1P1},
    {VP_LAMBERT_DY_A1D1, VP_LAMBERT_DY_A1P1},
};

const std::vector<uint32_t> NO_TOKENS;

} // namespace

const std::vector<uint32_t>& GetVertexProgramTokens(VertexProgramId id) {
    static const ProgramTable table;
    if (id < 0 || id >= VERTEX_PROGRAM_COUNT)
        return NO_TOKENS;
    return table.tokens[id];
}

const char* GetVertexProgramName(VertexProgramId id) {
    if (id < 0 || id >= VERTEX_PROGRAM_COUNT)
        return "";
    return PROGRAM_NAMES[id];
}

const std::vector<uint32_t>& GetVertexDeclarationTokens(int shaderType) {
    static const DeclarationTable table;
    if (shaderType < 0 || shaderType >= SHADER_TYPE_COUNT)
        return NO_TOKENS;
    return table.tokens[shaderType];
}

int FindVertexProgram(int shaderType, int lightSetKind) {
    if (shaderType < 0 || shaderType >= SHADER_TYPE_COUNT || lightSetKind < 0 || lightSetKind >= LIGHT_SET_KIND_COUNT)
        return -1;
    if (shaderType == ST_CONSTANT)
        return VP_CONSTANT;
    if (lightSetKind == LS_A1D1)
        return LIT_PROGRAMS[shaderType].directional;
    if (lightSetKind == LS_A1P1)
        return LIT_PROGRAMS[shaderType].point;
    return -1;
}
