#include "platform/image/Image.h"

bool CImage::Allocate(int w, int h) {
    Clear();
    if (w <= 0 || h <= 0 || w > IMAGE_MAX_SIDE || h > IMAGE_MAX_SIDE)
        return false;
    width = w;
    height = h;
    pixels.assign((size_t)w * (size_t)h * 4, 0);
    return true;
}

void CImage::Clear() {
    width = 0;
    height = 0;
    hasAlpha = false;
    pixels.clear();
}

uint32_t CImage::Texel(int x, int y) const {
    const uint8_t* p = Row(y) + (size_t)x * 4;
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
