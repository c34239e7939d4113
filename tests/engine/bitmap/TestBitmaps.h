#pragma once
// Small BMP images built in memory for the bitmap and region tests.
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/core/LittleEndian.h"

namespace testbmp {

// Writes a little-endian field at byte offset at of b.
inline void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) { WriteLe16(&b[at], v); }
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { WriteLe32(&b[at], v); }

struct BitmapLayout {
    int32_t width = 4;
    int32_t height = 2; // negative: top-down
    uint16_t bitCount = 24;
    uint32_t clrUsed = 0;
    uint32_t headerSize = 40;
    bool fileHeader = true;
};

inline int32_t Stride(int32_t width, int bitCount) { return ((bitCount * width + 31) / 32) * 4; }

// pixel(x, y) gives the value at column x of image row y (0 = top): a
// palette index for 8 bits, 0xRRGGBB for 24 bits. The palette holds
// `palette` colours as 0xRRGGBB.
template <class PixelFn>
std::vector<uint8_t> Make(const BitmapLayout& s, PixelFn pixel, const std::vector<uint32_t>& palette = {}) {
    const int32_t rows = s.height < 0 ? -s.height : s.height;
    const int32_t stride = Stride(s.width, s.bitCount);
    const size_t table = s.bitCount <= 8 ? (s.clrUsed ? s.clrUsed : (1u << s.bitCount)) : s.clrUsed;
    const size_t head = s.fileHeader ? 14 : 0;
    const size_t pixelsAt = head + s.headerSize + table * 4;
    std::vector<uint8_t> b(pixelsAt + size_t(stride) * rows, 0);
    if (s.fileHeader) {
        b[0] = 'B';
        b[1] = 'M';
        Put32(b, 2, uint32_t(b.size()));
        Put32(b, 10, uint32_t(pixelsAt));
    }
    Put32(b, head, s.headerSize);
    Put32(b, head + 4, uint32_t(s.width));
    Put32(b, head + 8, uint32_t(s.height));
    Put16(b, head + 12, 1);
    Put16(b, head + 14, s.bitCount);
    Put32(b, head + 20, uint32_t(stride * rows));
    Put32(b, head + 32, s.clrUsed);
    for (size_t i = 0; i < table && i < palette.size(); ++i) {
        size_t at = head + s.headerSize + i * 4;
        WriteLe32(&b[at], palette[i] & 0xFFFFFF);
    }
    for (int32_t y = 0; y < rows; ++y) {
        // Stored rows run bottom-up unless the height is negative.
        int32_t stored = s.height < 0 ? y : rows - 1 - y;
        uint8_t* row = b.data() + pixelsAt + size_t(stored) * stride;
        for (int32_t x = 0; x < s.width; ++x) {
            uint32_t v = pixel(x, y);
            if (s.bitCount == 8) {
                row[x] = uint8_t(v);
            } else if (s.bitCount == 24) {
                row[3 * x] = uint8_t(v);
                row[3 * x + 1] = uint8_t(v >> 8);
                row[3 * x + 2] = uint8_t(v >> 16);
            }
        }
    }
    return b;
}

constexpr uint32_t GREEN = 0x00FF00;

} // namespace testbmp
