#pragma once
#include <cstdint>
#include <vector>

// The vs_1_1 programs the shaders draw with, as Direct3D 8 token streams,
// and the stream declarations of the shader types. Built once on first use
// through the program writer; the tables below say which program serves a
// shader type under a light-set kind.
enum VertexProgramId {
    VP_CONSTANT = 0,     // "HgConstantShader"
    VP_LAMBERT_A1D1,     // "HgLambertShaderA1D1"
    VP_LAMBERT_A1P1,     // "HgLambertShaderA1P1"
    VP_LAMBERT_2WS_A1D,  // "HgLambertShader2WSA1D"
    VP_LAMBERT_3WS_A1D,  // "HgLambertShader3WSA1D"
    VP_LAMBERT_4WS_A1D,  // "HgLambertShader4WSA1D"
    VP_LAMBERT_2WS_A1P1, // "HgLambertShader2WSA1P1"
    VP_LAMBERT_3WS_A1P1, // "HgLambertShader3WSA1P1"
    VP_LAMBERT_4WS_A1P1, // "HgLambertShader4WSA1P1"
    VP_LAMBERT_VC_A1D,   // "HgLambertShaderVCA1D"
    VP_LAMBERT_VC_A1P1,  // "HgLambertShaderVCA1P1"
    VP_LAMBERT_DY_A1D1,  // "HgLambertShaderDYA1D1"
    VP_LAMBERT_DY_A1P1,  // "HgLambertShaderDYA1P1"
    VERTEX_PROGRAM_COUNT,
};

// The program's tokens, version token first and end token last.
const std::vector<uint32_t>& GetVertexProgramTokens(VertexProgramId id);
const char* GetVertexProgramName(VertexProgramId id);
// The stream declaration of a shader type (0-8); empty outside the types.
const std::vector<uint32_t>& GetVertexDeclarationTokens(int shaderType);
// The program a shader type uses under a light-set kind, or -1 for none.
int FindVertexProgram(int shaderType, int lightSetKind);
