#pragma once

// Installs the chunk-stream handlers that build transforms, bones and the
// hierarchy links of a model. Called once at start, before any model loads.
void RegisterSceneChunkHandlers();
