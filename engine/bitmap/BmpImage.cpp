#include "engine/bitmap/BmpImage.h"

#include <cstring>

namespace {

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr uint32_t INFO_HEADER_SIZE = 40;
constexpr uint32_t V5_HEADER_SIZE = 124;

uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t ReadS32(const uint8_t* p) { return int32_t(ReadU32(p)); }

void WriteU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

} // namespace

const char* BmpErrorText(BmpError error) {
    switch (error) {
    case BMP_OK: return "ok";
    case BMP_TRUNCATED: return "bitmap is truncated";
    case BMP_NO_SIGNATURE: return "not a bitmap (no BM signature)";
    case BMP_BAD_HEADER_SIZE: return "unsupported bitmap header";
    case BMP_BAD_DIMENSIONS: return "bad bitmap dimensions";
    case BMP_BAD_PLANES: return "bad bitmap plane count";
    case BMP_BAD_DEPTH: return "unsupported bits per pixel";
    case BMP_COMPRESSED: return "compressed bitmaps are not supported";
    case BMP_BAD_COLOUR_COUNT: return "bad bitmap colour count";
    }
    return "unknown bitmap error";
}

const uint8_t* BmpView::Row(int bottomUpRow) const {
    int stored = topDown ? height - 1 - bottomUpRow : bottomUpRow;
    return pixels + size_t(stored) * size_t(stride);
}

BmpError ParseBmp(const uint8_t* data, size_t size, bool hasFileHeader, BmpView& out) {
    out = BmpView();
    if (!data)
        return BMP_TRUNCATED;
    size_t infoStart = 0;
    uint32_t bfOffBits = 0;
    if (hasFileHeader) {
        if (size < 2)
            return BMP_TRUNCATED;
        if (data[0] != 'B' || data[1] != 'M')
            return BMP_NO_SIGNATURE;
        if (size < FILE_HEADER_SIZE)
            return BMP_TRUNCATED;
        bfOffBits = ReadU32(data + 10);
        infoStart = FILE_HEADER_SIZE;
    }
    if (size - infoStart < 4)
        return BMP_TRUNCATED;
    const uint8_t* info = data + infoStart;
    uint32_t headerSize = ReadU32(info);
    if (headerSize < INFO_HEADER_SIZE || headerSize > V5_HEADER_SIZE)
        return BMP_BAD_HEADER_SIZE;
    if (size - infoStart < headerSize)
        return BMP_TRUNCATED;

    int32_t width = ReadS32(info + 4);
    int32_t height = ReadS32(info + 8);
    uint16_t planes = ReadU16(info + 12);
    uint16_t bitCount = ReadU16(info + 14);
    uint32_t compression = ReadU32(info + 16);
    uint32_t clrUsed = ReadU32(info + 32);

    if (width <= 0 || height == 0 || height == INT32_MIN)
        return BMP_BAD_DIMENSIONS;
    int32_t rows = height < 0 ? -height : height;
    if (width > BMP_MAX_DIMENSION || rows > BMP_MAX_DIMENSION)
        return BMP_BAD_DIMENSIONS;
    if (planes != 1)
        return BMP_BAD_PLANES;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return BMP_BAD_DEPTH;
    if (compression != 0) // BI_RGB only: no RLE, no bit fields
        return BMP_COMPRESSED;
    // A top-down image cannot be compressed, so nothing more to check for it.

    int32_t colourCount;
    if (clrUsed != 0) {
        if (bitCount <= 8 && clrUsed > (1u << bitCount))
            return BMP_BAD_COLOUR_COUNT;
        if (clrUsed > (1u << 24))
            return BMP_BAD_COLOUR_COUNT;
        colourCount = int32_t(clrUsed);
    } else {
        colourCount = bitCount < 24 ? (1 << bitCount) : (1 << 24);
    }
    int32_t tableEntries = colourCount <= 256 ? colourCount : 0;

    size_t tableStart = infoStart + headerSize;
    size_t tableBytes = size_t(tableEntries) * 4;
    if (size - tableStart < tableBytes)
        return BMP_TRUNCATED;
    size_t pixelStart = tableStart + tableBytes;
    // The file header's pixel offset may leave a gap after the table; an
    // offset inside the headers is taken as wrong and ignored.
    if (hasFileHeader && bfOffBits > pixelStart)
        pixelStart = bfOffBits;

    int64_t stride = ((int64_t(bitCount) * width + 31) / 32) * 4;
    int64_t pixelBytes = stride * rows;
    if (pixelStart > size || uint64_t(size - pixelStart) < uint64_t(pixelBytes))
        return BMP_TRUNCATED;

    out.width = width;
    out.height = rows;
    out.topDown = height < 0;
    out.bitCount = bitCount;
    out.colourCount = colourCount;
    out.tableEntries = tableEntries;
    out.stride = int32_t(stride);
    out.xPelsPerMeter = ReadU32(info + 24);
    out.yPelsPerMeter = ReadU32(info + 28);
    out.clrImportant = ReadU32(info + 36);
    out.colourTable = tableEntries ? data + tableStart : nullptr;
    out.pixels = data + pixelStart;
    return BMP_OK;
}

void BuildInfoBlock(const BmpView& view, std::vector<uint8_t>& out) {
    out.assign(INFO_HEADER_SIZE + size_t(view.tableEntries) * 4, 0);
    uint8_t* h = out.data();
    WriteU32(h, INFO_HEADER_SIZE);
    WriteU32(h + 4, uint32_t(view.width));
    WriteU32(h + 8, uint32_t(view.height));
    h[12] = 1;
    h[14] = uint8_t(view.bitCount);
    WriteU32(h + 16, 0);
    WriteU32(h + 20, uint32_t(view.PixelBytes()));
    WriteU32(h + 24, view.xPelsPerMeter);
    WriteU32(h + 28, view.yPelsPerMeter);
    WriteU32(h + 32, view.tableEntries == view.colourCount ? uint32_t(view.tableEntries) : 0);
    WriteU32(h + 36, view.clrImportant);
    if (view.tableEntries)
        std::memcpy(h + INFO_HEADER_SIZE, view.colourTable, size_t(view.tableEntries) * 4);
}

void CopyPixelsBottomUp(const BmpView& view, uint8_t* dest) {
    for (int r = 0; r < view.height; ++r)
        std::memcpy(dest + size_t(r) * size_t(view.stride), view.Row(r), size_t(view.stride));
}
