#include "tools/media/Canvas.h"

#include <algorithm>
#include <cmath>

#include "tools/media/BitmapFont.h"

namespace {

uint8_t ToByte(float v) { return uint8_t(std::lround(std::min(255.0f, std::max(0.0f, v)))); }

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

} // namespace

Rgba MixColours(const Rgba& a, const Rgba& b, float t) {
    t = Clamp01(t);
    return {ToByte(a.r + (b.r - a.r) * t), ToByte(a.g + (b.g - a.g) * t), ToByte(a.b + (b.b - a.b) * t),
            ToByte(a.a + (b.a - a.a) * t)};
}

float RoundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    float hx = (x1 - x0) * 0.5f, hy = (y1 - y0) * 0.5f;
    radius = std::max(0.0f, std::min(radius, std::min(hx, hy)));
    float qx = std::fabs(x - cx) - (hx - radius);
    float qy = std::fabs(y - cy) - (hy - radius);
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    float inside = std::min(std::max(qx, qy), 0.0f);
    return outside + inside - radius;
}

float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry) {
    if (rx <= 0 || ry <= 0)
        return 1e9f;
    float dx = (x - cx) / rx, dy = (y - cy) / ry;
    float f = dx * dx + dy * dy - 1.0f;
    // f over its gradient: close to the true distance near the edge.
    float gx = 2 * dx / rx, gy = 2 * dy / ry;
    float g = std::hypot(gx, gy);
    if (g < 1e-6f)
        return -std::min(rx, ry);
    return f / g;
}

float SuperellipseDistance(float x, float y, float cx, float cy, float r, float n) {
    if (r <= 0)
        return 1e9f;
    float ax = std::fabs(x - cx) / r, ay = std::fabs(y - cy) / r;
    float f = std::pow(ax, n) + std::pow(ay, n) - 1.0f;
    float gx = n * std::pow(ax, n - 1) / r, gy = n * std::pow(ay, n - 1) / r;
    float g = std::hypot(gx, gy);
    if (g < 1e-6f)
        return -r;
    return f / g;
}

CCanvas::CCanvas(int width, int height, Rgba fill)
    : m_width(std::max(0, width)),
      m_height(std::max(0, height)),
      m_pixels(size_t(m_width) * size_t(m_height), fill) {}

Rgba CCanvas::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {0, 0, 0, 0};
    return m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
}

void CCanvas::Set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[size_t(y) * size_t(m_width) + size_t(x)] = c;
}

void CCanvas::Blend(int x, int y, Rgba c, float coverage) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    float a = Clamp01(coverage) * (c.a / 255.0f);
    if (a <= 0)
        return;
    Rgba& d = m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
    if (a >= 1) {
        d = c;
        d.a = 255;
        return;
    }
    float da = d.a / 255.0f;
    float oa = a + da * (1 - a);
    auto mix = [&](uint8_t s, uint8_t t) { return ToByte((s * a + t * da * (1 - a)) / oa); };
    d = {mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), ToByte(oa * 255.0f)};
}

bool CCanvas::IsOpaque() const {
    for (const Rgba& p : m_pixels)
        if (p.a != 255)
            return false;
    return true;
}

void CCanvas::Fill(Rgba c) { std::fill(m_pixels.begin(), m_pixels.end(), c); }

void CCanvas::FillRect(int x0, int y0, int x1, int y1, Rgba c) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, m_width), y1 = std::min(y1, m_height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            Blend(x, y, c);
}

void CCanvas::FillGradient(int x0, int y0, int x1, int y1, Rgba from, Rgba to, bool vertical) {
    int span = vertical ? y1 - y0 : x1 - x0;
    int cx0 = std::max(x0, 0), cy0 = std::max(y0, 0);
    int cx1 = std::min(x1, m_width), cy1 = std::min(y1, m_height);
    for (int y = cy0; y < cy1; ++y)
        for (int x = cx0; x < cx1; ++x) {
            int step = vertical ? y - y0 : x - x0;
            float t = span > 1 ? float(step) / float(span - 1) : 0.0f;
            Blend(x, y, MixColours(from, to, t));
        }
}

void CCanvas::FillRadialGradient(float cx, float cy, float radius, Rgba inner, Rgba outer) {
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            Blend(x, y, MixColours(inner, outer, radius > 0 ? d / radius : 1.0f));
        }
}

void CCanvas::FillShape(const DistanceFn& distance, int x0, int y0, int x1, int y1, const PaintFn& paint,
                        bool antialias) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, m_width), y1 = std::min(y1, m_height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float d = distance(px, py);
            float coverage = antialias ? Clamp01(0.5f - d) : (d <= 0 ? 1.0f : 0.0f);
            if (coverage > 0)
                Blend(x, y, paint(px, py), coverage);
        }
}

namespace {
PaintFn Solid(Rgba c) {
    return [c](float, float) { return c; };
}
} // namespace

void CCanvas::FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Rgba c) {
    FillShape([=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, radius); },
              int(std::floor(x0)) - 1, int(std::floor(y0)) - 1, int(std::ceil(x1)) + 1, int(std::ceil(y1)) + 1,
              Solid(c));
}

void CCanvas::StrokeRoundedRect(float x0, float y0, float x1, float y1, float radius, float width, Rgba c) {
    float half = width * 0.5f;
    FillShape([=](float x, float y) { return std::fabs(RoundedRectDistance(x, y, x0, y0, x1, y1, radius)) - half; },
              int(std::floor(x0 - half)) - 1, int(std::floor(y0 - half)) - 1, int(std::ceil(x1 + half)) + 1,
              int(std::ceil(y1 + half)) + 1, Solid(c));
}

void CCanvas::FillEllipse(float cx, float cy, float rx, float ry, Rgba c) {
    FillShape([=](float x, float y) { return EllipseDistance(x, y, cx, cy, rx, ry); }, int(std::floor(cx - rx)) - 1,
              int(std::floor(cy - ry)) - 1, int(std::ceil(cx + rx)) + 1, int(std::ceil(cy + ry)) + 1, Solid(c));
}

void CCanvas::StrokeEllipse(float cx, float cy, float rx, float ry, float width, Rgba c) {
    float half = width * 0.5f;
    FillShape([=](float x, float y) { return std::fabs(EllipseDistance(x, y, cx, cy, rx, ry)) - half; },
              int(std::floor(cx - rx - half)) - 1, int(std::floor(cy - ry - half)) - 1,
              int(std::ceil(cx + rx + half)) + 1, int(std::ceil(cy + ry + half)) + 1, Solid(c));
}

int CCanvas::DrawText(int x, int y, const std::string& text, Rgba c, int scale, bool smooth) {
    if (scale < 1)
        scale = 1;
    const int gw = FONT_GLYPH_WIDTH * scale, gh = FONT_GLYPH_HEIGHT * scale;
    int penX = x, penY = y, widest = 0;
    for (char ch : text) {
        if (ch == '\n') {
            penX = x;
            penY += FONT_LINE_HEIGHT * scale;
            continue;
        }
        std::vector<uint8_t> mask = GlyphMask(ch, scale, smooth);
        for (int gy = 0; gy < gh; ++gy)
            for (int gx = 0; gx < gw; ++gx)
                if (mask[size_t(gy) * size_t(gw) + size_t(gx)])
                    Blend(penX + gx, penY + gy, c);
        penX += FONT_ADVANCE * scale;
        // The last glyph's blank column does not count.
        widest = std::max(widest, penX - x - (FONT_ADVANCE - FONT_GLYPH_WIDTH) * scale);
    }
    return widest;
}
