#include "tools/content/TexturePainter.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Random.h"
#include "engine/core/LittleEndian.h"
#include "tools/content/Painting.h"

namespace {
constexpr float PI = 3.14159265358979f;

// Long-grained wood: rings bent by noise, stretched along x.
Rgb WoodAt(const CNoise& noise, float x, float y, Rgb light, Rgb dark, float rings) {
    float warp = noise.Fractal(x * 0.02f, y * 0.15f, 3);
    float ring = std::sin((y * rings + warp * 6.0f) * 2 * PI) * 0.5f + 0.5f;
    ring = std::pow(ring, 3.0f);
    float fleck = noise.Fractal(x * 0.25f, y * 0.9f, 2);
    Rgb c = MixRgb(light, dark, ring * 0.7f + fleck * 0.25f);
    return c;
}

CPaintImage Wood(unsigned seed, int size, Rgb light, Rgb dark, float rings) {
    CNoise noise(seed, 16);
    return PaintPixels(size, size, [&](int x, int y) {
        return WoodAt(noise, float(x) * 16 / size, float(y) / size, light, dark, rings);
    });
}

// Floor boards: four planks across, each with its own shade and joints.
CPaintImage Flooring() {
    const int size = 256;
    CPaintImage image(size, size);
    CNoise noise(11, 16);
    Rgb light{0.74f, 0.52f, 0.31f}, dark{0.50f, 0.31f, 0.16f};
    const int planks = 4, plankHeight = size / planks;
    for (int y = 0; y < size; ++y) {
        int plank = y / plankHeight;
        float shade = 0.9f + 0.1f * noise.Sample(float(plank) * 3.3f, 1.7f);
        int offset = (plank * 97) % size;
        for (int x = 0; x < size; ++x) {
            int px = (x + offset) % size;
            Rgb c = MixRgb(WoodAt(noise, float(px) * 16 / size, float(y) / size + plank * 0.31f, light, dark, 9), light,
                           0.45f);
            c = Scale(c, shade);
            if (y % plankHeight == 0 || px == size / 2 + plank * 13 % 40)
                c = Scale(c, 0.55f);
            Put(image, x, y, c);
        }
    }
    return image;
}

// Tatami: fine woven rush rows with a dark cloth border along two edges.
CPaintImage Tatami() {
    const int size = 128;
    CNoise noise(23, 16);
    return PaintPixels(size, size, [&](int x, int y) {
        float weave = (x % 4 == 0) ? 0.82f : 1.0f;
        float rows = 0.92f + 0.08f * std::sin(float(y) * PI / 1.5f);
        float n = noise.Fractal(float(x) / 8, float(y) / 32, 3);
        Rgb c{0.70f * rows * weave + 0.1f * n, 0.72f * rows * weave + 0.08f * n, 0.42f * weave + 0.06f * n};
        if (y < 10 || y >= size - 10)
            c = {0.12f + 0.05f * n, 0.16f + 0.05f * n, 0.12f};
        return c;
    });
}

// Warm plaster wall with a dark wooden skirting band at the bottom.
CPaintImage Plaster() {
    const int size = 128;
    CNoise noise(31, 16);
    return PaintPixels(size, size, [&](int x, int y) {
        float n = noise.Fractal(float(x) / 8, float(y) / 8, 4);
        Rgb c{0.88f + 0.08f * n, 0.83f + 0.08f * n, 0.72f + 0.07f * n};
        return c;
    });
}

// Cotton print with small five-petal flowers on a soft ground.
CPaintImage FlowerFabric() {
    const int size = 128;
    CPaintImage image(size, size);
    CNoise noise(41, 16);
    Rgb ground{0.93f, 0.86f, 0.80f}, petal{0.86f, 0.45f, 0.50f}, centre{0.95f, 0.80f, 0.30f};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float thread = ((x + y) % 3 == 0) ? 0.96f : 1.0f;
            Rgb c = Scale(ground, thread * (0.95f + 0.05f * noise.Sample(float(x) / 4, float(y) / 4)));
            // Flowers on a staggered 32-pixel grid.
            for (int k = 0; k < 2; ++k) {
                float cx = std::fmod(float(x) + k * 16.0f, 32.0f) - 16.0f;
                float cy = std::fmod(float(y) + k * 16.0f, 32.0f) - 16.0f;
                float r = std::sqrt(cx * cx + cy * cy);
                float a = std::atan2(cy, cx);
                float edge = 6.0f + 2.5f * std::cos(5 * a);
                if (r < 2.2f)
                    c = centre;
                else if (r < edge)
                    c = MixRgb(petal, ground, r / edge * 0.4f);
            }
            Put(image, x, y, c);
        }
    return image;
}

