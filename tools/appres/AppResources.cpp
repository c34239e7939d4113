#include "tools/appres/AppResources.h"

#include <cmath>
#include <filesystem>

#include "tools/media/BitmapFont.h"
#include "tools/media/IconWriter.h"
#include "tools/media/ImageWriters.h"

namespace {

constexpr Rgba CLEAR = {0, 0, 0, 0};
constexpr Rgba SKIN = {255, 224, 200, 255};
constexpr Rgba HAIR_TOP = {120, 64, 44, 255};
constexpr Rgba HAIR_BOTTOM = {76, 38, 30, 255};
constexpr float PI = 3.14159265f;

float Segment(float x, float y, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay;
    float t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    float px = ax + t * dx - x, py = ay + t * dy - y;
    return std::sqrt(px * px + py * py);
}

// A filled convex polygon by its signed distance (inside negative).
float Polygon(float x, float y, const std::vector<std::pair<float, float>>& p) {
    float d = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        d = std::fmin(d, Segment(x, y, p[j].first, p[j].second, p[i].first, p[i].second));
        if ((p[i].second > y) != (p[j].second > y) &&
            x < (p[j].first - p[i].first) * (y - p[i].second) / (p[j].second - p[i].second) + p[i].first)
            inside = !inside;
    }
    return inside ? -d : d;
}

// A cursor shape: white fill with a black outline one pixel wide.
CCanvas OutlinedCursor(const DistanceFn& shape) {
    CCanvas c(32, 32, CLEAR);
    c.FillShape([&](float x, float y) { return shape(x, y) - 1.0f; }, 0, 0, 32, 32,
                [](float, float) { return RGBA_BLACK; });
    c.FillShape(shape, 0, 0, 32, 32, [](float, float) { return RGBA_WHITE; });
    return c;
}

// Her face: long hair falling past the chin, a fringe, big eyes, a bow.
void PaintFace(CCanvas& c, float cx, float cy, float r) {
    auto hair = [=](float, float y) { return MixColours(HAIR_TOP, HAIR_BOTTOM, (y - cy + r) / (2.6f * r)); };
    // Long hair behind the face.
    c.FillShape([=](float x, float y) { return EllipseDistance(x, y, cx, cy + r * 0.3f, r * 1.12f, r * 1.38f); },
                int(cx - r * 1.2f), int(cy - r * 1.2f), int(cx + r * 1.2f) + 1, int(cy + r * 1.75f) + 1, hair);
    c.FillEllipse(cx, cy + r * 0.12f, r * 0.8f, r * 0.82f, SKIN);
    // The fringe: a cap of hair whose lower edge falls in points.
    c.FillShape(
        [=](float x, float y) {
            float u = (x - cx) / r;                                   // -1 .. 1 across the forehead
            float wave = std::fabs(std::sin((u + 1.0f) * PI * 2.0f)); // five points
            float edge = cy - r * 0.42f + r * 0.22f * wave * (1.0f - 0.4f * std::fabs(u));
            float cap = EllipseDistance(x, y, cx, cy - r * 0.2f, r * 0.95f, r * 0.95f);
            return std::fmax(cap, y - edge);
        },
        int(cx - r), int(cy - r * 1.2f), int(cx + r) + 1, int(cy + r * 0.1f) + 1, hair);
    // Eyes with a highlight, cheeks and a small smile.
    for (int side : {-1, 1}) {
        float ex = cx + float(side) * r * 0.33f, ey = cy + r * 0.14f;
        c.FillEllipse(ex, ey, r * 0.14f, r * 0.2f, {60, 36, 70, 255});
        c.FillEllipse(ex, ey + r * 0.06f, r * 0.1f, r * 0.1f, {110, 70, 120, 255});
        c.FillEllipse(ex - r * 0.04f, ey - r * 0.07f, r * 0.05f, r * 0.06f, RGBA_WHITE);
        c.FillEllipse(cx + float(side) * r * 0.52f, cy + r * 0.44f, r * 0.13f, r * 0.07f, {255, 160, 170, 140});
    }
    c.FillShape(
        [=](float x, float y) {
            float d = std::sqrt((x - cx) * (x - cx) + (y - (cy + r * 0.38f)) * (y - (cy + r * 0.38f)));
            float arc = std::fabs(d - r * 0.16f) - r * 0.025f;
            return y < cy + r * 0.46f ? 1e9f : arc;
        },
        int(cx - r * 0.25f), int(cy + r * 0.4f), int(cx + r * 0.25f) + 1, int(cy + r * 0.62f) + 1,
        [](float, float) {
            return Rgba{200, 90, 100, 255};
        });
    // A pink bow on the left of the fringe.
    float bx = cx - r * 0.62f, by = cy - r * 0.62f;
    c.FillShape(
        [=](float x, float y) {
            return Polygon(x, y, {{bx, by}, {bx - r * 0.32f, by - r * 0.2f}, {bx - r * 0.28f, by + r * 0.22f}});
        },
        int(bx - r * 0.4f), int(by - r * 0.3f), int(bx) + 1, int(by + r * 0.3f) + 1,
        [](float, float) {
            return Rgba{255, 110, 160, 255};
        });
    c.FillShape(
        [=](float x, float y) {
            return Polygon(x, y, {{bx, by}, {bx + r * 0.3f, by - r * 0.24f}, {bx + r * 0.26f, by + r * 0.2f}});
        },
        int(bx), int(by - r * 0.3f), int(bx + r * 0.4f) + 1, int(by + r * 0.3f) + 1,
        [](float, float) {
            return Rgba{255, 110, 160, 255};
        });
    c.FillEllipse(bx, by, r * 0.08f, r * 0.08f, {230, 70, 130, 255});
}

} // namespace

