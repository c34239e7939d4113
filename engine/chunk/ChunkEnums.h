#pragma once

// The stored values of the chunk records, shared by the loaders, the engine
// classes that use them and the host-side writer. ResourceKind lives with the
// registry and AnimAttribute with the animation channels.

// Bit numbers of a vertex-format mask.
enum VertexElement {
    VE_POSITION = 0,
    VE_NORMAL,
    VE_TANGENT,
    VE_BINORMAL,
    VE_COLOR_0,
    VE_COLOR_1,
    VE_WEIGHT_0,
    VE_WEIGHT_1,
    VE_WEIGHT_2,
    VE_WEIGHT_3,
    VE_WEIGHT_INDICES,
    VE_TEXCOORDINATE_0,
    VE_TEXCOORDINATE_1,
    VE_TEXCOORDINATE_2,
    VE_TEXCOORDINATE_3,
    VE_TEXCOORDINATE_4,
    VE_TEXCOORDINATE_5,
    VE_TEXCOORDINATE_6,
    VE_TEXCOORDINATE_7,
};
constexpr int VERTEX_ELEMENT_COUNT = 19;

// Index-group primitive types; Direct3D's own values are 4, 5 and 6.
enum PrimitiveType {
    PT_TRIANGLE_LIST = 0,
    PT_TRIANGLE_STRIP,
    PT_TRIANGLE_FAN,
};
constexpr int PRIMITIVE_TYPE_COUNT = 3;

enum GeometryType {
    GT_INDEXED = 0,
};
constexpr int GEOMETRY_TYPE_COUNT = 1;

enum ShaderType {
    ST_CONSTANT = 0,
    ST_LAMBERT,
    ST_LAMBERT_2WS,
    ST_LAMBERT_3WS,
    ST_LAMBERT_4WS,
    ST_LAMBERT_VB,
    ST_LAMBERT_2WS_DY,
    ST_LAMBERT_3WS_DY,
    ST_LAMBERT_4WS_DY,
};
constexpr int SHADER_TYPE_COUNT = 9;

inline bool IsSkinnedShaderType(int type) {
    return (type >= ST_LAMBERT_2WS && type <= ST_LAMBERT_4WS) ||
           (type >= ST_LAMBERT_2WS_DY && type <= ST_LAMBERT_4WS_DY);
}
inline bool IsDynamicShaderType(int type) { return type >= ST_LAMBERT_2WS_DY && type <= ST_LAMBERT_4WS_DY; }

enum LightSetKind {
    LS_NON = 0,
    LS_A1,
    LS_A1D1,
    LS_A1D1P1,
    LS_A1D1P2,
    LS_A1D2,
    LS_A1D2P1,
    LS_A1D3,
    LS_A1P1,
    LS_A1P2,
    LS_A1P3,
};
constexpr int LIGHT_SET_KIND_COUNT = 11;

enum LightType {
    LT_AMBIENT = 0,
    LT_DIRECTIONAL,
    LT_POINT,
};
constexpr int LIGHT_TYPE_COUNT = 3;

enum TextureFilter {
    TFM_NONE = 0,
    TFM_POINT,
    TFM_LINEAR,
    TFM_ANISOTROPIC,
};
constexpr int TEXTURE_FILTER_COUNT = 4;

enum TextureAddress {
    TAM_WRAP = 0,
    TAM_MIRROR,
    TAM_CLAMP,
};
constexpr int TEXTURE_ADDRESS_COUNT = 3;

enum InterpolationType {
    AI_LINEAR = 0,
    AI_CUBIC,
};
constexpr int INTERPOLATION_TYPE_COUNT = 2;
