#include <cmath>

#include "tools/content/Painting.h"
#include "tools/goods/GoodsBuilder.h"

namespace {

constexpr float PI = 3.14159265f;

// Brushed steel with a few darker bands, for the drums' rims and lugs.
CPaintImage CongaMetal() {
    const int size = 64;
    CNoise noise(101, 8);
    return PaintPixels(size, size, [&](int x, int y) {
        float streak = noise.Fractal(float(x) / 32, float(y) / 2, 3);
        float band = 0.5f + 0.5f * std::cos(float(y) / size * 2 * PI * 2);
        float v = 0.55f + 0.3f * streak + 0.12f * band;
        return Rgb{v * 0.96f, v * 0.97f, v};
    });
}

// Lacquered red wood staves running down the drum, with dark joints.
CPaintImage CongaRedwood() {
    const int size = 128;
    CPaintImage image(size, size);
    CNoise noise(102, 16);
    Rgb light{0.72f, 0.22f, 0.10f}, dark{0.38f, 0.08f, 0.04f};
    const int staves = 8;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int stave = x * staves / size;
            float grain = noise.Fractal(float(x) / 6 + stave * 3.1f, float(y) / 40, 3);
            float ring = 0.5f + 0.5f * std::sin((float(x) / 5 + grain * 5) * PI);
            Rgb c = MixRgb(light, dark, 0.25f + 0.45f * ring * grain);
            // Varnish highlight along each stave's middle.
            float across = float(x % (size / staves)) / (size / staves);
            float shine = std::pow(std::sin(across * PI), 8.0f) * 0.18f;
            c = {c.r + shine, c.g + shine * 0.7f, c.b + shine * 0.5f};
            if (x % (size / staves) == 0)
                c = {c.r * 0.45f, c.g * 0.45f, c.b * 0.45f};
            Put(image, x, y, c);
        }
    return image;
}

// A stretched hide: pale cream, mottled, darker at the rim where it is tacked.
CPaintImage CongaSkin() {
    const int size = 128;
    CNoise noise(103, 8);
    return PaintPixels(size, size, [&](int x, int y) {
        float u = (x + 0.5f) / size * 2 - 1, v = (y + 0.5f) / size * 2 - 1;
        float r = std::sqrt(u * u + v * v);
        float mottle = noise.Fractal(float(x) / 16, float(y) / 16, 4);
        Rgb c = MixRgb({0.93f, 0.86f, 0.70f}, {0.75f, 0.62f, 0.42f}, 0.35f * mottle + 0.5f * Clamp01((r - 0.7f) * 3));
        // Played: a worn patch near the middle.
        c = MixRgb(c, {0.80f, 0.70f, 0.52f}, 0.25f * Clamp01(1 - r * 2.2f));
        return c;
    });
}

// The octopus's painted head: purple with spots, two big eyes with
// highlights and a grin, facing the front (u = 0.5) of the sphere.
CPaintImage Diabolos() {
    const int w = 256, h = 128;
    CNoise noise(104, 8);
    CPaintImage image = PaintPixels(w, h, [&](int x, int y) {
        float n = noise.Fractal(float(x) / 32, float(y) / 16, 3);
        return MixRgb({0.62f, 0.24f, 0.68f}, {0.45f, 0.14f, 0.52f}, n);
    });
    // Spots all round.
    for (int i = 0; i < 22; ++i) {
        float cx = float((i * 53) % w), cy = float(12 + (i * 37) % (h - 40)), r = 4.0f + float(i % 3) * 2;
        for (int y = int(cy - r); y <= int(cy + r); ++y)
            for (int x = int(cx - r); x <= int(cx + r); ++x) {
                if (y < 0 || y >= h)
                    continue;
                float d = std::hypot(float(x) - cx, float(y) - cy);
                if (d < r)
                    image.Blend((x + w) % w, y, 0.80f, 0.50f, 0.85f, 0.8f);
            }
    }
    // Eyes: the sphere's u runs round once; the front sits at u = 0.5.
    auto disc = [&](float cx, float cy, float rx, float ry, Rgb c) {
        for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; ++y)
            for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; ++x) {
                if (x < 0 || x >= w || y < 0 || y >= h)
                    continue;
                float dx = (float(x) - cx) / rx, dy = (float(y) - cy) / ry;
                float d = dx * dx + dy * dy;
                if (d < 1)
                    image.Blend(x, y, c.r, c.g, c.b, Clamp01((1 - d) * 6));
            }
    };
    const float front = w * 0.5f, eyeY = h * 0.55f;
    for (float s : {-1.0f, 1.0f}) {
        disc(front + s * 18, eyeY, 12, 16, {1, 1, 1});
        disc(front + s * 16, eyeY + 2, 7, 10, {0.10f, 0.05f, 0.12f});
        disc(front + s * 14, eyeY - 2, 2.5f, 3, {1, 1, 1});
        // Angry little brows.
        for (int t = 0; t < 14; ++t)
            disc(front + s * (10 + t), eyeY - 20 - t * 0.4f, 1.6f, 1.6f, {0.18f, 0.05f, 0.20f});
    }
    // The grin.
    for (int t = -14; t <= 14; ++t) {
        float x = front + float(t), y = eyeY + 22 + 0.035f * float(t * t) * -1 + 8;
        disc(x, y, 1.5f, 1.5f, {0.20f, 0.04f, 0.10f});
    }
    disc(front - 6, eyeY + 26, 2, 3, {1, 1, 1});
    disc(front + 6, eyeY + 26, 2, 3, {1, 1, 1});
    return image;
}

