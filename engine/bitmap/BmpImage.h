#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image/BmpHeader.h"

// The window bitmaps: BMP images held in memory, read with the shared header
// parser and the plain rules only (information headers of 40 bytes and
// longer, 1 to 32 bits, uncompressed), since the pixels are copied as they
// are into a DIB section described by a 40-byte header.
BmpError ParseBmp(const uint8_t* data, size_t size, bool hasFileHeader, BmpView& out);

// A plain information block for the view: a 40-byte header (bottom-up,
// uncompressed, biSizeImage set) followed by the colour table.
void BuildInfoBlock(const BmpView& view, std::vector<uint8_t>& out);
// Copies the pixels bottom-up into dest (view.PixelBytes() bytes).
void CopyPixelsBottomUp(const BmpView& view, uint8_t* dest);
