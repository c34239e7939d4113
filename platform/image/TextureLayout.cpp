#include "platform/image/TextureLayout.h"

#include <algorithm>

#include "platform/image/Image.h"
#include "platform/image/ImageResample.h"

namespace {

uint32_t RoundUpToPowerOfTwo(uint32_t v) {
    uint32_t p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

uint32_t LevelsFor(uint32_t asked, uint32_t width, uint32_t height) {
    uint32_t full = (uint32_t)FullMipCount((int)width, (int)height);
    return (asked == 0 || asked == DEFAULT_SIZE) ? full : std::min(asked, full);
}

} // namespace

bool PlanTextureLayout(int imageWidth, int imageHeight, uint32_t width, uint32_t height, uint32_t levels,
                       const TextureLimits& limits, TextureLayout& out) {
    uint32_t w = (width == 0 || width == DEFAULT_SIZE) ? (uint32_t)std::max(imageWidth, 0) : width;
    uint32_t h = (height == 0 || height == DEFAULT_SIZE) ? (uint32_t)std::max(imageHeight, 0) : height;
    if (w == 0 || h == 0 || w > (uint32_t)IMAGE_MAX_SIDE || h > (uint32_t)IMAGE_MAX_SIDE)
        return false;
    bool withoutMips = LevelsFor(levels, w, h) == 1;
    if (limits.powerOfTwo && !(limits.conditionalNonPowerOfTwo && withoutMips)) {
        w = RoundUpToPowerOfTwo(w);
        h = RoundUpToPowerOfTwo(h);
    }
    if (limits.squareOnly)
        w = h = std::max(w, h);
    while (limits.maxWidth && w > limits.maxWidth)
        w = std::max(1u, w / 2);
    while (limits.maxHeight && h > limits.maxHeight)
        h = std::max(1u, h / 2);
    out.width = w;
    out.height = h;
    out.levels = LevelsFor(levels, w, h);
    return true;
}
