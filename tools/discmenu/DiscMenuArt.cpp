#include "tools/discmenu/DiscMenuArt.h"

#include <cmath>

#include "engine/core/Random.h"
#include "tools/media/BitmapFont.h"
#include "tools/media/IconWriter.h"
#include "tools/media/ImageWriters.h"

namespace {

const char* const CAPTIONS[MENU_BUTTON_COUNT] = {"INSTALL", "UNINSTALL", "DXINSTALL"};
const char* const LABELS[MENU_BUTTON_COUNT] = {"Install Tavelune", "Uninstall Tavelune", "Install DirectX 8.1"};
const int HEIGHTS[MENU_BUTTON_COUNT] = {28, 28, 24};

int TextWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : (int(text.size()) * FONT_ADVANCE - (FONT_ADVANCE - FONT_GLYPH_WIDTH)) * scale;
}

// Text centred on x with a soft one-pixel shadow.
void DrawCentred(CCanvas& c, int cx, int y, const std::string& text, Rgba colour, int scale, Rgba shadow) {
    int x = cx - TextWidth(text, scale) / 2;
    c.DrawText(x + scale / 2 + 1, y + scale / 2 + 1, text, shadow, scale, scale % 2 == 0);
    c.DrawText(x, y, text, colour, scale, scale % 2 == 0);
}

void PaintMoon(CCanvas& c, float cx, float cy, float r) {
    c.FillShape([=](float x, float y) { return EllipseDistance(x, y, cx, cy, r * 2.2f, r * 2.2f); }, int(cx - r * 2.3f),
                int(cy - r * 2.3f), int(cx + r * 2.3f), int(cy + r * 2.3f),
                [=](float x, float y) {
                    float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / (r * 2.2f);
                    return Rgba{255, 240, 200, uint8_t(std::max(0.0f, 1.0f - d) * 70.0f)};
                });
    c.FillEllipse(cx, cy, r, r, {250, 236, 190, 255});
    // A few soft craters.
    c.FillEllipse(cx - r * 0.35f, cy - r * 0.2f, r * 0.18f, r * 0.16f, {226, 210, 168, 255});
    c.FillEllipse(cx + r * 0.3f, cy + r * 0.3f, r * 0.12f, r * 0.12f, {232, 216, 174, 255});
    c.FillEllipse(cx + r * 0.1f, cy - r * 0.45f, r * 0.09f, r * 0.08f, {230, 214, 172, 255});
}

// A small house with a lit window, standing on the hill line.
void PaintHouse(CCanvas& c, float x, float ground, float w) {
    const Rgba wall = {38, 30, 64, 255}, roof = {28, 22, 50, 255}, light = {255, 214, 130, 255};
    float h = w * 0.7f;
    c.FillRoundedRect(x, ground - h, x + w, ground + 2, 2, wall);
    c.FillShape(
        [=](float px, float py) {
            // A triangle roof: distance to the two slanted edges and the base.
            float cx = x + w * 0.5f, top = ground - h - w * 0.45f, base = ground - h + 1;
            float a = (py - top) - std::fabs(px - cx) * (0.45f * w) / (0.6f * w);
            return std::max(-a, py - base);
        },
        int(x - w * 0.2f), int(ground - h - w * 0.5f), int(x + w * 1.2f), int(ground - h + 2),
        [=](float, float) { return roof; });
    float ww = w * 0.28f;
    c.FillShape(
        [=](float px, float py) {
            return RoundedRectDistance(px, py, x + w * 0.2f, ground - h * 0.72f, x + w * 0.2f + ww, ground - h * 0.32f,
                                       1);
        },
        int(x), int(ground - h), int(x + w), int(ground), [=](float, float) { return light; });
    c.FillRect(int(x + w * 0.2f + ww * 0.5f), int(ground - h * 0.72f), int(x + w * 0.2f + ww * 0.5f) + 1,
               int(ground - h * 0.32f), wall);
    // Glow around the window.
    c.FillRadialGradient(x + w * 0.2f + ww * 0.5f, ground - h * 0.52f, w * 0.55f, {255, 200, 120, 40},
                         {255, 200, 120, 0});
}

} // namespace

const char* MenuButtonCaption(int button) {
    return button >= 0 && button < MENU_BUTTON_COUNT ? CAPTIONS[button] : nullptr;
}

int MenuButtonHeight(int button) { return button >= 0 && button < MENU_BUTTON_COUNT ? HEIGHTS[button] : 0; }

