#pragma once

// A colour of four floats (red, green, blue, alpha), as uploaded to the
// vertex shader constants. A colour nobody set is the engine's neutral grey
// with no alpha, the same default lights, shaders and billboards start from.
struct ColorRGBA {
    float r = 0.8f, g = 0.8f, b = 0.8f, a = 0;

    ColorRGBA() = default;
    ColorRGBA(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}

    ColorRGBA& Set(float red, float green, float blue, float alpha) {
        r = red, g = green, b = blue, a = alpha;
        return *this;
    }
    // Component by component.
    ColorRGBA& Add(const ColorRGBA& o) {
        r += o.r, g += o.g, b += o.b, a += o.a;
        return *this;
    }
    // All four components, alpha included.
    ColorRGBA& Scale(float s) {
        r *= s, g *= s, b *= s, a *= s;
        return *this;
    }
};
