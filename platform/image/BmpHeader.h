#pragma once
#include <cstddef>
#include <cstdint>

// The one reader of BMP headers, for the texture decoder and for the window
// bitmaps. It checks every field against the bytes that are there and copies
// nothing: the view points into the caller's bytes and lives as long as they
// do.
//
// Always accepted: the 40-byte information header and its longer versions
// (up to V5), one plane, 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed,
// bottom-up or top-down. The old 12-byte core header and bit-field masks only
// when the caller asks for them. Run-length images are always refused.

enum BmpError {
    BMP_OK = 0,
    BMP_TRUNCATED,        // a header, the masks, the colour table or the pixels run past the end
    BMP_NO_SIGNATURE,     // the file header does not start with "BM"
    BMP_BAD_HEADER_SIZE,  // a size that is no header, or one the caller does not take
    BMP_BAD_DIMENSIONS,   // width or height 0, negative width, or too large
    BMP_BAD_PLANES,       // planes other than 1
    BMP_BAD_DEPTH,        // bits per pixel not 1, 4, 8, 16, 24 or 32
    BMP_COMPRESSED,       // run-length images, or bit fields the caller does not take
    BMP_BAD_COLOUR_COUNT, // more colours than the depth can index
};

const char* BmpErrorText(BmpError error);

// What a caller takes beyond the plain information header.
enum BmpAccept {
    BMP_ACCEPT_PLAIN = 0,
    BMP_ACCEPT_CORE_HEADER = 1, // 12-byte header, 3-byte colour entries
    BMP_ACCEPT_BIT_FIELDS = 2,  // BI_BITFIELDS masks for 16 and 32 bits
};

struct BmpView {
    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0; // always positive
    bool topDown = false;
    int32_t bitCount = 0;
    bool bitFields = false; // the masks come from the file
    // Channel masks of a 16 or 32-bit pixel: the file's bit fields, or the
    // uncompressed layout (5-5-5, 8-8-8 without alpha). 0 for other depths.
    uint32_t redMask = 0;
    uint32_t greenMask = 0;
    uint32_t blueMask = 0;
    uint32_t alphaMask = 0;
    // Colour-table entries as the header counts them: biClrUsed, or for a
    // depth without biClrUsed 1 << bits (capped at 1 << 24 for 32 bits).
    int32_t colourCount = 0;
    // Entries actually present before the pixels (0 when colourCount > 256).
    int32_t tableEntries = 0;
    int32_t entrySize = 4; // bytes a colour entry: blue, green, red (and 0); 3 in a core header
    int32_t stride = 0;    // bytes per row, a multiple of 4
    uint32_t xPelsPerMeter = 0;
    uint32_t yPelsPerMeter = 0;
    uint32_t clrImportant = 0;
    const uint8_t* colourTable = nullptr; // tableEntries × entrySize bytes
    const uint8_t* pixels = nullptr;      // stride × height bytes, in stored row order

    size_t PixelBytes() const { return size_t(stride) * size_t(height); }
    // Stored row `bottomUpRow` counted from the image's bottom row.
    const uint8_t* Row(int bottomUpRow) const;
};

// The largest width or height taken; callers may hold a smaller limit.
constexpr int32_t BMP_MAX_DIMENSION = 16384;

// hasFileHeader: the bytes start with the 14-byte file header (a file or an
// archive entry); without it they start with the information header (a
// bitmap resource of the program). accept: BmpAccept flags.
BmpError ParseBmpHeader(const uint8_t* data, size_t size, bool hasFileHeader, int accept, BmpView& out);