CCanvas PaintAppIcon(int size) {
    CCanvas c(size, size, CLEAR);
    const float s = float(size);
    c.FillShape([=](float x, float y) { return RoundedRectDistance(x, y, 0.5f, 0.5f, s - 0.5f, s - 0.5f, s * 0.22f); },
                0, 0, size, size,
                [=](float, float y) {
                    return MixColours({255, 190, 214, 255}, {236, 120, 168, 255}, y / s);
                });
    PaintFace(c, s * 0.5f, s * 0.52f, s * 0.36f);
    return c;
}

CCanvas PaintMoveCursor() {
    return OutlinedCursor([](float x, float y) {
        const float c = 15.5f;
        float d = std::fmin(Segment(x, y, c, 5, c, 26), Segment(x, y, 5, c, 26, c)) - 1.2f;
        for (int k = 0; k < 4; ++k) {
            float a = float(k) * PI / 2, ux = std::cos(a), uy = std::sin(a);
            float tipX = c + ux * 13.5f, tipY = c + uy * 13.5f, bx = c + ux * 8.5f, by = c + uy * 8.5f;
            d = std::fmin(
                d, Polygon(x, y, {{tipX, tipY}, {bx - uy * 4.5f, by + ux * 4.5f}, {bx + uy * 4.5f, by - ux * 4.5f}}));
        }
        return d;
    });
}

CCanvas PaintRotateCursor() {
    return OutlinedCursor([](float x, float y) {
        const float c = 15.5f, r = 9.0f;
        float dx = x - c, dy = y - c;
        float angle = std::atan2(dy, dx); // the ring leaves a gap at the upper right
        float ring = std::fabs(std::sqrt(dx * dx + dy * dy) - r) - 1.6f;
        if (angle > -PI * 0.5f && angle < -PI * 0.1f)
            ring = 1e9f;
        // The arrow head at the ring's end, pointing round the circle.
        float ex = c + r * std::cos(-PI * 0.1f), ey = c + r * std::sin(-PI * 0.1f);
        float head = Polygon(x, y, {{ex - 5.5f, ey - 1.0f}, {ex + 5.5f, ey - 1.0f}, {ex, ey - 7.0f}});
        return std::fmin(ring, head);
    });
}

CCanvas PaintYenCursor() {
    CCanvas c = OutlinedCursor([](float x, float y) {
        const float c = 15.5f;
        float d = Segment(x, y, c - 7, 2, c, 11) - 1.3f;
        d = std::fmin(d, Segment(x, y, c + 7, 2, c, 11) - 1.3f);
        d = std::fmin(d, Segment(x, y, c, 11, c, 22) - 1.3f);
        d = std::fmin(d, Segment(x, y, c - 6, 13, c + 6, 13) - 1.0f);
        d = std::fmin(d, Segment(x, y, c - 6, 17, c + 6, 17) - 1.0f);
        return d;
    });
    // "PAY" below the sign, dark on a light plate.
    c.FillRoundedRect(6, 23, 26, 31, 2, {255, 236, 120, 255});
    c.StrokeRoundedRect(6, 23, 26, 31, 2, 1, RGBA_BLACK);
    c.DrawText(8, 24, "PAY", {90, 40, 0, 255}, 1);
    return c;
}

