#pragma once
#include <cstdint>

class CTexture;

// A texture in the current registry with one frame of a D3DFORMAT value, or
// with no frame for format 0; made without a device. (Its header cannot
// meet the chunk enumerations in one file.)
CTexture* MakeTestTexture(const char* name, uint32_t format);
