#pragma once
#include <cstdint>

// ShaderVertexMask, the vertex layout of each type, is with the vertex sizes.
#include "engine/chunk/VertexSize.h"

// The vertex programs of each shader type, shared by every shader of the
// type: created on the device when the first shader of a type is made and
// deleted with the last one. A shader type keeps one program per light-set
// kind (the constant type one for all kinds); a kind without one answers 0.
void AcquireShaderPrograms(int shaderType);
void ReleaseShaderPrograms(int shaderType);
// The device handle of the type's program for the kind, or 0.
uint32_t GetShaderProgram(int shaderType, int lightSetKind);
// Live shaders of the type.
int GetShaderProgramReferences(int shaderType);
