#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An opaque RGB picture, row 0 at the top (texture v = 0).
class CPaintImage {
public:
    CPaintImage(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Set(int x, int y, float r, float g, float b);
    // Components in 0..1.
    void Get(int x, int y, float& r, float& g, float& b) const;
    // Blends a colour over the pixel with weight a in 0..1.
    void Blend(int x, int y, float r, float g, float b, float a);
    void FillRect(int x0, int y0, int x1, int y1, float r, float g, float b);

    // An uncompressed 24-bit TGA with the rows bottom first (its usual order).
    std::vector<uint8_t> ToTga() const;

private:
    int m_width, m_height;
    std::vector<uint8_t> m_rgb;
};

// Smooth value noise that tiles over its lattice, filled from Rand() after
// SeedRand(seed) so that a painting repeats exactly.
class CNoise {
public:
    CNoise(unsigned int seed, int cells);
    // Noise in 0..1 at (x, y) in lattice cells; wraps every `cells`.
    float Sample(float x, float y) const;
    // Several octaves, each twice as fine and half as strong.
    float Fractal(float x, float y, int octaves) const;

private:
    int m_cells;
    std::vector<float> m_values;
};

// One painted texture of the room: the file the texture record names (as
// the archive stores it) and its picture.
struct PaintedTexture {
    std::string fileName;
    CPaintImage image;
};

// The room and sky pictures of texture list 0, by their texture file names
// ("room_floaring3.tga", "sky_day.tga" ...), in a fixed order.
std::vector<PaintedTexture> PaintRoomTextures();