// Polished steel fading to the sharpened edge, with the maker's stamp.
CPaintImage HouchouBlade() {
    const int size = 64;
    CNoise noise(105, 8);
    CPaintImage image = PaintPixels(size, size, [&](int x, int y) {
        float brush = noise.Fractal(float(x) / 2, float(y) / 32, 2);
        float edge = float(y) / size;
        float v = 0.62f + 0.18f * brush + 0.2f * edge * edge;
        return Rgb{v, v * 1.01f, v * 1.04f};
    });
    for (int y = 18; y < 26; ++y)
        for (int x = 8; x < 16; ++x)
            image.Blend(x, y, 0.25f, 0.25f, 0.27f, 0.6f);
    return image;
}

// Magnolia handle wood, pale and fine grained.
CPaintImage HouchouWood() {
    const int size = 64;
    CNoise noise(106, 8);
    return PaintPixels(size, size, [&](int x, int y) {
        float grain = noise.Fractal(float(x) / 3, float(y) / 24, 3);
        float ring = 0.5f + 0.5f * std::sin((float(x) / 4 + grain * 4) * PI);
        return MixRgb({0.86f, 0.74f, 0.52f}, {0.64f, 0.50f, 0.30f}, 0.3f * ring + 0.3f * grain);
    });
}

// The milk bottle: white milk behind the glass, a blue-and-white label with
// a cow round its middle (v runs from the top of the lathe profile down).
CPaintImage Milk() {
    const int w = 128, h = 128;
    CPaintImage image = PaintPixels(w, h, [&](int x, int y) {
        float v = (y + 0.5f) / h;
        Rgb c{0.97f, 0.97f, 0.95f};
        // The label between 35% and 70% of the way down.
        if (v > 0.35f && v < 0.70f) {
            c = {0.22f, 0.42f, 0.86f};
            if (v > 0.42f && v < 0.63f)
                c = {0.98f, 0.98f, 0.98f};
        }
        // Shine down one side.
        float u = (x + 0.5f) / w;
        float shine = std::pow(std::fmax(0.0f, std::cos((u - 0.2f) * 2 * PI)), 30.0f) * 0.3f;
        return Rgb{c.r + shine, c.g + shine, c.b + shine};
    });
    // A cow's patches on the white band, on two sides.
    CNoise noise(107, 4);
    for (int y = int(0.43f * h); y < int(0.62f * h); ++y)
        for (int x = 0; x < w; ++x) {
            float n = noise.Sample(float(x) / 12, float(y) / 8);
            bool side = (x % (w / 2)) > w / 8 && (x % (w / 2)) < w * 3 / 8;
            if (side && n > 0.62f)
                image.Set(x, y, 0.10f, 0.10f, 0.12f);
        }
    return image;
}

// A soft studio reflection: a bright sky above a dark floor, with window
// highlights, for glossy surfaces.
CPaintImage Reflection() {
    const int size = 128;
    return PaintPixels(size, size, [&](int x, int y) {
        float v = (y + 0.5f) / size;
        float sky = Clamp01(1 - v * 1.6f);
        Rgb c = MixRgb({0.20f, 0.22f, 0.26f}, {0.85f, 0.90f, 0.97f}, sky);
        float u = (x + 0.5f) / size;
        bool window = v > 0.12f && v < 0.38f && ((u > 0.15f && u < 0.30f) || (u > 0.34f && u < 0.49f));
        if (window)
            c = {1, 1, 1};
        return c;
    });
}

} // namespace

std::vector<PaintedTexture> PaintGoodsTextures() {
    std::vector<PaintedTexture> out;
    out.push_back({"conga_metal.tga", CongaMetal()});
    out.push_back({"conga_redwood.tga", CongaRedwood()});
    out.push_back({"conga_skin.tga", CongaSkin()});
    out.push_back({"diabolos.tga", Diabolos()});
    out.push_back({"houchou_blade.tga", HouchouBlade()});
    out.push_back({"houchou_wood.tga", HouchouWood()});
    out.push_back({"milk.tga", Milk()});
    out.push_back({"ref.tga", Reflection()});
    return out;
}