// A shelf of book spines: three rows of spines of many widths and colours.
CPaintImage Books() {
    const int size = 128;
    CPaintImage image(size, size);
    CNoise noise(53, 16);
    const Rgb palette[] = {{0.55f, 0.12f, 0.12f}, {0.15f, 0.25f, 0.50f}, {0.20f, 0.42f, 0.25f}, {0.80f, 0.70f, 0.45f},
                           {0.35f, 0.22f, 0.15f}, {0.85f, 0.85f, 0.80f}, {0.60f, 0.40f, 0.65f}, {0.90f, 0.55f, 0.20f}};
    SeedRand(53);
    const int rowHeight = size / 3;
    for (int row = 0; row < 3; ++row) {
        int y0 = row * rowHeight, y1 = y0 + rowHeight;
        image.FillRect(0, y0, size, y1, 0.22f, 0.14f, 0.08f);
        int x = 0;
        while (x < size) {
            int width = 5 + Rand() % 8;
            int top = y0 + 3 + Rand() % 9;
            Rgb c = palette[Rand() % 8];
            for (int yy = top; yy < y1 - 2; ++yy)
                for (int xx = x; xx < std::min(size, x + width - 1); ++xx) {
                    float edge = (xx == x) ? 0.7f : 1.0f;
                    float band = (yy == top + 6 || yy == y1 - 9) ? 1.4f : 1.0f;
                    float n = 0.9f + 0.1f * noise.Sample(float(xx) / 4, float(yy) / 4);
                    Put(image, xx, yy, Scale(c, std::min(1.3f, edge * band * n)));
                }
            x += width;
        }
        image.FillRect(0, y1 - 2, size, y1, 0.40f, 0.28f, 0.16f);
    }
    return image;
}

// A chest front: a grid of drawers with dark gaps and metal handles.
CPaintImage DrawerFront(unsigned seed, Rgb light, Rgb dark, int columns, int rows) {
    const int size = 128;
    CPaintImage image = Wood(seed, size, light, dark, 5);
    int cw = size / columns, rh = size / rows;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int lx = x % cw, ly = y % rh;
            if (lx < 2 || ly < 2 || lx >= cw - 1 || ly >= rh - 1) {
                image.Set(x, y, dark.r * 0.4f, dark.g * 0.4f, dark.b * 0.4f);
                continue;
            }
            float hx = float(lx - cw / 2), hy = float(ly - rh / 2);
            if (std::fabs(hx) < cw * 0.18f && std::fabs(hy) < 2.5f)
                image.Set(x, y, 0.70f, 0.66f, 0.55f - 0.1f * (hy > 0));
        }
    return image;
}

// A mirror: pale silver-blue gradient with a soft highlight band.
CPaintImage Mirror() {
    const int size = 128;
    return PaintPixels(size, size, [&](int x, int y) {
        float t = float(y) / size;
        float band = std::exp(-std::pow((float(x) - float(y) * 0.6f - 30) / 10, 2.0f));
        Rgb c = MixRgb({0.78f, 0.84f, 0.90f}, {0.50f, 0.58f, 0.68f}, t);
        c = MixRgb(c, {1, 1, 1}, band * 0.5f);
        if (x < 8 || y < 8 || x >= size - 8 || y >= size - 8)
            c = {0.45f, 0.28f, 0.15f};
        return c;
    });
}

