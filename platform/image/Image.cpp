#include "platform/image/Image.h"

#include <new>

ImageLimits ImageLimits::Within(int64_t width, int64_t height) {
    ImageLimits limits;
    if (width > 0 && width < limits.maxWidth)
        limits.maxWidth = (int)width;
    if (height > 0 && height < limits.maxHeight)
        limits.maxHeight = (int)height;
    return limits;
}

bool CImage::Allocate(int w, int h) {
    Clear();
    if (w <= 0 || h <= 0 || w > IMAGE_MAX_SIDE || h > IMAGE_MAX_SIDE)
        return false;
    try {
        pixels.assign((size_t)w * (size_t)h * 4, 0);
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    width = w;
    height = h;
    return true;
}

void CImage::Clear() {
    width = 0;
    height = 0;
    hasAlpha = false;
    pixels.clear();
    pixels.shrink_to_fit();
}

uint32_t CImage::Texel(int x, int y) const { return ReadLe32(Row(y) + (size_t)x * 4); }
