#include "tools/preview/PreviewRaster.h"

#include <algorithm>
#include <cmath>

namespace {

RasterVertex Between(const RasterVertex& a, const RasterVertex& b, float t) {
    RasterVertex c;
    for (int k = 0; k < 3; ++k) {
        c.view[k] = a.view[k] + (b.view[k] - a.view[k]) * t;
        c.colour[k] = a.colour[k] + (b.colour[k] - a.colour[k]) * t;
    }
    c.u = a.u + (b.u - a.u) * t;
    c.v = a.v + (b.v - a.v) * t;
    return c;
}

float Wrap(float t, bool clamp) { return clamp ? std::min(std::max(t, 0.0f), 0.9999f) : t - std::floor(t); }

} // namespace

CPreviewRaster::CPreviewRaster(int width, int height, float fovY, const float background[3])
    : m_width(width),
      m_height(height),
      m_focal((height / 2.0f) / std::tan(fovY / 2)),
      m_depth(size_t(width) * size_t(height), 1e30f),
      m_rgb(size_t(width) * size_t(height) * 3) {
    for (size_t i = 0; i < m_rgb.size(); ++i)
        m_rgb[i] = background[i % 3];
}

void CPreviewRaster::DrawTriangle(const RasterVertex in[3], const RasterTexture& texture, bool doubleSided,
                                  float alpha) {
    const float nearZ = -1.0f;
    std::vector<RasterVertex> poly;
    for (int i = 0; i < 3; ++i) {
        const RasterVertex& a = in[i];
        const RasterVertex& b = in[(i + 1) % 3];
        const bool aIn = a.view[2] <= nearZ, bIn = b.view[2] <= nearZ;
        if (aIn)
            poly.push_back(a);
        if (aIn != bIn)
            poly.push_back(Between(a, b, (nearZ - a.view[2]) / (b.view[2] - a.view[2])));
    }
    for (size_t i = 2; i < poly.size(); ++i) {
        const RasterVertex t[3] = {poly[0], poly[i - 1], poly[i]};
        Fill(t, texture, doubleSided, alpha);
    }
}

void CPreviewRaster::Fill(const RasterVertex t[3], const RasterTexture& texture, bool doubleSided, float alpha) {
    float sx[3], sy[3], iw[3];
    for (int i = 0; i < 3; ++i) {
        iw[i] = 1 / -t[i].view[2];
        sx[i] = m_width / 2.0f + t[i].view[0] * m_focal * iw[i];
        sy[i] = m_height / 2.0f - t[i].view[1] * m_focal * iw[i];
    }
    const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
    // Screen y grows downward: counter-clockwise on screen gives a negative area.
    if ((area >= 0 && !doubleSided) || area == 0)
        return;
    const int x0 = std::max(0, int(std::floor(std::min({sx[0], sx[1], sx[2]}))));
    const int x1 = std::min(m_width - 1, int(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
    const int y0 = std::max(0, int(std::floor(std::min({sy[0], sy[1], sy[2]}))));
    const int y1 = std::min(m_height - 1, int(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float b0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
            const float b1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
            const float b2 = 1 - b0 - b1;
            if (b0 < 0 || b1 < 0 || b2 < 0)
                continue;
            const float w = b0 * iw[0] + b1 * iw[1] + b2 * iw[2];
            const float depth = 1 / w;
            const size_t at = size_t(y) * size_t(m_width) + size_t(x);
            if (depth >= m_depth[at])
                continue;
            auto lerp = [&](float a, float b, float c) {
                return (a * b0 * iw[0] + b * b1 * iw[1] + c * b2 * iw[2]) / w;
            };
            float c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = lerp(t[0].colour[k], t[1].colour[k], t[2].colour[k]);
            if (texture.image) {
                const CPaintImage& image = *texture.image;
                const float u = Wrap(lerp(t[0].u, t[1].u, t[2].u), texture.clampU);
                const float v = Wrap(lerp(t[0].v, t[1].v, t[2].v), texture.clampV);
                float texel[3];
                image.Get(int(u * image.Width()) % image.Width(), int(v * image.Height()) % image.Height(), texel[0],
                          texel[1], texel[2]);
                for (int k = 0; k < 3; ++k)
                    c[k] *= texel[k];
            }
            float* out = &m_rgb[at * 3];
            if (alpha < 1) {
                for (int k = 0; k < 3; ++k)
                    out[k] = out[k] * (1 - alpha) + c[k] * alpha;
            } else {
                m_depth[at] = depth;
                for (int k = 0; k < 3; ++k)
                    out[k] = c[k];
            }
        }
}

std::vector<uint8_t> CPreviewRaster::ToRgb() const {
    std::vector<uint8_t> out(m_rgb.size());
    for (size_t i = 0; i < m_rgb.size(); ++i)
        out[i] = uint8_t(std::lround(std::min(1.0f, std::max(0.0f, m_rgb[i])) * 255));
    return out;
}