// A vertical gradient, light at the top.
CPaintImage Gradient(Rgb top, Rgb bottom) {
    const int size = 64;
    CNoise noise(61, 8);
    return PaintPixels(size, size, [&](int x, int y) {
        Rgb c = MixRgb(top, bottom, float(y) / (size - 1));
        return Scale(c, 0.97f + 0.03f * noise.Sample(float(x) / 8, float(y) / 8));
    });
}

// Kotatsu rug: a red field with a cream border and a woven texture.
CPaintImage Carpet() {
    const int size = 128;
    CNoise noise(71, 16);
    return PaintPixels(size, size, [&](int x, int y) {
        int d = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
        float n = noise.Fractal(float(x) / 4, float(y) / 4, 2);
        Rgb c{0.62f, 0.16f, 0.14f};
        if (d < 10)
            c = {0.88f, 0.80f, 0.62f};
        else if (d < 13)
            c = {0.30f, 0.10f, 0.08f};
        else if ((x / 16 + y / 16) % 2 == 0)
            c = {0.68f, 0.22f, 0.18f};
        return Scale(c, 0.85f + 0.2f * n);
    });
}

// Cushion cloth: indigo with thin cream and madder pinstripes.
CPaintImage Stripes() {
    const int size = 128;
    CNoise noise(73, 16);
    return PaintPixels(size, size, [&](int x, int y) {
        int s = x % 32;
        Rgb c{0.20f, 0.24f, 0.45f};
        if (s < 3)
            c = {0.90f, 0.86f, 0.74f};
        else if (s >= 15 && s < 17)
            c = {0.72f, 0.30f, 0.22f};
        return Scale(c, 0.9f + 0.1f * noise.Sample(float(x) / 3, float(y) / 3));
    });
}

// Dark lacquered board with fine lines (TV rack parts).
CPaintImage Lacquer(unsigned seed, Rgb base, bool lines) {
    const int size = 64;
    CNoise noise(seed, 8);
    return PaintPixels(size, size, [&](int x, int y) {
        float n = noise.Fractal(float(x) / 8, float(y) / 8, 3);
        float sheen = 0.9f + 0.25f * std::exp(-std::pow((float(y) - 16) / 6, 2.0f));
        Rgb c = Scale(base, sheen * (0.9f + 0.15f * n));
        if (lines && (y % 16 == 0 || y % 16 == 1))
            c = {0.70f, 0.68f, 0.62f};
        return c;
    });
}

// Sky panorama, u once round, v from zenith (top) down past the horizon.
// Below the horizon line a silhouette of hills and roofs.
enum SkyTime {
    SKY_TIME_DAY,
    SKY_TIME_EVENING,
    SKY_TIME_NIGHT
};

