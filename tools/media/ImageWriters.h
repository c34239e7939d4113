#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/Canvas.h"

// Picture files from a canvas. The bytes depend only on the pixels, so that
// builds repeat exactly.

// BMP with its 'BM' file header, 24 bits, bottom-up rows padded to 4 bytes.
// Empty for a picture with no pixels or one too large for the 32-bit sizes.
std::vector<uint8_t> EncodeBmp24(const CCanvas& image);
// BMP with an 8-bit palette made of the picture's own colours, in the order
// they first occur from the top row. False (out left empty) when the picture
// has more than 256 colours, no pixels or too many. Alpha is dropped.
bool EncodeBmp8(const CCanvas& image, std::vector<uint8_t>& out);
// Uncompressed true-colour TGA, rows bottom first: 24 bits, or 32 with the
// alpha channel. Empty for a picture with no pixels or a side above 65535.
std::vector<uint8_t> EncodeTga(const CCanvas& image, bool withAlpha);
// PNG through libpng: RGB, or RGBA with alpha; no time or text chunks.
bool EncodePng(const CCanvas& image, bool withAlpha, std::vector<uint8_t>& out, std::string& error);

bool WriteBytesToFile(const std::string& path, const std::vector<uint8_t>& bytes);
// An encoded picture into folder (made when missing). Empty bytes are an
// encoder's refusal: nothing is written and, like a failed write, that gives
// false with the message in error.
bool WritePictureFile(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes,
                      std::string& error);
