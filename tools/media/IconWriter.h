#pragma once
#include <cstdint>
#include <vector>

#include "tools/media/Canvas.h"

// A Windows icon file holding each picture as a 32-bit image with its alpha
// and a transparency mask (alpha below 128), in the order given. Empty
// unless every picture is square, 16 to 256 pixels a side.
std::vector<uint8_t> EncodeIco(const std::vector<CCanvas>& images);
// A Windows cursor file: one such image with its hot spot.
std::vector<uint8_t> EncodeCur(const CCanvas& image, int hotX, int hotY);
