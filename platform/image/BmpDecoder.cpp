// Windows bitmaps: the 'BM' file header, a core (12-byte) or info header
// (40 bytes and the longer versions), 1, 4, 8, 16, 24 or 32 bits, uncompressed
// or with bit-field masks. Compressed (RLE) bitmaps are refused.
#include <cstring>

#include "platform/image/ImageDecoders.h"

namespace {

constexpr size_t FILE_HEADER = 14;
constexpr uint32_t BI_RGB_ = 0;
constexpr uint32_t BI_BITFIELDS_ = 3;

// One channel of a bit-field mask, widened to 8 bits.
struct MaskChannel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit MaskChannel(uint32_t m = 0) : mask(m) {
        if (!m)
            return;
        while (!(m & 1u)) {
            m >>= 1;
            ++shift;
        }
        while (m & 1u) {
            m >>= 1;
            ++bits;
        }
    }
    uint8_t Get(uint32_t pixel, uint8_t absent) const {
        if (!mask)
            return absent;
        uint32_t v = (pixel & mask) >> shift;
        uint32_t max = bits >= 32 ? 0xffffffffu : ((1u << bits) - 1u);
        return (uint8_t)((uint64_t)v * 255u / max);
    }
};

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, CImage& out) {
    out.Clear();
    if (!data || size < FILE_HEADER + 12 || data[0] != 'B' || data[1] != 'M')
        return false;
    uint32_t pixelOffset = ReadLe32(data + 10);
    const uint8_t* info = data + FILE_HEADER;
    uint32_t infoSize = ReadLe32(info);
    if (infoSize < 12 || infoSize > size - FILE_HEADER)
        return false;

    int32_t width, height;
    int bpp;
    uint32_t compression = BI_RGB_, colours = 0;
    size_t paletteEntry;
    if (infoSize == 12) {
        width = ReadLe16(info + 4);
        height = ReadLe16(info + 6); // unsigned: core bitmaps are bottom-up
        bpp = ReadLe16(info + 10);
        paletteEntry = 3;
    } else {
        if (infoSize < 40)
            return false;
        width = (int32_t)ReadLe32(info + 4);
        height = (int32_t)ReadLe32(info + 8);
        bpp = ReadLe16(info + 14);
        compression = ReadLe32(info + 16);
        colours = ReadLe32(info + 32);
        paletteEntry = 4;
    }
    bool topDown = height < 0;
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return false;
    if (topDown)
        height = -height;
    if (width > IMAGE_MAX_SIDE || height > IMAGE_MAX_SIDE)
        return false;

    // Masks: in the longer headers, or three words after a 40-byte one.
    MaskChannel red, green, blue, alpha;
    size_t afterInfo = FILE_HEADER + infoSize;
    if (compression == BI_BITFIELDS_) {
        if (bpp != 16 && bpp != 32)
            return false;
        const uint8_t* masks = info + 40;
        if (infoSize == 40) {
            if (size < afterInfo + 12)
                return false;
            masks = data + afterInfo;
            afterInfo += 12;
        } else if (infoSize < 52) {
            return false;
        }
        red = MaskChannel(ReadLe32(masks));
        green = MaskChannel(ReadLe32(masks + 4));
        blue = MaskChannel(ReadLe32(masks + 8));
        if (infoSize >= 56)
            alpha = MaskChannel(ReadLe32(info + 52));
    } else if (compression != BI_RGB_) {
        return false;
    } else if (bpp == 16) {
        red = MaskChannel(0x7c00), green = MaskChannel(0x03e0), blue = MaskChannel(0x001f);
    } else if (bpp == 32) {
        red = MaskChannel(0x00ff0000), green = MaskChannel(0x0000ff00), blue = MaskChannel(0x000000ff);
    }

    const uint8_t* palette = nullptr;
    size_t paletteCount = 0;
    if (bpp == 1 || bpp == 4 || bpp == 8) {
        paletteCount = colours ? colours : (1u << bpp);
        if (paletteCount > 256)
            return false;
        if (afterInfo > size || paletteCount > (size - afterInfo) / paletteEntry)
            return false;
        palette = data + afterInfo;
    } else if (bpp != 16 && bpp != 24 && bpp != 32) {
        return false;
    }

    size_t stride = (((size_t)width * (size_t)bpp + 31) / 32) * 4;
    if (pixelOffset > size || (size - pixelOffset) / stride < (size_t)height)
        return false;
    if (!out.Allocate(width, height))
        return false;
    bool anyAlpha = alpha.mask != 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = data + pixelOffset + stride * (size_t)(topDown ? y : height - 1 - y);
        uint8_t* dst = out.Row(y);
        for (int x = 0; x < width; ++x, dst += 4) {
            if (palette) {
                size_t index;
                if (bpp == 8)
                    index = src[x];
                else if (bpp == 4)
                    index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
                else
                    index = (src[x >> 3] >> (7 - (x & 7))) & 1;
                if (index >= paletteCount) {
                    out.Clear();
                    return false;
                }
                const uint8_t* entry = palette + index * paletteEntry;
                dst[0] = entry[0], dst[1] = entry[1], dst[2] = entry[2], dst[3] = 255;
            } else if (bpp == 24) {
                const uint8_t* p = src + (size_t)x * 3;
                dst[0] = p[0], dst[1] = p[1], dst[2] = p[2], dst[3] = 255;
            } else {
                uint32_t pixel = bpp == 16 ? ReadLe16(src + (size_t)x * 2) : ReadLe32(src + (size_t)x * 4);
                dst[0] = blue.Get(pixel, 0);
                dst[1] = green.Get(pixel, 0);
                dst[2] = red.Get(pixel, 0);
                dst[3] = alpha.Get(pixel, 255);
            }
        }
    }
    out.hasAlpha = anyAlpha;
    return true;
}
