#pragma once
#include <string>

#include "engine/chunk/ChunkStream.h"

class CDataArchive;
class CResourceManager;

// Loads a model (".hgm") or animation (".hga") file of the archive into the
// registry, every chunk kind included. A missing entry (or archive) loads
// nothing and reports nothing.
ChunkWalkResult LoadModelFromArchive(CResourceManager* manager, CDataArchive* archive, const std::string& path);