CPaintImage Sky(SkyTime time) {
    const int width = 512, height = 256;
    CPaintImage image(width, height);
    CNoise clouds(81, 16), hills(83, 32);
    Rgb zenith, horizon, ground, cloud;
    switch (time) {
    case SKY_TIME_DAY:
        zenith = {0.25f, 0.50f, 0.90f}, horizon = {0.75f, 0.88f, 1.0f}, ground = {0.25f, 0.42f, 0.25f},
        cloud = {1, 1, 1};
        break;
    case SKY_TIME_EVENING:
        zenith = {0.42f, 0.28f, 0.52f}, horizon = {1.0f, 0.52f, 0.22f}, ground = {0.22f, 0.14f, 0.18f},
        cloud = {1.0f, 0.62f, 0.42f};
        break;
    default:
        zenith = {0.02f, 0.03f, 0.10f}, horizon = {0.10f, 0.14f, 0.30f}, ground = {0.03f, 0.04f, 0.08f},
        cloud = {0.20f, 0.22f, 0.35f};
        break;
    }
    // The room model's sky cylinders put this row just above the ground.
    const float horizonRow = height * 0.775f;
    SeedRand(87 + unsigned(time));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float u = float(x) / width;
            float t = Clamp01(float(y) / horizonRow);
            Rgb c = MixRgb(zenith, horizon, std::pow(t, 1.6f));
            float cover = clouds.Fractal(u * 16, float(y) / height * 6, 4);
            float amount = SmoothStep(0.52f, 0.75f, cover) * (1 - t * 0.5f) * 0.9f;
            c = MixRgb(c, cloud, amount);
            // Hills and a low town line, wrapping round.
            float ridge = horizonRow - 14 - 26 * hills.Fractal(u * 32, 0.5f, 3);
            float roofs = horizonRow - 4 - 10 * (std::fmod(u * 90, 1.0f) < 0.6f) * hills.Sample(u * 96, 3.0f);
            float top = std::min(ridge, roofs);
            if (float(y) >= top) {
                float depth = Clamp01((float(y) - top) / 60);
                c = Scale(ground, 0.8f + 0.3f * depth);
                if (time == SKY_TIME_NIGHT && float(y) > roofs && Rand() % 90 == 0)
                    c = {1.0f, 0.85f, 0.45f};
            }
            Put(image, x, y, c);
        }
    if (time == SKY_TIME_NIGHT) {
        for (int i = 0; i < 260; ++i) {
            int x = Rand() % width, y = Rand() % int(horizonRow * 0.8f);
            float b = 0.5f + 0.5f * RandUnit();
            image.Blend(x, y, 1, 1, 0.9f, b);
        }
        // The moon.
        for (int y = 30; y < 60; ++y)
            for (int x = 100; x < 130; ++x) {
                float d = std::hypot(float(x) - 115, float(y) - 45);
                if (d < 11)
                    image.Set(x, y, 1.0f, 0.97f, 0.85f);
                else if (d < 16)
                    image.Blend(x, y, 0.6f, 0.65f, 0.8f, (16 - d) / 10);
            }
    }
    return image;
}
} // namespace

CPaintImage::CPaintImage(int width, int height)
    : m_width(width),
      m_height(height),
      m_rgb(size_t(width) * height * 3, 0) {}

void CPaintImage::Set(int x, int y, float r, float g, float b) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    uint8_t* p = &m_rgb[(size_t(y) * m_width + x) * 3];
    p[0] = uint8_t(std::lround(Clamp01(r) * 255));
    p[1] = uint8_t(std::lround(Clamp01(g) * 255));
    p[2] = uint8_t(std::lround(Clamp01(b) * 255));
}

void CPaintImage::Get(int x, int y, float& r, float& g, float& b) const {
    x = std::clamp(x, 0, m_width - 1);
    y = std::clamp(y, 0, m_height - 1);
    const uint8_t* p = &m_rgb[(size_t(y) * m_width + x) * 3];
    r = p[0] / 255.0f;
    g = p[1] / 255.0f;
    b = p[2] / 255.0f;
}

void CPaintImage::Blend(int x, int y, float r, float g, float b, float a) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    float cr, cg, cb;
    Get(x, y, cr, cg, cb);
    Set(x, y, Mix(cr, r, a), Mix(cg, g, a), Mix(cb, b, a));
}

void CPaintImage::FillRect(int x0, int y0, int x1, int y1, float r, float g, float b) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            Set(x, y, r, g, b);
}

