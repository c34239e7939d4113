#pragma once
#include <string>

#include "engine/archive/DataArchive.h"

// The five texture archives, held process-wide while the renderer lives.
// Opening again first closes what is open.
void OpenTextureArchives();
void CloseTextureArchives();
// Texture archive 0 to 4 while open, else null.
CDataArchive* GetTextureArchive(int index);

// The normalisation buffer of texture names; longer paths are refused.
constexpr size_t TEXTURE_NAME_BUFFER = 240;

// The name the texture lists hold for a path: cut from the last '.', the
// last remaining '.' turned into '_', folders dropped, a to z upper-cased
// ("model/vesko/sub.name.tga" gives "SUB_NAME"). False when the path does
// not fit the buffer with its zero.
bool NormaliseTextureName(const std::string& path, std::string& name);

// The list that holds the normalised name (0 to 4), or -1.
int FindTextureList(const std::string& name);

// The texture file for a path: its name chooses the archive by the lists and
// that archive's GetEntry answers (a loose file at the path first). A name
// in no list, a path too long to normalise or closed archives give {null, 0}.
ArchiveEntry GetTextureEntry(const std::string& path);
