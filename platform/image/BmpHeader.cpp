#include "platform/image/BmpHeader.h"

#include "engine/core/LittleEndian.h"

namespace {

constexpr size_t FILE_HEADER_SIZE = 14;
constexpr uint32_t CORE_HEADER_SIZE = 12;
constexpr uint32_t INFO_HEADER_SIZE = 40;
constexpr uint32_t V2_HEADER_SIZE = 52; // the first with the masks inside
constexpr uint32_t V3_HEADER_SIZE = 56; // the first with an alpha mask
constexpr uint32_t V5_HEADER_SIZE = 124;
constexpr uint32_t BI_RGB_ = 0;
constexpr uint32_t BI_BITFIELDS_ = 3;

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

BmpError ParseBmpHeader(const uint8_t* data, size_t size, bool hasFileHeader, int accept, BmpView& out) {
    out = BmpView();
    BmpView v;
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
        bfOffBits = ReadLe32(data + 10);
        infoStart = FILE_HEADER_SIZE;
    }
    if (size - infoStart < 4)
        return BMP_TRUNCATED;
    const uint8_t* info = data + infoStart;
    uint32_t headerSize = ReadLe32(info);
    bool core = headerSize == CORE_HEADER_SIZE && (accept & BMP_ACCEPT_CORE_HEADER);
    if (!core && (headerSize < INFO_HEADER_SIZE || headerSize > V5_HEADER_SIZE))
        return BMP_BAD_HEADER_SIZE;
    if (size - infoStart < headerSize)
        return BMP_TRUNCATED;

    int32_t width, height;
    uint16_t planes, bitCount;
    uint32_t compression = BI_RGB_, clrUsed = 0;
    if (core) {
        // Unsigned sides: core bitmaps are always bottom-up.
        width = ReadLe16(info + 4);
        height = ReadLe16(info + 6);
        planes = ReadLe16(info + 8);
        bitCount = ReadLe16(info + 10);
    } else {
        width = ReadLeS32(info + 4);
        height = ReadLeS32(info + 8);
        planes = ReadLe16(info + 12);
        bitCount = ReadLe16(info + 14);
        compression = ReadLe32(info + 16);
        clrUsed = ReadLe32(info + 32);
    }

    if (width <= 0 || height == 0 || height == INT32_MIN)
        return BMP_BAD_DIMENSIONS;
    int32_t rows = height < 0 ? -height : height;
    if (width > BMP_MAX_DIMENSION || rows > BMP_MAX_DIMENSION)
        return BMP_BAD_DIMENSIONS;
    if (planes != 1)
        return BMP_BAD_PLANES;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return BMP_BAD_DEPTH;

    size_t afterHeader = infoStart + headerSize;
    if (compression == BI_BITFIELDS_) {
        if (!(accept & BMP_ACCEPT_BIT_FIELDS) || (bitCount != 16 && bitCount != 32))
            return BMP_COMPRESSED;
        // The three masks follow a 40-byte header; the longer ones hold them.
        const uint8_t* masks = info + INFO_HEADER_SIZE;
        if (headerSize == INFO_HEADER_SIZE) {
            if (size - afterHeader < 12)
                return BMP_TRUNCATED;
            masks = data + afterHeader;
            afterHeader += 12;
        } else if (headerSize < V2_HEADER_SIZE) {
            return BMP_BAD_HEADER_SIZE;
        }
        v.bitFields = true;
        v.redMask = ReadLe32(masks);
        v.greenMask = ReadLe32(masks + 4);
        v.blueMask = ReadLe32(masks + 8);
        if (headerSize >= V3_HEADER_SIZE)
            v.alphaMask = ReadLe32(info + 52);
    } else if (compression != BI_RGB_) {
        return BMP_COMPRESSED;
    } else if (bitCount == 16) {
        v.redMask = 0x7c00, v.greenMask = 0x03e0, v.blueMask = 0x001f;
    } else if (bitCount == 32) {
        v.redMask = 0x00ff0000, v.greenMask = 0x0000ff00, v.blueMask = 0x000000ff;
    }

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
    int32_t entrySize = core ? 3 : 4;

    size_t tableStart = afterHeader;
    size_t tableBytes = size_t(tableEntries) * size_t(entrySize);
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

    v.headerSize = headerSize;
    v.width = width;
    v.height = rows;
    v.topDown = height < 0;
    v.bitCount = bitCount;
    v.colourCount = colourCount;
    v.tableEntries = tableEntries;
    v.entrySize = entrySize;
    v.stride = int32_t(stride);
    if (!core) {
        v.xPelsPerMeter = ReadLe32(info + 24);
        v.yPelsPerMeter = ReadLe32(info + 28);
        v.clrImportant = ReadLe32(info + 36);
    }
    v.colourTable = tableEntries ? data + tableStart : nullptr;
    v.pixels = data + pixelStart;
    out = v;
    return BMP_OK;
}
