#pragma once

class CTexture;

// What a shader needs to know of a texture, kept apart from the shader code
// (the texture's header and the chunk enumerations name the same filter and
// addressing values and cannot meet in one file).

// True when the texture has a loaded first frame whose format carries alpha;
// a texture without frames is opaque and nothing of it is read.
bool IsTextureTranslucent(const CTexture* texture);
// The texture of that name and kind RT_TEXTURE in the current registry, or null.
CTexture* FindTexture(const char* name);
