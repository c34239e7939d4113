#pragma once
#include <cstdint>
#include <vector>

#include "tools/media/Canvas.h"

// A Windows icon file holding the picture as one 32-bit image with its
// alpha and a transparency mask (alpha below 128). Empty unless the picture
// is square, 16 to 256 pixels a side.
std::vector<uint8_t> EncodeIco(const CCanvas& image);
