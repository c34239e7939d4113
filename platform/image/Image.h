#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/LittleEndian.h"

// The largest side decoded when the caller names no smaller limit: a 4096 ×
// 4096 picture takes 64 MiB, as much as a 32-bit process should ask for at once.
constexpr int IMAGE_MAX_SIDE = 4096;

// The largest picture a decoder accepts (a device's texture limit). A larger
// one is refused from its header, before anything is allocated for it.
struct ImageLimits {
    int maxWidth = IMAGE_MAX_SIDE;
    int maxHeight = IMAGE_MAX_SIDE;

    // At most IMAGE_MAX_SIDE, whatever was asked; 0 or less means no limit of
    // the caller's own.
    static ImageLimits Within(int64_t width, int64_t height);
    bool Fits(int64_t width, int64_t height) const {
        return width > 0 && height > 0 && width <= maxWidth && height <= maxHeight;
    }
};

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
    // when a side is not positive or above IMAGE_MAX_SIDE, or when the memory
    // cannot be had.
    bool Allocate(int w, int h);
    void Clear();
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    uint8_t* Row(int y) { return pixels.data() + (size_t)y * (size_t)width * 4; }
    const uint8_t* Row(int y) const { return pixels.data() + (size_t)y * (size_t)width * 4; }
    // The texel as 0xAARRGGBB.
    uint32_t Texel(int x, int y) const;
};