CCanvas PaintMenuBackground() {
    CCanvas c(MENU_WIDTH, MENU_HEIGHT);
    c.FillGradient(0, 0, MENU_WIDTH, 340, {14, 18, 52, 255}, {86, 52, 118, 255}, true);
    c.FillGradient(0, 340, MENU_WIDTH, MENU_HEIGHT, {60, 36, 92, 255}, {24, 16, 44, 255}, true);
    // Stars, fewer towards the horizon.
    SeedRand(20021);
    for (int i = 0; i < 220; ++i) {
        float x = RandUnit() * MENU_WIDTH, y = RandUnit() * RandUnit() * 300.0f;
        float r = 0.5f + RandUnit() * RandUnit() * 1.4f;
        uint8_t a = uint8_t(120 + RandUnit() * 135);
        c.FillEllipse(x, y, r, r, {255, 250, 235, a});
    }
    PaintMoon(c, 528, 86, 38);
    // Rolling hills on the horizon.
    c.FillShape(
        [](float x, float y) { return 300.0f + 14.0f * std::sin(x * 0.011f) + 8.0f * std::sin(x * 0.031f + 1.3f) - y; },
        0, 260, MENU_WIDTH, MENU_HEIGHT,
        [](float, float y) {
            return MixColours({44, 30, 78, 255}, {20, 14, 38, 255}, (y - 280.0f) / 200.0f);
        });
    PaintHouse(c, 92, 300.0f + 14.0f * std::sin(92 * 0.011f) + 8.0f * std::sin(92 * 0.031f + 1.3f), 54);
    // The title.
    const Rgba shadow = {20, 10, 40, 200};
    DrawCentred(c, MENU_WIDTH / 2, 120, "Tavelune", {255, 226, 236, 255}, 8, shadow);
    DrawCentred(c, MENU_WIDTH / 2, 200, "a little room on your desktop", {214, 200, 240, 255}, 2, shadow);
    c.FillRoundedRect(220, 232, 420, 234, 1, {255, 190, 215, 160});
    DrawCentred(c, MENU_WIDTH / 2, 446, "Tavelune  install disc", {200, 188, 226, 255}, 2, shadow);
    return c;
}

CCanvas PaintMenuButton(int button, bool disabled) {
    const int h = MenuButtonHeight(button);
    CCanvas c(MENU_WIDTH, h > 0 ? h : 1, {24, 16, 44, 255});
    if (h <= 0)
        return c;
    c.FillGradient(0, 0, MENU_WIDTH, h, {40, 26, 70, 255}, {26, 18, 48, 255}, true);
    const float x0 = 150, x1 = 490, y0 = 2, y1 = float(h) - 2, r = (y1 - y0) * 0.5f;
    const Rgba top = disabled ? Rgba{96, 92, 108, 255} : Rgba{255, 150, 186, 255};
    const Rgba bottom = disabled ? Rgba{72, 70, 84, 255} : Rgba{214, 82, 138, 255};
    c.FillShape([=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, r); }, int(x0) - 1,
                int(y0) - 1, int(x1) + 1, int(y1) + 1,
                [=](float, float y) { return MixColours(top, bottom, (y - y0) / (y1 - y0)); });
    c.StrokeRoundedRect(x0, y0, x1, y1, r, 1.0f, disabled ? Rgba{120, 118, 132, 255} : Rgba{255, 206, 222, 255});
    const Rgba text = disabled ? Rgba{150, 148, 160, 255} : RGBA_WHITE;
    const Rgba shadow = disabled ? Rgba{60, 58, 70, 0} : Rgba{120, 30, 70, 200};
    DrawCentred(c, MENU_WIDTH / 2, (h - FONT_GLYPH_HEIGHT * 2) / 2 + 1, LABELS[button], text, 2, shadow);
    return c;
}

CCanvas PaintMenuIcon(int size) {
    CCanvas c(size, size, {0, 0, 0, 0});
    const float s = float(size) / 32.0f;
    c.FillShape([=](float x, float y) { return RoundedRectDistance(x, y, s, s, 31 * s, 31 * s, 7 * s); }, 0, 0, size,
                size,
                [=](float, float y) {
                    return MixColours({30, 34, 92, 255}, {118, 64, 150, 255}, y / float(size));
                });
    c.FillEllipse(16 * s, 15 * s, 9 * s, 9 * s, {250, 236, 190, 255});
    c.FillEllipse(20 * s, 12 * s, 8 * s, 8 * s, {52, 44, 112, 255});
    c.FillEllipse(7 * s, 7 * s, 0.8f * s + 0.2f, 0.8f * s + 0.2f, RGBA_WHITE);
    c.FillEllipse(25 * s, 24 * s, 0.8f * s + 0.2f, 0.8f * s + 0.2f, RGBA_WHITE);
    return c;
}

bool BuildDiscMenuArt(const std::string& folder, std::string& error) {
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        return WritePictureFile(folder, name, bytes, error);
    };
    if (!write("background.bmp", EncodeBmp24(PaintMenuBackground())))
        return false;
    for (int b = 0; b < MENU_BUTTON_COUNT; ++b) {
        if (!write(std::string(CAPTIONS[b]) + "U.bmp", EncodeBmp24(PaintMenuButton(b, false))) ||
            !write(std::string(CAPTIONS[b]) + "X.bmp", EncodeBmp24(PaintMenuButton(b, true))))
            return false;
    }
    return write("autorun.ico", EncodeIco({PaintMenuIcon(32), PaintMenuIcon(16)}));
}
