#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded picture: 32-bit texels in B, G, R, A byte order (the memory layout
// of D3DFMT_A8R8G8B8), the top row first, rows packed. hasAlpha says whether
// the source carries a real alpha channel, so that the texture made from it
// needs an alpha-carrying format; sources with only a one-bit mask (16-bit
// TGA, DXT1) count as opaque.
struct CImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<uint8_t> pixels;

    // Sizes the texel buffer (texels zeroed). False, leaving the image empty,
    // when a side is not positive or the picture is larger than IMAGE_MAX_SIDE.
    bool Allocate(int w, int h);
    void Clear();
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    uint8_t* Row(int y) { return pixels.data() + (size_t)y * (size_t)width * 4; }
    const uint8_t* Row(int y) const { return pixels.data() + (size_t)y * (size_t)width * 4; }
    // The texel as 0xAARRGGBB.
    uint32_t Texel(int x, int y) const;
};

// Images claiming a larger side are refused before anything is allocated.
constexpr int IMAGE_MAX_SIDE = 8192;

// Little-endian reads for the decoders; the caller has checked the range.
inline uint16_t ReadLe16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
