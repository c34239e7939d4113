// DirectDraw surfaces: the 'DDS ' magic, the 124-byte header and the top
// level of a 2D surface. Cube maps and volumes are refused.
#include <cstring>

#include "platform/image/ImageDecoders.h"

namespace {

constexpr size_t HEADER = 4 + 124;
constexpr uint32_t DDSD_PITCH = 0x8;
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr uint32_t DDPF_ALPHA = 0x2;
constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_RGB = 0x40;
constexpr uint32_t DDPF_LUMINANCE = 0x20000;
constexpr uint32_t DDSCAPS2_CUBEMAP = 0x200;
constexpr uint32_t DDSCAPS2_VOLUME = 0x200000;

constexpr uint32_t FourCc(char a, char b, char c, char d) {
    return (uint32_t)(uint8_t)a | ((uint32_t)(uint8_t)b << 8) | ((uint32_t)(uint8_t)c << 16) |
           ((uint32_t)(uint8_t)d << 24);
}

uint8_t MaskedValue(uint32_t pixel, uint32_t mask, uint8_t absent) {
    if (!mask)
        return absent;
    int shift = 0;
    while (!((mask >> shift) & 1u))
        ++shift;
    uint32_t max = mask >> shift;
    return (uint8_t)((uint64_t)((pixel & mask) >> shift) * 255u / max);
}

void Expand565(uint16_t c, int rgb[3]) {
    rgb[0] = ((c >> 11) & 31) * 255 / 31;
    rgb[1] = ((c >> 5) & 63) * 255 / 63;
    rgb[2] = (c & 31) * 255 / 31;
}

// The colour half of a DXT block into 16 texels of B, G, R, A (alpha 255, or
// 0 for DXT1's transparent index when threeColour).
void DecodeColourBlock(const uint8_t* block, bool allowThreeColour, uint8_t texels[16][4]) {
    uint16_t c0 = ReadLe16(block), c1 = ReadLe16(block + 2);
    int palette[4][4];
    int a[3], b[3];
    Expand565(c0, a);
    Expand565(c1, b);
    for (int i = 0; i < 3; ++i) {
        palette[0][i] = a[i];
        palette[1][i] = b[i];
        if (c0 > c1 || !allowThreeColour) {
            palette[2][i] = (2 * a[i] + b[i]) / 3;
            palette[3][i] = (a[i] + 2 * b[i]) / 3;
        } else {
            palette[2][i] = (a[i] + b[i]) / 2;
            palette[3][i] = 0;
        }
    }
    palette[0][3] = palette[1][3] = palette[2][3] = 255;
    palette[3][3] = (c0 <= c1 && allowThreeColour) ? 0 : 255;
    uint32_t bits = ReadLe32(block + 4);
    for (int t = 0; t < 16; ++t) {
        const int* p = palette[(bits >> (2 * t)) & 3];
        texels[t][0] = (uint8_t)p[2], texels[t][1] = (uint8_t)p[1], texels[t][2] = (uint8_t)p[0];
        texels[t][3] = (uint8_t)p[3];
    }
}

void DecodeExplicitAlpha(const uint8_t* block, uint8_t texels[16][4]) {
    for (int t = 0; t < 16; ++t) {
        int nibble = (block[t / 2] >> ((t & 1) * 4)) & 15;
        texels[t][3] = (uint8_t)(nibble * 17);
    }
}

void DecodeInterpolatedAlpha(const uint8_t* block, uint8_t texels[16][4]) {
    int a0 = block[0], a1 = block[1];
    int values[8] = {a0, a1};
    if (a0 > a1) {
        for (int i = 1; i < 7; ++i)
            values[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (int i = 1; i < 5; ++i)
            values[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        values[6] = 0;
        values[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= (uint64_t)block[2 + i] << (8 * i);
    for (int t = 0; t < 16; ++t)
        texels[t][3] = (uint8_t)values[(bits >> (3 * t)) & 7];
}

bool DecodeCompressed(const uint8_t* p, size_t available, uint32_t fourCc, int width, int height, CImage& out) {
    int kind;
    if (fourCc == FourCc('D', 'X', 'T', '1'))
        kind = 1;
    else if (fourCc == FourCc('D', 'X', 'T', '2') || fourCc == FourCc('D', 'X', 'T', '3'))
        kind = 3;
    else if (fourCc == FourCc('D', 'X', 'T', '4') || fourCc == FourCc('D', 'X', 'T', '5'))
        kind = 5;
    else
        return false;
    size_t blockBytes = kind == 1 ? 8 : 16;
    size_t blocksX = ((size_t)width + 3) / 4, blocksY = ((size_t)height + 3) / 4;
    if (available / blockBytes / blocksX < blocksY || !out.Allocate(width, height))
        return false;
    for (size_t by = 0; by < blocksY; ++by) {
        for (size_t bx = 0; bx < blocksX; ++bx) {
            const uint8_t* block = p + (by * blocksX + bx) * blockBytes;
            uint8_t texels[16][4];
            DecodeColourBlock(block + (kind == 1 ? 0 : 8), kind == 1, texels);
            if (kind == 3)
                DecodeExplicitAlpha(block, texels);
            else if (kind == 5)
                DecodeInterpolatedAlpha(block, texels);
            for (int t = 0; t < 16; ++t) {
                size_t x = bx * 4 + (t & 3), y = by * 4 + (t >> 2);
                if (x < (size_t)out.width && y < (size_t)out.height)
                    std::memcpy(out.Row((int)y) + x * 4, texels[t], 4);
            }
        }
    }
    // DXT1's transparent index is a one-bit mask: the surface counts as opaque.
    out.hasAlpha = kind != 1;
    return true;
}

} // namespace

bool DecodeDds(const uint8_t* data, size_t size, CImage& out, const ImageLimits& limits) {
    out.Clear();
    if (!data || size < HEADER || std::memcmp(data, "DDS ", 4) != 0 || ReadLe32(data + 4) != 124)
        return false;
    const uint8_t* h = data + 4;
    uint32_t height = ReadLe32(h + 8);
    uint32_t width = ReadLe32(h + 12);
    uint32_t pitch = ReadLe32(h + 16);
    const uint8_t* pf = h + 72;
    if (ReadLe32(pf) != 32)
        return false;
    uint32_t flags = ReadLe32(pf + 4);
    uint32_t fourCc = ReadLe32(pf + 8);
    uint32_t bits = ReadLe32(pf + 12);
    uint32_t rMask = ReadLe32(pf + 16), gMask = ReadLe32(pf + 20), bMask = ReadLe32(pf + 24);
    uint32_t aMask = ReadLe32(pf + 28);
    uint32_t caps2 = ReadLe32(h + 108);
    if (caps2 & (DDSCAPS2_CUBEMAP | DDSCAPS2_VOLUME))
        return false;
    if (!limits.Fits(width, height))
        return false;
    const uint8_t* p = data + HEADER;
    size_t available = size - HEADER;

    if (flags & DDPF_FOURCC) {
        if (!DecodeCompressed(p, available, fourCc, (int)width, (int)height, out)) {
            out.Clear();
            return false;
        }
        return true;
    }
    if (!(flags & (DDPF_RGB | DDPF_LUMINANCE | DDPF_ALPHA)) || (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return false;
    bool hasAlpha = (flags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) && aMask;
    // A one-bit mask (A1R5G5B5) is a key, not a real alpha channel.
    bool realAlpha = hasAlpha && (aMask & (aMask - 1)) != 0;
    size_t bytes = bits / 8;
    // Rows are packed unless the header gives a plausible pitch.
    size_t stride = (size_t)width * bytes;
    if (pitch >= stride && (ReadLe32(h + 4) & DDSD_PITCH))
        stride = pitch;
    if (available / stride < height || !out.Allocate((int)width, (int)height))
        return false;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* src = p + stride * y;
        uint8_t* dst = out.Row((int)y);
        for (uint32_t x = 0; x < width; ++x, dst += 4) {
            const uint8_t* s = src + x * bytes;
            uint32_t pixel = bytes == 1   ? s[0]
                             : bytes == 2 ? ReadLe16(s)
                             : bytes == 3 ? (ReadLe16(s) | ((uint32_t)s[2] << 16))
                                          : ReadLe32(s);
            if (flags & DDPF_ALPHA) {
                dst[0] = dst[1] = dst[2] = 255;
                dst[3] = MaskedValue(pixel, aMask ? aMask : 0xff, 255);
            } else if (flags & DDPF_LUMINANCE) {
                dst[0] = dst[1] = dst[2] = MaskedValue(pixel, rMask, 0);
                dst[3] = hasAlpha ? MaskedValue(pixel, aMask, 255) : 255;
            } else {
                dst[0] = MaskedValue(pixel, bMask, 0);
                dst[1] = MaskedValue(pixel, gMask, 0);
                dst[2] = MaskedValue(pixel, rMask, 0);
                dst[3] = hasAlpha ? MaskedValue(pixel, aMask, 255) : 255;
            }
        }
    }
    out.hasAlpha = realAlpha || (flags & DDPF_ALPHA);
    return true;
}
