#include "engine/shader/ShaderPrograms.h"

#include <windows.h>
#include <d3d8.h>

#include "engine/chunk/ChunkEnums.h"
#include "engine/render/Renderer.h"
#include "engine/vertexprogram/VertexPrograms.h"

namespace {

struct ProgramTable {
    int references = 0;
    // The device the programs were made on; they are deleted only there.
    IDirect3DDevice8* device = nullptr;
    DWORD programs[LIGHT_SET_KIND_COUNT] = {};
};

ProgramTable g_tables[SHADER_TYPE_COUNT];

bool ValidType(int type) { return type >= 0 && type < SHADER_TYPE_COUNT; }

IDirect3DDevice8* CurrentDevice() {
    CRenderer* renderer = CRenderer::Current();
    return renderer ? renderer->GetDevice() : nullptr;
}

// One device program per distinct program of the type; kinds that share a
// program (the constant type's) share its handle.
void CreatePrograms(int type, ProgramTable& table) {
    table.device = CurrentDevice();
    for (DWORD& program : table.programs)
        program = 0;
    if (!table.device)
        return;
    const std::vector<uint32_t>& declaration = GetVertexDeclarationTokens(type);
    if (declaration.empty())
        return;
    DWORD made[VERTEX_PROGRAM_COUNT] = {};
    for (int kind = 0; kind < LIGHT_SET_KIND_COUNT; ++kind) {
        int id = FindVertexProgram(type, kind);
        if (id < 0 || id >= VERTEX_PROGRAM_COUNT)
            continue;
        if (!made[id]) {
            const std::vector<uint32_t>& tokens = GetVertexProgramTokens(VertexProgramId(id));
            if (tokens.empty())
                continue;
            DWORD handle = 0;
            if (FAILED(table.device->CreateVertexShader((const DWORD*)declaration.data(), (const DWORD*)tokens.data(),
                                                        &handle, 0)))
                handle = 0;
            made[id] = handle;
        }
        table.programs[kind] = made[id];
    }
}

void DeletePrograms(ProgramTable& table) {
    IDirect3DDevice8* device = CurrentDevice();
    DWORD deleted[LIGHT_SET_KIND_COUNT] = {};
    int deletedCount = 0;
    for (DWORD& program : table.programs) {
        DWORD handle = program;
        program = 0;
        if (!handle || !device || device != table.device)
            continue;
        bool already = false;
        for (int i = 0; i < deletedCount; ++i)
            already = already || deleted[i] == handle;
        if (already)
            continue;
        device->DeleteVertexShader(handle);
        deleted[deletedCount++] = handle;
    }
    table.device = nullptr;
}

} // namespace

void AcquireShaderPrograms(int shaderType) {
    if (!ValidType(shaderType))
        return;
    ProgramTable& table = g_tables[shaderType];
    if (table.references == 0)
        CreatePrograms(shaderType, table);
    ++table.references;
}

void ReleaseShaderPrograms(int shaderType) {
    if (!ValidType(shaderType))
        return;
    ProgramTable& table = g_tables[shaderType];
    if (table.references <= 0)
        return;
    if (--table.references == 0)
        DeletePrograms(table);
}

uint32_t GetShaderProgram(int shaderType, int lightSetKind) {
    if (!ValidType(shaderType) || lightSetKind < 0 || lightSetKind >= LIGHT_SET_KIND_COUNT)
        return 0;
    return g_tables[shaderType].programs[lightSetKind];
}

int GetShaderProgramReferences(int shaderType) { return ValidType(shaderType) ? g_tables[shaderType].references : 0; }
