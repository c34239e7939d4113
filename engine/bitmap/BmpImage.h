#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Reads the headers of a BMP image held in memory, checking every field
// against the bytes that are there. Nothing is copied: the view points into
// the caller's bytes and lives as long as they do.
//
// Accepted: the 40-byte information header and its longer versions (V4, V5),
// 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, bottom-up or top-down.
// Everything else is refused with a reason.

enum BmpError {
    BMP_OK = 0,
    BMP_TRUNCATED,        // a header, the colour table or the pixels run past the end
    BMP_NO_SIGNATURE,     // the file header does not start with "BM"
    BMP_BAD_HEADER_SIZE,  // an old core header or a size that is no header
    BMP_BAD_DIMENSIONS,   // width or height 0, negative width, or too large
    BMP_BAD_PLANES,       // planes other than 1
    BMP_BAD_DEPTH,        // bits per pixel not 1, 4, 8, 16, 24 or 32
    BMP_COMPRESSED,       // run-length or bit-field images
    BMP_BAD_COLOUR_COUNT, // more colours than the depth can index
};

const char* BmpErrorText(BmpError error);

struct BmpView {
    int32_t width = 0;
    int32_t height = 0; // always positive
    bool topDown = false;
    int32_t bitCount = 0;
    // Colour-table entries as the header counts them: biClrUsed, or for a
    // depth without biClrUsed 1 << bits (capped at 1 << 24 for 32 bits).
    int32_t colourCount = 0;
    // Entries actually present before the pixels (0 when colourCount > 256).
    int32_t tableEntries = 0;
    int32_t stride = 0; // bytes per row, a multiple of 4
    uint32_t xPelsPerMeter = 0;
    uint32_t yPelsPerMeter = 0;
    uint32_t clrImportant = 0;
    const uint8_t* colourTable = nullptr; // tableEntries × 4 bytes (blue, green, red, 0)
    const uint8_t* pixels = nullptr;      // stride × height bytes, in stored row order

    size_t PixelBytes() const { return size_t(stride) * size_t(height); }
    // Stored row `bottomUpRow` counted from the image's bottom row.
    const uint8_t* Row(int bottomUpRow) const;
};

// The largest width or height taken; the window masks are at most 1200.
constexpr int32_t BMP_MAX_DIMENSION = 16384;

// hasFileHeader: the bytes start with the 14-byte file header (a file or an
// archive entry); without it they start with the information header (a
// bitmap resource of the program).
BmpError ParseBmp(const uint8_t* data, size_t size, bool hasFileHeader, BmpView& out);

// A plain information block for the view: a 40-byte header (bottom-up,
// uncompressed, biSizeImage set) followed by the colour table.
void BuildInfoBlock(const BmpView& view, std::vector<uint8_t>& out);
// Copies the pixels bottom-up into dest (view.PixelBytes() bytes).
void CopyPixelsBottomUp(const BmpView& view, uint8_t* dest);
