#pragma once
// The colour helpers and the per-pixel fill that the texture painters share.
#include "tools/content/TexturePainter.h"

struct Rgb {
    float r, g, b;
};

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float SmoothStep(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline Rgb MixRgb(Rgb a, Rgb b, float t) { return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)}; }
inline Rgb Scale(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline void Put(CPaintImage& image, int x, int y, Rgb c) { image.Set(x, y, c.r, c.g, c.b); }

// A picture whose every pixel is colourAt(x, y), painted row by row from the
// top and each row from the left: painters that draw from the generator as
// they go rely on that order.
template <class ColourAt>
CPaintImage PaintPixels(int width, int height, ColourAt colourAt) {
    CPaintImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Put(image, x, y, colourAt(x, y));
    return image;
}
