#include "platform/image/ImageResample.h"

#include <algorithm>
#include <cmath>

int FullMipCount(int width, int height) {
    int levels = 1;
    while (width > 1 || height > 1) {
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
        ++levels;
    }
    return levels;
}

bool BuildMipLevel(const CImage& source, CImage& out) {
    if (source.IsEmpty() || !out.Allocate(std::max(1, source.width / 2), std::max(1, source.height / 2)))
        return false;
    out.hasAlpha = source.hasAlpha;
    for (int y = 0; y < out.height; ++y) {
        int y0 = std::min(2 * y, source.height - 1), y1 = std::min(2 * y + 1, source.height - 1);
        for (int x = 0; x < out.width; ++x) {
            int x0 = std::min(2 * x, source.width - 1), x1 = std::min(2 * x + 1, source.width - 1);
            const uint8_t* a = source.Row(y0) + (size_t)x0 * 4;
            const uint8_t* b = source.Row(y0) + (size_t)x1 * 4;
            const uint8_t* c = source.Row(y1) + (size_t)x0 * 4;
            const uint8_t* d = source.Row(y1) + (size_t)x1 * 4;
            uint8_t* dst = out.Row(y) + (size_t)x * 4;
            for (int i = 0; i < 4; ++i)
                dst[i] = (uint8_t)((a[i] + b[i] + c[i] + d[i] + 2) / 4);
        }
    }
    return true;
}

bool ResizeImage(const CImage& source, int width, int height, CImage& out, bool nearest) {
    if (source.IsEmpty() || &source == &out || !out.Allocate(width, height))
        return false;
    out.hasAlpha = source.hasAlpha;
    float sx = (float)source.width / (float)width, sy = (float)source.height / (float)height;
    if (nearest) {
        for (int y = 0; y < height; ++y) {
            int srcY = std::min((int)((float)y * sy), source.height - 1);
            for (int x = 0; x < width; ++x) {
                int srcX = std::min((int)((float)x * sx), source.width - 1);
                std::copy_n(source.Row(srcY) + (size_t)srcX * 4, 4, out.Row(y) + (size_t)x * 4);
            }
        }
        return true;
    }
    for (int y = 0; y < height; ++y) {
        float fy = std::max(0.0f, ((float)y + 0.5f) * sy - 0.5f);
        int y0 = std::min((int)fy, source.height - 1), y1 = std::min(y0 + 1, source.height - 1);
        float wy = fy - (float)y0;
        for (int x = 0; x < width; ++x) {
            float fx = std::max(0.0f, ((float)x + 0.5f) * sx - 0.5f);
            int x0 = std::min((int)fx, source.width - 1), x1 = std::min(x0 + 1, source.width - 1);
            float wx = fx - (float)x0;
            const uint8_t* a = source.Row(y0) + (size_t)x0 * 4;
            const uint8_t* b = source.Row(y0) + (size_t)x1 * 4;
            const uint8_t* c = source.Row(y1) + (size_t)x0 * 4;
            const uint8_t* d = source.Row(y1) + (size_t)x1 * 4;
            uint8_t* dst = out.Row(y) + (size_t)x * 4;
            for (int i = 0; i < 4; ++i) {
                float top = a[i] + (b[i] - a[i]) * wx, bottom = c[i] + (d[i] - c[i]) * wx;
                dst[i] = (uint8_t)std::lround(std::clamp(top + (bottom - top) * wy, 0.0f, 255.0f));
            }
        }
    }
    return true;
}
