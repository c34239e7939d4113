#pragma once
#include "engine/resource/Handle.h"

class CTexture;

// The console's font, the file texture "font" from "fontTable.TGA" (linear
// filters, wrapped, one level); handle receives its resource handle. Kept
// apart from the console because the texture header and the chunk enums
// both name the filter and address modes.
CTexture* MakeConsoleFont(CHandle& handle);
