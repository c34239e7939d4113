#pragma once

// Installs the chunk-stream handlers of the drawable resources: geometry,
// shaders, shapes and file textures. Called once at start by the renderer,
// before any model loads.
void RegisterModelChunkHandlers();
