// Windows bitmaps through the shared header parser: core (12-byte) or
// information headers, 1, 4, 8, 16, 24 or 32 bits, uncompressed or with
// bit-field masks. Compressed (RLE) bitmaps are refused.
#include "platform/image/BmpHeader.h"
#include "platform/image/ImageDecoders.h"

namespace {

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
        return (uint8_t)((uint64_t)(v > max ? max : v) * 255u / max);
    }
};

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits) {
    out.Clear();
    BmpView view;
    if (ParseBmpHeader(data, size, true, BMP_ACCEPT_CORE_HEADER | BMP_ACCEPT_BIT_FIELDS, view) != BMP_OK)
        return false;
    if (!limits.Fits(view.width, view.height) || !out.Allocate(view.width, view.height))
        return false;
    int bpp = view.bitCount;
    MaskChannel red(view.redMask), green(view.greenMask), blue(view.blueMask), alpha(view.alphaMask);
    for (int y = 0; y < view.height; ++y) {
        const uint8_t* src = view.Row(view.height - 1 - y);
        uint8_t* dst = out.Row(y);
        for (int x = 0; x < view.width; ++x, dst += 4) {
            if (bpp <= 8) {
                int index;
                if (bpp == 8)
                    index = src[x];
                else if (bpp == 4)
                    index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
                else
                    index = (src[x >> 3] >> (7 - (x & 7))) & 1;
                if (index >= view.tableEntries) {
                    out.Clear();
                    return false;
                }
                const uint8_t* entry = view.colourTable + (size_t)index * (size_t)view.entrySize;
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
    out.hasAlpha = alpha.mask != 0;
    return true;
}
