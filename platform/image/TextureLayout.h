#pragma once
#include <cstdint>

// What a device allows for texture sizes (from its capabilities).
struct TextureLimits {
    bool powerOfTwo = false;
    // Non-power-of-two sizes allowed for textures without mip levels.
    bool conditionalNonPowerOfTwo = false;
    bool squareOnly = false;
    uint32_t maxWidth = 0; // 0: no limit
    uint32_t maxHeight = 0;
};

struct TextureLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t levels = 0;
};

// The D3DX 8 rule for a texture made from an image: a requested size of 0 or
// DEFAULT_SIZE takes the image's, 0 or DEFAULT_SIZE levels a full chain, more
// levels than the chain has are cut to it; the size is then rounded up to
// powers of two and made square where the device needs it, and halved until
// it fits. False for a size above IMAGE_MAX_SIDE.
constexpr uint32_t DEFAULT_SIZE = 0xffffffffu;
bool PlanTextureLayout(int imageWidth, int imageHeight, uint32_t width, uint32_t height, uint32_t levels,
                       const TextureLimits& limits, TextureLayout& out);
