#pragma once

// Installs the chunk-stream handlers that build keyframe data, animators and
// animation sets. Called once at start, before any animation loads.
void RegisterAnimChunkHandlers();
