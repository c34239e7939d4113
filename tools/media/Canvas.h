#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One 8-bit RGBA colour.
struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Rgba& o) const { return !(*this == o); }
};

constexpr Rgba RGBA_BLACK = {0, 0, 0, 255};
constexpr Rgba RGBA_WHITE = {255, 255, 255, 255};

// Straight mix of two colours, t in 0..1 (0 gives a).
Rgba MixColours(const Rgba& a, const Rgba& b, float t);

// A signed distance in pixels from a point to a shape's edge: negative
// inside. Edges are smoothed over one pixel from it.
using DistanceFn = std::function<float(float x, float y)>;
// The colour to paint at a pixel centre.
using PaintFn = std::function<Rgba(float x, float y)>;

// Signed distances of the usual shapes, in pixel units; (x, y) are pixel
// coordinates, the centre of pixel (i, j) being (i + 0.5, j + 0.5).
float RoundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);
float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry);
// |dx/r|^n + |dy/r|^n = 1: a circle for n = 2, a squircle for n = 4.
float SuperellipseDistance(float x, float y, float cx, float cy, float r, float n);

// A picture of 8-bit RGBA pixels, row 0 at the top, with a small painter.
// Painting blends source-over; everything is clipped to the picture.
class CCanvas {
public:
    CCanvas(int width, int height, Rgba fill = RGBA_BLACK);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgba Get(int x, int y) const;
    void Set(int x, int y, Rgba c);
    // Source-over with the colour's alpha scaled by coverage (0..1).
    void Blend(int x, int y, Rgba c, float coverage = 1.0f);
    // True when every pixel is fully opaque.
    bool IsOpaque() const;

    void Fill(Rgba c);
    // Pixels x0 <= x < x1, y0 <= y < y1.
    void FillRect(int x0, int y0, int x1, int y1, Rgba c);
    // From `from` at the first row (vertical) or column to `to` at the last.
    void FillGradient(int x0, int y0, int x1, int y1, Rgba from, Rgba to, bool vertical);
    // From `inner` at the centre to `outer` at radius and beyond, over the whole picture.
    void FillRadialGradient(float cx, float cy, float radius, Rgba inner, Rgba outer);

    // Any shape by its signed distance, within the bounds given (pixels).
    // With antialias the edge pixel takes its coverage; without, a pixel is
    // painted fully exactly when its centre is inside (distance <= 0).
    void FillShape(const DistanceFn& distance, int x0, int y0, int x1, int y1, const PaintFn& paint,
                   bool antialias = true);
    void FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Rgba c);
    void StrokeRoundedRect(float x0, float y0, float x1, float y1, float radius, float width, Rgba c);
    void FillEllipse(float cx, float cy, float rx, float ry, Rgba c);
    void StrokeEllipse(float cx, float cy, float rx, float ry, float width, Rgba c);

    // Text in the built-in font, top-left corner at (x, y), each font pixel
    // scale × scale; with smooth (even scales) diagonals are rounded off.
    // '\n' starts a new line. Answers the width of the widest line.
    int DrawText(int x, int y, const std::string& text, Rgba c, int scale = 1, bool smooth = false);

private:
    int m_width, m_height;
    std::vector<Rgba> m_pixels;
};