std::vector<uint8_t> CPaintImage::ToTga() const {
    std::vector<uint8_t> out(18, 0);
    out[2] = 2; // uncompressed true colour
    WriteLe16(&out[12], uint16_t(m_width));
    WriteLe16(&out[14], uint16_t(m_height));
    out[16] = 24;
    out[17] = 0; // no alpha bits, bottom row first
    out.reserve(out.size() + m_rgb.size());
    for (int y = m_height - 1; y >= 0; --y)
        for (int x = 0; x < m_width; ++x) {
            const uint8_t* p = &m_rgb[(size_t(y) * m_width + x) * 3];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
    return out;
}

CNoise::CNoise(unsigned int seed, int cells) : m_cells(cells), m_values(size_t(cells) * cells) {
    SeedRand(seed);
    for (float& v : m_values)
        v = RandUnit();
}

float CNoise::Sample(float x, float y) const {
    float fx = std::floor(x), fy = std::floor(y);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](float cx, float cy) {
        int ix = ((int(cx) % m_cells) + m_cells) % m_cells;
        int iy = ((int(cy) % m_cells) + m_cells) % m_cells;
        return m_values[size_t(iy) * m_cells + ix];
    };
    float a = Mix(at(fx, fy), at(fx + 1, fy), tx);
    float b = Mix(at(fx, fy + 1), at(fx + 1, fy + 1), tx);
    return Mix(a, b, ty);
}

float CNoise::Fractal(float x, float y, int octaves) const {
    float sum = 0, weight = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += Sample(x, y) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        weight *= 0.5f;
    }
    return total > 0 ? sum / total : 0;
}

std::vector<PaintedTexture> PaintRoomTextures() {
    std::vector<PaintedTexture> out;
    auto add = [&](const char* file, CPaintImage image) { out.push_back({file, std::move(image)}); };
    add("room_bedwood2003.tga", Wood(101, 128, {0.80f, 0.62f, 0.42f}, {0.60f, 0.42f, 0.26f}, 6));
    add("room_books.tga", Books());
    add("room_deskgradmini.tga", Gradient({0.72f, 0.55f, 0.36f}, {0.45f, 0.30f, 0.18f}));
    add("room_deskwood2003.tga", Wood(103, 128, {0.74f, 0.52f, 0.32f}, {0.50f, 0.32f, 0.18f}, 7));
    add("room_domecfuchi2.tga", Plaster());
    add("room_floaring3.tga", Flooring());
    add("room_kotatsucarpet2003.tga", Carpet());
    add("room_kotatsustiripe2003.tga", Stripes());
    add("room_kotatsutop.tga", Wood(105, 128, {0.55f, 0.35f, 0.20f}, {0.35f, 0.20f, 0.10f}, 5));
    add("room_kotatsuwood2003.tga", Wood(107, 128, {0.70f, 0.50f, 0.30f}, {0.48f, 0.30f, 0.16f}, 8));
    add("room_krwood1b.tga", Wood(109, 128, {0.86f, 0.72f, 0.52f}, {0.68f, 0.52f, 0.34f}, 6));
    add("room_krwood5fuchi2.tga", Wood(111, 128, {0.40f, 0.25f, 0.14f}, {0.25f, 0.14f, 0.07f}, 6));
    add("room_patternj2flower2.tga", FlowerFabric());
    add("room_tvline.tga", Lacquer(113, {0.18f, 0.18f, 0.20f}, true));
    add("room_tvrack2.tga", Lacquer(115, {0.22f, 0.20f, 0.19f}, false));
    add("room_tvrack3.tga", Lacquer(117, {0.30f, 0.34f, 0.38f}, false));
    add("room_wasashab.tga", Tatami());
    add("room_wood1c2tansu.tga", DrawerFront(119, {0.72f, 0.48f, 0.26f}, {0.50f, 0.30f, 0.14f}, 2, 4));
    add("room_wood1ckyoudai.tga", DrawerFront(121, {0.66f, 0.42f, 0.24f}, {0.44f, 0.26f, 0.12f}, 1, 3));
    add("room_wood1ckyoudai2.tga", Mirror());
    add("sky_day.tga", Sky(SKY_TIME_DAY));
    add("sky_evening.tga", Sky(SKY_TIME_EVENING));
    add("sky_night.tga", Sky(SKY_TIME_NIGHT));
    return out;
}