CCanvas PaintPictureCursor() {
    return OutlinedCursor([](float x, float y) {
        // A heart: two circles over a point.
        float a = std::sqrt((x - 11) * (x - 11) + (y - 12) * (y - 12)) - 5.5f;
        float b = std::sqrt((x - 20) * (x - 20) + (y - 12) * (y - 12)) - 5.5f;
        float p = Polygon(x, y, {{6.2f, 14.5f}, {24.8f, 14.5f}, {15.5f, 25.0f}});
        return std::fmin(std::fmin(a, b), p);
    });
}

CCanvas PaintSplash() {
    const int n = SPLASH_SIZE;
    const float s = float(n), c = s * 0.5f;
    CCanvas pic(n, n, SPLASH_KEY);
    auto outline = [=](float x, float y) { return SuperellipseDistance(x, y, c, c, s * 0.48f, 3.0f); };
    // Inside the outline, painted without blending into the key colour: a
    // hard edge first, then the picture on a canvas of its own.
    CCanvas art(n, n, {22, 20, 60, 255});
    art.FillGradient(0, 0, n, n * 2 / 3, {22, 22, 70, 255}, {96, 58, 128, 255}, true);
    art.FillGradient(0, n * 2 / 3, n, n, {150, 96, 90, 255}, {104, 64, 62, 255}, true);
    // A window with the moon, and the floor line.
    art.FillRoundedRect(s * 0.62f, s * 0.16f, s * 0.86f, s * 0.44f, 6, {14, 18, 48, 255});
    art.FillEllipse(s * 0.78f, s * 0.24f, s * 0.04f, s * 0.04f, {250, 236, 190, 255});
    art.StrokeRoundedRect(s * 0.62f, s * 0.16f, s * 0.86f, s * 0.44f, 6, 4, {236, 214, 190, 255});
    art.FillRect(int(s * 0.735f), int(s * 0.16f), int(s * 0.745f), int(s * 0.44f), {236, 214, 190, 255});
    // Her, large, in the middle: shoulders in a pink shirt, then the face.
    float fx = c - s * 0.14f, fy = s * 0.36f, fr = s * 0.17f;
    art.FillShape(
        [=](float x, float y) {
            return RoundedRectDistance(x, y, fx - fr * 1.05f, fy + fr * 1.15f, fx + fr * 1.05f, fy + fr * 2.4f,
                                       fr * 0.5f);
        },
        int(fx - fr * 1.2f), int(fy + fr), int(fx + fr * 1.2f) + 1, int(fy + fr * 2.5f) + 1,
        [](float, float) {
            return Rgba{246, 150, 186, 255};
        });
    art.FillEllipse(fx, fy + fr * 0.95f, fr * 0.16f, fr * 0.22f, SKIN); // neck
    PaintFace(art, fx, fy, fr);
    int w = (8 * FONT_ADVANCE - 1) * 5;
    art.DrawText(int(c) - w / 2 + 2, int(s * 0.76f) + 2, "Tavelune", {40, 20, 40, 200}, 5);
    art.DrawText(int(c) - w / 2, int(s * 0.76f), "Tavelune", {255, 236, 244, 255}, 5);
    int lw = (10 * FONT_ADVANCE - 1) * 2;
    art.DrawText(int(c) - lw / 2, int(s * 0.875f), "loading...", {250, 214, 226, 255}, 2, true);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (outline(float(x) + 0.5f, float(y) + 0.5f) <= 0.0f)
                pic.Set(x, y, art.Get(x, y));
    // A rim just inside the outline, still never blended with the key.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float d = outline(float(x) + 0.5f, float(y) + 0.5f);
            if (d <= 0.0f && d > -5.0f)
                pic.Set(x, y, MixColours({250, 200, 220, 255}, art.Get(x, y), -d / 5.0f));
        }
    return pic;
}

bool BuildAppResources(const std::string& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        if (bytes.empty() || !WriteBytesToFile(folder + "/" + name, bytes)) {
            error = "cannot write " + folder + "/" + name;
            return false;
        }
        return true;
    };
    return write("deskmate.ico", EncodeIco({PaintAppIcon(32), PaintAppIcon(16)})) &&
           write("move.cur", EncodeCur(PaintMoveCursor(), 15, 15)) &&
           write("rotate.cur", EncodeCur(PaintRotateCursor(), 15, 15)) &&
           write("yen.cur", EncodeCur(PaintYenCursor(), 15, 15)) &&
           write("picture.cur", EncodeCur(PaintPictureCursor(), 15, 15)) &&
           write("splash.bmp", EncodeBmp24(PaintSplash()));
}
