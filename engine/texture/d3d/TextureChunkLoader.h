#pragma once

// Installs the chunk-stream handler that builds file textures from texture
// records.
void RegisterTextureChunkHandler();
