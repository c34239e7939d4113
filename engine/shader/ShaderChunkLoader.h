#pragma once

// Installs the chunk-stream handler that builds shaders from shader records.
void RegisterShaderChunkHandler();
