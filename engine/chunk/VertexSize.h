#pragma once
#include <cstdint>

#include "engine/chunk/ChunkEnums.h"

// Bytes of one element of a vertex-format mask, by bit; 0 above the last element.
int GetVertexElementSize(int element);
// Bytes per vertex: the sum over the set bits 0 to 18; higher bits count nothing.
int GetVertexSize(uint32_t mask);

// The vertex-element mask of the geometry a shader type draws (its stream
// declaration as VertexElement bits); 0 for a value outside the types. The
// shaders check their geometry against it and the asset tools build with it.
constexpr uint32_t ShaderVertexMask(int shaderType) {
    const uint32_t position = 1u << VE_POSITION, normal = 1u << VE_NORMAL, texcoord = 1u << VE_TEXCOORDINATE_0;
    const uint32_t skinned = position | normal | 1u << VE_WEIGHT_INDICES | texcoord;
    const uint32_t weight0 = 1u << VE_WEIGHT_0, weight1 = 1u << VE_WEIGHT_1, weight2 = 1u << VE_WEIGHT_2,
                   weight3 = 1u << VE_WEIGHT_3;
    switch (shaderType) {
    case ST_CONSTANT: return position | texcoord;
    case ST_LAMBERT: return position | normal | texcoord;
    case ST_LAMBERT_2WS:
    case ST_LAMBERT_2WS_DY: return skinned | weight0 | weight1;
    case ST_LAMBERT_3WS:
    case ST_LAMBERT_3WS_DY: return skinned | weight0 | weight1 | weight2;
    case ST_LAMBERT_4WS:
    case ST_LAMBERT_4WS_DY: return skinned | weight0 | weight1 | weight2 | weight3;
    case ST_LAMBERT_VB: return position | normal | 1u << VE_COLOR_0 | texcoord;
    default: return 0;
    }
}
