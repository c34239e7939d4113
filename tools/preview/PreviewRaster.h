#pragma once
#include <cstdint>
#include <vector>

#include "tools/content/TexturePainter.h"

// A vertex ready to draw: its place in camera space (the camera looks down
// -z), its texture coordinates and its lit colour before the texture.
struct RasterVertex {
    float view[3] = {0, 0, 0};
    float u = 0, v = 0;
    float colour[3] = {1, 1, 1};
};

// The picture a triangle's texels come from; no image draws the lit colour.
// A clamped direction stops at the edge, the others repeat.
struct RasterTexture {
    const CPaintImage* image = nullptr;
    bool clampU = false, clampV = false;
};

// The software rasteriser of the previews: triangles clipped at the near
// plane, projected with the vertical field of view, filled with
// perspective-correct texture coordinates and colours against a depth
// buffer. A translucent triangle blends over what is there and leaves the
// depth as it was.
class CPreviewRaster {
public:
    CPreviewRaster(int width, int height, float fovY, const float background[3]);

    void DrawTriangle(const RasterVertex in[3], const RasterTexture& texture, bool doubleSided, float alpha);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The picture as 8-bit RGB, rows top first.
    std::vector<uint8_t> ToRgb() const;

private:
    void Fill(const RasterVertex t[3], const RasterTexture& texture, bool doubleSided, float alpha);

    int m_width, m_height;
    float m_focal;
    std::vector<float> m_depth;
    std::vector<float> m_rgb;
};
