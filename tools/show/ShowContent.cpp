#include "tools/show/ShowContent.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "character/item/Catalogue.h"
#include "engine/anim/AnimAttribute.h"
#include "engine/archive/TextureArchives.h"
#include "engine/archive/TextureLists.h"
#include "engine/chunk/ChunkEnums.h"
#include "engine/resource/ResourceKind.h"
#include "tools/chunkwriter/AnimationWriter.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/ContentFile.h"
#include "tools/content/MeshBuilder.h"
#include "tools/media/FontRaster.h"
#include "tools/media/ImageWriters.h"

const ShowEntry SHOW_MODEL_ENTRIES[3] = {
    {"model/model01.bin", "model/zaplenu/taveluneTV.hgm", "taveluneTV.hgm"},
    {"model/model01.bin", "model/zaplenu/TVAnimateTexture.hgm", "TVAnimateTexture.hgm"},
    {"model/model01.bin", "model/zaplenu/moneyDial.hgm", "moneyDial.hgm"},
};
const ShowEntry SHOW_ANIMATION_ENTRIES[3] = {
    {"animation/animation01.bin", "animation/zaplenu/taveluneTV.hga", "taveluneTV.hga"},
    {"animation/animation01.bin", "animation/zaplenu/taveluneTVEnding.hga", "taveluneTVEnding.hga"},
    {"animation/animation01.bin", "animation/zaplenu/TVAnimateTexture.hga", "TVAnimateTexture.hga"},
};

namespace {

constexpr int SHOW_TEXTURE_LIST = 1;
constexpr float PI = 3.14159265f;

// ---- The catalogue's view of list 1.

std::string KeyOf(const std::string& file) {
    std::string key;
    return NormaliseTextureName(file + ".tga", key) ? key : std::string();
}

enum PanelKind {
    PK_GOODS,
    PK_ACCESSORY,
    PK_CLOTH,
};

struct PanelItem {
    std::string name;
    std::string tvId;
    unsigned price;
    PanelKind kind;
};

bool FindPanelItem(const std::string& key, PanelItem& out) {
    for (const GoodsRow& r : GOODS_ROWS)
        if (r.tvId[0] && KeyOf(r.tvId) == key)
            return out = {r.name, r.tvId, r.price, PK_GOODS}, true;
    for (const AccessoryRow& r : ACCESSORY_ROWS)
        if (r.tvId[0] && KeyOf(r.tvId) == key)
            return out = {r.name, r.tvId, r.price, PK_ACCESSORY}, true;
    for (const ClothRow& r : CLOTH_ROWS)
        if (r.tvId[0] && KeyOf(r.tvId) == key)
            return out = {r.name, r.tvId, r.price, PK_CLOTH}, true;
    return false;
}

// The catalogue's picture name whose key this is, or empty.
std::string FindClothPicture(const std::string& key) {
    for (const ClothRow& r : CLOTH_ROWS)
        if (r.tvPicture[0] && KeyOf(r.tvPicture) == key)
            return r.tvPicture;
    return std::string();
}

// ---- Painting helpers.

CFontRaster& Font() {
    static CFontRaster font;
    if (!font.IsOpen())
        font.Open();
    return font;
}

std::string g_error;

// UTF-8 text fitted into the box (x0, y0)-(x1, y1), centred in it.
void TextIn(CCanvas& c, const std::string& text, int x0, int y0, int x1, int y1, int maxSize, Rgba colour,
            int shadow = 0, Rgba shadowColour = RGBA_BLACK) {
    TextMask mask;
    if (!Font().RenderFitting(text, TE_UTF8, maxSize, x1 - x0, y1 - y0, mask)) {
        if (g_error.empty())
            g_error = "cannot draw \"" + text + "\": " + Font().LastError();
        return;
    }
    const int x = x0 + (x1 - x0 - mask.width) / 2;
    const int y = y0 + (y1 - y0 - mask.height) / 2;
    if (shadow)
        DrawTextMask(c, mask, x + shadow, y + shadow, shadowColour);
    DrawTextMask(c, mask, x, y, colour);
}

std::string Yen(unsigned price) {
    std::string digits = std::to_string(price), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return "\xC2\xA5" + out; // yen sign
}

uint32_t Hash(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char ch : s)
        h = (h ^ ch) * 16777619u;
    return h;
}

Rgba Shade(Rgba c, float f) {
    auto ch = [f](uint8_t v) { return uint8_t(std::clamp(float(v) * f, 0.0f, 255.0f)); };
    return {ch(c.r), ch(c.g), ch(c.b), c.a};
}

// A filled convex polygon with 4 × 4 samples a pixel.
void FillPolygon(CCanvas& c, const std::vector<std::pair<float, float>>& pts, Rgba colour) {
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (auto& p : pts) {
        minX = std::min(minX, p.first), maxX = std::max(maxX, p.first);
        minY = std::min(minY, p.second), maxY = std::max(maxY, p.second);
    }
    auto inside = [&](float x, float y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++)
            if ((pts[i].second > y) != (pts[j].second > y) &&
                x < (pts[j].first - pts[i].first) * (y - pts[i].second) / (pts[j].second - pts[i].second) +
                        pts[i].first)
                in = !in;
        return in;
    };
    const int y0 = std::max(0, int(minY) - 1), y1 = std::min(c.Height() - 1, int(maxY) + 1);
    const int x0 = std::max(0, int(minX) - 1), x1 = std::min(c.Width() - 1, int(maxX) + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int n = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    n += inside(float(x) + (sx + 0.5f) / 4, float(y) + (sy + 0.5f) / 4);
            if (n)
                c.Blend(x, y, colour, float(n) / 16);
        }
}

// ---- Outfits: a mannequin in the cloth's colours.

struct Outfit {
    const char* word; // part of the picture name, case-insensitive
    Rgba main, trim;
    int style; // 0 dress, 1 two-piece swimsuit, 2 one-piece/leotard, 3 top and trousers
};

const Outfit OUTFITS[] = {
    {"korvant", {40, 44, 70, 255}, {230, 230, 240, 255}, 0},
    {"cheerleader", {240, 200, 40, 255}, {40, 90, 200, 255}, 0},
    {"chuchu", {255, 150, 200, 255}, {255, 255, 255, 255}, 0},
    {"clothblue", {70, 120, 220, 255}, {255, 255, 255, 255}, 0},
    {"clothorange", {255, 150, 60, 255}, {255, 240, 200, 255}, 0},
    {"clothpink", {250, 130, 170, 255}, {255, 255, 255, 255}, 0},
    {"etonadress", {150, 60, 180, 255}, {250, 210, 90, 255}, 0},
    {"exersise", {60, 190, 170, 255}, {255, 255, 255, 255}, 2},
    {"hatan", {200, 30, 50, 255}, {250, 220, 120, 255}, 0},
    {"jajiyellow", {250, 210, 40, 255}, {40, 40, 40, 255}, 3},
    {"jazired", {210, 40, 40, 255}, {255, 255, 255, 255}, 3},
    {"leotard", {120, 40, 160, 255}, {240, 200, 250, 255}, 2},
    {"momo", {255, 180, 200, 255}, {240, 90, 130, 255}, 0},
    {"pajamaorange", {255, 170, 90, 255}, {255, 240, 220, 255}, 3},
    {"swimbikinia", {40, 170, 230, 255}, {255, 255, 255, 255}, 1},
    {"swimbikinib", {250, 90, 120, 255}, {255, 240, 120, 255}, 1},
    {"swimschool", {30, 40, 110, 255}, {255, 255, 255, 255}, 2},
    {"swimwanpia", {60, 200, 120, 255}, {255, 255, 255, 255}, 2},
    {"traininga", {40, 80, 170, 255}, {255, 255, 255, 255}, 3},
    {"trainingb", {170, 40, 60, 255}, {255, 255, 255, 255}, 3},
    {"yamayuri", {110, 50, 40, 255}, {255, 255, 255, 255}, 0},
};

std::string Lower(std::string s) {
    for (char& ch : s)
        ch = char(std::tolower((unsigned char)ch));
    return s;
}

void PaintMannequin(CCanvas& c, Rgba skin) {
    c.FillEllipse(64, 16, 10, 11, skin);        // head
    c.FillRoundedRect(60, 24, 68, 32, 2, skin); // neck
    c.FillRoundedRect(34, 30, 42, 78, 4, skin); // arms
    c.FillRoundedRect(86, 30, 94, 78, 4, skin);
    c.FillRoundedRect(50, 70, 62, 122, 4, skin); // legs
    c.FillRoundedRect(66, 70, 78, 122, 4, skin);
    c.FillRoundedRect(46, 28, 82, 76, 10, skin); // body
}

void PaintOutfit(CCanvas& c, const Outfit& o) {
    const Rgba dark = Shade(o.main, 0.75f);
    switch (o.style) {
    case 0: // dress with sleeves
        c.FillRoundedRect(33, 29, 43, 48, 4, o.main);
        c.FillRoundedRect(85, 29, 95, 48, 4, o.main);
        c.FillRoundedRect(45, 27, 83, 66, 9, o.main);
        FillPolygon(c, {{48, 60}, {80, 60}, {98, 104}, {30, 104}}, o.main);
        FillPolygon(c, {{30, 100}, {98, 100}, {98, 105}, {30, 105}}, o.trim);
        c.FillRoundedRect(46, 58, 82, 64, 2, dark);
        c.FillEllipse(64, 30, 9, 4, o.trim); // collar
        break;
    case 1: // two-piece
        c.FillEllipse(56, 44, 8, 6, o.main);
        c.FillEllipse(72, 44, 8, 6, o.main);
        FillPolygon(c, {{48, 68}, {80, 68}, {72, 82}, {56, 82}}, o.main);
        c.FillRect(48, 66, 80, 69, o.trim);
        break;
    case 2: // one-piece
        FillPolygon(c, {{50, 30}, {78, 30}, {82, 66}, {74, 84}, {54, 84}, {46, 66}}, o.main);
        c.FillRect(46, 58, 82, 61, o.trim);
        break;
    default: // top and trousers
        c.FillRoundedRect(32, 29, 44, 76, 4, o.main);
        c.FillRoundedRect(84, 29, 96, 76, 4, o.main);
        c.FillRoundedRect(44, 27, 84, 74, 9, o.main);
        c.FillRoundedRect(48, 70, 63, 120, 3, dark);
        c.FillRoundedRect(65, 70, 80, 120, 3, dark);
        c.FillRect(63, 30, 65, 74, o.trim); // zip
        c.FillRect(32, 70, 44, 73, o.trim);
        c.FillRect(84, 70, 96, 73, o.trim);
        break;
    }
}

void PaintClothPicture(CCanvas& c, const std::string& pictureName) {
    c = CCanvas(128, 128, RGBA_WHITE);
    c.FillGradient(0, 0, 128, 128, {255, 246, 250, 255}, {250, 222, 236, 255}, true);
    c.FillEllipse(64, 122, 40, 5, {220, 190, 205, 255});
    PaintMannequin(c, {236, 206, 186, 255});
    const std::string lower = Lower(pictureName);
    for (const Outfit& o : OUTFITS)
        if (lower.find(o.word) != std::string::npos) {
            PaintOutfit(c, o);
            return;
        }
    // Not one of the outfits: a plain white dress.
    PaintOutfit(c, Outfit{"", {250, 250, 250, 255}, {200, 200, 210, 255}, 0});
}

// ---- Name plates.

void PaintKindIcon(CCanvas& c, PanelKind kind, int cx, int cy, Rgba colour) {
    switch (kind) {
    case PK_GOODS: // a gift box
        c.FillRoundedRect(float(cx - 16), float(cy - 10), float(cx + 16), float(cy + 16), 3, colour);
        c.FillRoundedRect(float(cx - 18), float(cy - 16), float(cx + 18), float(cy - 8), 2, Shade(colour, 0.8f));
        c.FillRect(cx - 3, cy - 16, cx + 3, cy + 16, {255, 230, 90, 255});
        c.FillEllipse(float(cx - 7), float(cy - 19), 6, 4, {255, 230, 90, 255});
        c.FillEllipse(float(cx + 7), float(cy - 19), 6, 4, {255, 230, 90, 255});
        break;
    case PK_ACCESSORY: // a ribbon
        FillPolygon(c, {{float(cx), float(cy)}, {float(cx - 20), float(cy - 12)}, {float(cx - 20), float(cy + 12)}},
                    colour);
        FillPolygon(c, {{float(cx), float(cy)}, {float(cx + 20), float(cy - 12)}, {float(cx + 20), float(cy + 12)}},
                    colour);
        c.FillEllipse(float(cx), float(cy), 6, 6, Shade(colour, 0.75f));
        break;
    case PK_CLOTH: // a dress
        c.FillRoundedRect(float(cx - 8), float(cy - 18), float(cx + 8), float(cy - 2), 4, colour);
        FillPolygon(c,
                    {{float(cx - 8), float(cy - 4)},
                     {float(cx + 8), float(cy - 4)},
                     {float(cx + 18), float(cy + 18)},
                     {float(cx - 18), float(cy + 18)}},
                    colour);
        break;
    }
}

void PaintPlate(CCanvas& c, const std::string& title, unsigned price, bool sold, PanelKind kind, uint32_t hash) {
    c = CCanvas(256, 128, RGBA_WHITE);
    c.FillGradient(0, 0, 256, 128, {255, 238, 120, 255}, {255, 168, 56, 255}, true);
    // Sun rays behind everything, from below the kind badge.
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x) {
            const float a = std::atan2(float(y) + 0.5f - 100.0f, float(x) + 0.5f - 40.0f) + PI;
            if (std::fmod(a, PI / 6) < PI / 14)
                c.Blend(x, y, RGBA_WHITE, 40.0f / 255.0f);
        }
    c.FillRect(0, 0, 256, 22, {214, 30, 120, 255});
    c.FillRect(0, 22, 256, 24, {255, 255, 255, 255});
    TextIn(c, "深夜のテレビショッピング", 4, 2, 252, 21, 15, RGBA_WHITE);
    // The item's box: its picture and its name.
    c.FillRoundedRect(6, 29, 250, 86, 9, {120, 40, 20, 255});
    c.FillRoundedRect(8, 31, 248, 84, 8, RGBA_WHITE);
    const Rgba icons[] = {{230, 60, 90, 255}, {60, 130, 230, 255}, {40, 170, 110, 255}, {160, 80, 210, 255}};
    c.FillEllipse(36, 57, 24, 24, {255, 244, 214, 255});
    PaintKindIcon(c, kind, 36, 57, icons[hash % 4]);
    TextIn(c, title, 64, 33, 244, 82, 30, {24, 30, 80, 255});
    // Kind and price.
    const char* kinds[] = {"生活雑貨", "アクセサリー", "お洋服"};
    c.FillRoundedRect(6, 92, 92, 122, 8, {40, 70, 170, 255});
    TextIn(c, sold ? "近日入荷" : kinds[kind], 10, 95, 88, 119, 16, RGBA_WHITE);
    if (sold)
        TextIn(c, "売り切れ", 98, 90, 250, 126, 30, {200, 16, 40, 255}, 2, RGBA_WHITE);
    else if (price == 0)
        TextIn(c, "無料プレゼント!", 98, 90, 250, 126, 30, {200, 16, 40, 255}, 2, RGBA_WHITE);
    else
        TextIn(c, Yen(price), 98, 90, 250, 126, 34, {200, 16, 40, 255}, 2, RGBA_WHITE);
}

// The word of an uncatalogued key: "TV_ITEM09_TAKAEDA" → "takaeda".
std::string KeyWord(const std::string& key) {
    const size_t at = key.find('_', 3);
    std::string word = at == std::string::npos ? key : key.substr(at + 1);
    return Lower(word);
}

// ---- The show's own art.

// Board texels of a show-unit point; the board spans BOARD_* below.
constexpr float BOARD_X0 = -34000, BOARD_X1 = 2000, BOARD_Y0 = -7500, BOARD_Y1 = 25200;
constexpr int BOARD_SIZE = 512;
float BoardX(float x) { return (x - BOARD_X0) / (BOARD_X1 - BOARD_X0) * BOARD_SIZE; }
float BoardY(float y) { return (BOARD_Y1 - y) / (BOARD_Y1 - BOARD_Y0) * BOARD_SIZE; }

void PaintBoard(CCanvas& c) {
    c = CCanvas(BOARD_SIZE, BOARD_SIZE, {20, 8, 30, 255});
    // The cabinet.
    c.FillRoundedRect(2, 2, 510, 510, 30, {60, 24, 70, 255});
    c.FillRoundedRect(6, 6, 506, 506, 27, {96, 40, 110, 255});
    c.FillGradient(10, 10, 502, 502, {110, 50, 130, 255}, {50, 18, 60, 255}, true);
    // The screen: a late-night studio.
    const float sx0 = BoardX(-32000), sx1 = BoardX(0), sy0 = BoardY(24000), sy1 = BoardY(0);
    c.FillRoundedRect(sx0 - 7, sy0 - 7, sx1 + 7, sy1 + 7, 14, {210, 210, 224, 255});
    c.FillRoundedRect(sx0 - 3, sy0 - 3, sx1 + 3, sy1 + 3, 10, {90, 90, 110, 255});
    CCanvas screen(int(sx1 - sx0), int(sy1 - sy0), RGBA_BLACK);
    screen.FillGradient(0, 0, screen.Width(), screen.Height(), {70, 30, 150, 255}, {14, 6, 50, 255}, true);
    // Spotlights and stars.
    const float spots[3][2] = {{0.2f, 0.1f}, {0.55f, 0.05f}, {0.85f, 0.12f}};
    for (auto& s : spots)
        FillPolygon(screen,
                    {{s[0] * screen.Width() - 6, 0},
                     {s[0] * screen.Width() + 6, 0},
                     {s[0] * screen.Width() + 60, float(screen.Height())},
                     {s[0] * screen.Width() - 60, float(screen.Height())}},
                    {255, 240, 200, 26});
    uint32_t h = 12345;
    for (int i = 0; i < 60; ++i) {
        h = h * 1103515245u + 12345u;
        const float x = float(h % uint32_t(screen.Width()));
        h = h * 1103515245u + 12345u;
        const float y = float(h % uint32_t(screen.Height() * 2 / 3));
        screen.FillEllipse(x, y, 1.2f, 1.2f, {255, 255, 220, 200});
    }
    for (int y = 0; y < screen.Height(); y += 3)
        screen.FillRect(0, y, screen.Width(), y + 1, {0, 0, 0, 28}); // scan lines
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            c.Set(int(sx0) + x, int(sy0) + y, screen.Get(x, y));
    // The bottom bezel: the money counter's slot, its labels, the channel.
    const float dx0 = BoardX(-26200), dx1 = BoardX(-13600), dy0 = BoardY(-1800), dy1 = BoardY(-6200);
    c.FillRoundedRect(dx0 - 4, dy0 - 4, dx1 + 4, dy1 + 4, 6, {220, 190, 90, 255});
    c.FillRoundedRect(dx0, dy0, dx1, dy1, 4, {16, 10, 20, 255});
    TextIn(c, "所持金", int(BoardX(-33400)), int(dy0), int(dx0 - 6), int(dy1), 22, {255, 236, 150, 255});
    TextIn(c, "円", int(dx1 + 6), int(dy0), int(BoardX(-11000)), int(dy1), 24, {255, 236, 150, 255});
    TextIn(c, "通販チャンネル", int(BoardX(-10500)), int(dy0), int(BoardX(1200)), int(dy1), 20, {230, 200, 255, 255});
    // Knobs on the right of the top rim.
    c.FillEllipse(BoardX(-1500), BoardY(24700), 5, 5, {230, 200, 90, 255});
    c.FillEllipse(BoardX(-3000), BoardY(24700), 5, 5, {230, 200, 90, 255});
}

void PaintTable(CCanvas& c) {
    c = CCanvas(256, 64, RGBA_BLACK);
    c.FillGradient(0, 0, 256, 64, {210, 30, 60, 255}, {110, 10, 30, 255}, true);
    c.FillRect(0, 0, 256, 6, {255, 214, 90, 255});
    c.FillRect(0, 6, 256, 8, {160, 110, 30, 255});
    for (int x = 8; x < 256; x += 32)
        c.FillEllipse(float(x + 8), 36, 5, 5, {255, 214, 90, 255});
}

void PaintTicker(CCanvas& c) {
    c = CCanvas(512, 32, {214, 30, 120, 255});
    c.FillRect(0, 0, 512, 2, RGBA_WHITE);
    c.FillRect(0, 30, 512, 32, RGBA_WHITE);
    TextIn(c, "★ お電話一本ですぐお届け ★ 今夜だけの特別価格 ★", 0, 3, 512, 29, 22, {255, 250, 170, 255});
}

void PaintBubble(CCanvas& c) {
    c = CCanvas(128, 128, Rgba{255, 240, 60, 0});
    std::vector<std::pair<float, float>> burst;
    for (int i = 0; i < 32; ++i) {
        const float a = float(i) * PI / 16, r = i % 2 ? 46.0f : 62.0f;
        burst.push_back({64 + r * std::cos(a), 64 + r * std::sin(a)});
    }
    FillPolygon(c, burst, {200, 20, 40, 255});
    std::vector<std::pair<float, float>> inner;
    for (auto& p : burst)
        inner.push_back({64 + (p.first - 64) * 0.9f, 64 + (p.second - 64) * 0.9f});
    FillPolygon(c, inner, {255, 236, 60, 255});
    TextIn(c, "お買い得!", 18, 40, 110, 88, 28, {200, 20, 40, 255});
}

void PaintArrow(CCanvas& c) {
    c = CCanvas(64, 64, Rgba{255, 255, 255, 0});
    FillPolygon(c, {{4, 22}, {36, 22}, {36, 8}, {60, 32}, {36, 56}, {36, 42}, {4, 42}}, {255, 80, 40, 255});
}

// The ten digits round the wheel: texel u runs round (digit k centred at
// u = (10 - k) / 10), v across the drum; each digit is drawn on its side,
// twice as wide as the font draws it, so that it stands upright and fills
// the drum's face when the wheel faces the camera.
void PaintDialNumbers(CCanvas& c) {
    constexpr int W = 256, H = 32;
    c = CCanvas(W, H, {250, 248, 240, 255});
    for (int k = 0; k < 10; ++k) {
        TextMask mask;
        const char text[2] = {char('0' + k), 0};
        if (!Font().Render(text, TE_UTF8, 22, mask)) {
            g_error = "cannot draw the dial digits";
            return;
        }
        const float centre = float((10 - k) % 10) * (W / 10.0f);
        for (int du = -13; du <= 13; ++du)
            for (int v = 0; v < H; ++v) {
                // Glyph down is texel +u, glyph right is texel -v (stretched by 2).
                const int gy = int(std::floor(float(du) + mask.height / 2.0f));
                const int gx = int(std::floor((float(H) / 2 - (float(v) + 0.5f)) / 2.0f + mask.width / 2.0f));
                const uint8_t a = mask.At(gx, gy);
                if (a)
                    c.Blend((int(std::lround(centre)) + du + W) % W, v, {20, 16, 30, 255}, a / 255.0f);
            }
        const int edge = int(std::lround(centre + W / 20.0f)) % W;
        c.FillRect(edge, 0, edge + 1, H, {200, 190, 170, 255});
    }
}

// ---- Models.

TextureRecord Texture(const std::string& key, int address = TAM_CLAMP) {
    TextureRecord t;
    t.name = key;
    t.fileName = ShowTextureFileName(key);
    t.magFilter = TFM_LINEAR;
    t.minFilter = TFM_LINEAR;
    t.mipFilter = TFM_NONE;
    t.addressU = address;
    t.addressV = address;
    return t;
}

ShaderRecord Shader(const std::string& name, const std::string& texture) {
    ShaderRecord s;
    s.name = name;
    s.shaderType = ST_CONSTANT;
    s.textureName = texture;
    for (float& v : s.colour)
        v = 1.0f;
    return s;
}

// A picture quad in the XY plane facing +z, from (x0, y0) to (x1, y1).
struct Quad {
    std::string node;
    std::string shader;
    float x0, y0, x1, y1, z;
    bool visible = true;
};

class CModelWriter {
public:
    void Add(const TextureRecord& t) { m_textures.push_back(t); }
    void Add(const ShaderRecord& s) { m_shaders.push_back(s); }
    void Add(const Quad& q) { m_quads.push_back(q); }

    // top: the model's top node, over every quad's node.
    bool Write(const std::string& top, std::vector<uint8_t>& bytes, std::string& error) {
        CChunkWriter writer;
        for (const TextureRecord& t : m_textures)
            writer.Write(t);
        for (const ShaderRecord& s : m_shaders)
            writer.Write(s);
        std::vector<std::unique_ptr<BuiltGeometry>> built;
        for (const Quad& q : m_quads) {
            // Each quad is built about its node, which stands at its centre, so
            // that a motion scaling the node grows it in place.
            const float hx = (q.x1 - q.x0) / 2, hy = (q.y1 - q.y0) / 2;
            CMeshBuilder mesh;
            mesh.AddQuad({-hx, -hy, q.z}, {hx, -hy, q.z}, {hx, hy, q.z}, {-hx, hy, q.z});
            built.push_back(std::make_unique<BuiltGeometry>());
            if (!BuildGeometry(mesh, q.node + "Geometry", VERTEX_FORMAT_CONSTANT, false, *built.back())) {
                error = "cannot build the geometry of " + q.node;
                return false;
            }
            writer.Write(built.back()->record);
        }
        for (const Quad& q : m_quads) {
            ShapeRecord shape;
            shape.name = q.node + "Shape";
            shape.pairs.push_back({q.shader, q.node + "Geometry"});
            writer.Write(shape);
        }
        TransformRecord root;
        root.name = top;
        writer.Write(root);
        for (const Quad& q : m_quads) {
            TransformRecord t;
            t.name = q.node;
            t.visible = q.visible ? 1 : 0;
            t.translation[0] = (q.x0 + q.x1) / 2;
            t.translation[1] = (q.y0 + q.y1) / 2;
            writer.Write(t);
        }
        HierarchyRecord h;
        h.nodes.push_back({top, RT_TRANSFORM, int32_t(m_quads.size()), -1});
        for (const Quad& q : m_quads) {
            const int self = int(h.nodes.size());
            h.nodes.push_back({q.node, RT_TRANSFORM, 1, 0});
            h.nodes.push_back({q.node + "Shape", RT_SHAPE, 0, self});
        }
        writer.Write(h);
        return writer.TakeBytes(bytes, error, "a record of " + top);
    }

private:
    std::vector<TextureRecord> m_textures;
    std::vector<ShaderRecord> m_shaders;
    std::vector<Quad> m_quads;
};

// A pulse of the bubble every 60 frames over the length.
std::vector<std::pair<float, float>> Pulse(float length, float low, float high) {
    std::vector<std::pair<float, float>> points;
    for (float f = 0; f < length; f += 60) {
        points.push_back({f, low});
        points.push_back({std::min(f + 10, length), high});
        points.push_back({std::min(f + 24, length), low});
    }
    return points;
}

} // namespace

std::string ShowTextureFileName(const std::string& key) {
    PanelItem item;
    if (FindPanelItem(key, item))
        return item.tvId + ".tga";
    const std::string picture = FindClothPicture(key);
    if (!picture.empty())
        return picture + ".tga";
    return Lower(key) + ".tga";
}

bool PaintShowTexture(const std::string& key, CCanvas& out, std::string& error) {
    g_error.clear();
    if (!Font().IsOpen()) {
        error = "no font: " + Font().LastError();
        return false;
    }
    PanelItem item;
    if (FindPanelItem(key, item)) {
        PaintPlate(out, item.name, item.price, false, item.kind, Hash(item.name));
    } else if (!FindClothPicture(key).empty()) {
        PaintClothPicture(out, FindClothPicture(key));
    } else if (key == "CLOTHR_HADAKA") {
        out = CCanvas(128, 128, RGBA_WHITE);
        out.FillGradient(0, 0, 128, 128, {255, 246, 250, 255}, {250, 222, 236, 255}, true);
        PaintMannequin(out, {200, 196, 204, 255});
    } else if (key == "CLOTHR_SHADOW") {
        out = CCanvas(128, 128, RGBA_WHITE);
        out.FillRadialGradient(64, 64, 64, {150, 120, 160, 255}, {60, 26, 90, 255});
    } else if (key == "BEXLAP_TV_BOARD") {
        PaintBoard(out);
    } else if (key == "DIALNUMBERS") {
        PaintDialNumbers(out);
    } else if (key == "SHOPPING_TABLE") {
        PaintTable(out);
    } else if (key == "SHOPPING_BUBBLE") {
        PaintBubble(out);
    } else if (key == "SHOPPING_ARROWA") {
        PaintArrow(out);
    } else if (key == "SHOPPING_ARROWB") {
        PaintTicker(out);
    } else if (key.compare(0, 8, "TV_ITEM0") == 0 || key.compare(0, 7, "TV_ITEM") == 0) {
        PaintPlate(out, KeyWord(key), 0, true, PK_GOODS, Hash(key));
    } else {
        error = "no art for the texture " + key;
        return false;
    }
    error = g_error;
    return error.empty();
}

// Where things stand on the screen (TV node = its lower right corner).
bool BuildTvModel(std::vector<uint8_t>& bytes, std::string& error) {
    CModelWriter m;
    m.Add(Texture("BEXLAP_TV_BOARD"));
    m.Add(Texture("SHOPPING_TABLE"));
    m.Add(Texture("SHOPPING_BUBBLE"));
    m.Add(Texture("SHOPPING_ARROWA"));
    m.Add(Texture("TV_ITEM01_KOTATSU"));
    m.Add(Texture("CLOTHR_HADAKA"));
    m.Add(Texture("CLOTHR_SHADOW"));
    m.Add(Shader("zaplenu_boardShader", "BEXLAP_TV_BOARD"));
    m.Add(Shader("zaplenu_tableShader", "SHOPPING_TABLE"));
    m.Add(Shader("zaplenu_bubbleShader", "SHOPPING_BUBBLE"));
    m.Add(Shader("zaplenu_arrowShader", "SHOPPING_ARROWA"));
    m.Add(Shader("lambert10", "TV_ITEM01_KOTATSU"));
    m.Add(Shader("clothSprite", "CLOTHR_HADAKA"));
    m.Add(Shader("zaplenu_clothShadowShader", "CLOTHR_SHADOW"));
    m.Add(Quad{"zaplenu_board", "zaplenu_boardShader", BOARD_X0, BOARD_Y0, BOARD_X1, BOARD_Y1, -100});
    m.Add(Quad{"zaplenu_table", "zaplenu_tableShader", -32000, 0, 0, 4000, -60});
    m.Add(Quad{"zaplenu_bubble", "zaplenu_bubbleShader", -31500, 15500, -23500, 23500, -40});
    m.Add(Quad{"Arrow", "zaplenu_arrowShader", -6000, 1000, -1000, 6000, -30});
    // Red and gold rails over the counter's drums, so that one row of digits shows.
    m.Add(Quad{"zaplenu_dialRailTop", "zaplenu_tableShader", -26200, -3300, -13600, -1700, 2500});
    m.Add(Quad{"zaplenu_dialRailBottom", "zaplenu_tableShader", -26200, -6300, -13600, -4700, 2500});
    m.Add(Quad{"itemNamePlate", "lambert10", -31600, 600, -17600, 7600, -20});
    m.Add(Quad{"clothShadow1", "zaplenu_clothShadowShader", -16600, 4200, -1000, 19800, -10});
    m.Add(Quad{"clothSpriteImage", "clothSprite", -16000, 4800, -1600, 19200, 0});
    return m.Write("TvRoot", bytes, error);
}

bool BuildScreenModel(std::vector<uint8_t>& bytes, std::string& error) {
    CModelWriter m;
    m.Add(Texture("SHOPPING_ARROWB", TAM_WRAP));
    m.Add(Shader("zaplenu_tickerShader", "SHOPPING_ARROWB"));
    m.Add(Quad{"zaplenu_ticker", "zaplenu_tickerShader", -32000, 21800, 0, 24000, -50});
    return m.Write("AnimateTextures", bytes, error);
}

bool BuildDialModel(std::vector<uint8_t>& bytes, std::string& error) {
    CChunkWriter writer;
    writer.Write(Texture("DIALNUMBERS", TAM_WRAP));
    writer.Write(Shader("zaplenu_dialShader", "DIALNUMBERS"));
    // A drum round the x axis: a lathe about y turned onto x.
    CMeshBuilder mesh;
    CMatrix placement;
    placement.SetRotationZ(-PI / 2);
    if (!mesh.AddLathe({{2000, -650}, {2000, 650}}, 40, placement)) {
        error = "cannot build the dial drum";
        return false;
    }
    BuiltGeometry geometry;
    if (!BuildGeometry(mesh, "zaplenu_dialGeometry", VERTEX_FORMAT_CONSTANT, false, geometry)) {
        error = "cannot build the dial geometry";
        return false;
    }
    writer.Write(geometry.record);
    ShapeRecord shape;
    shape.name = "zaplenu_dialShape";
    shape.pairs.push_back({"zaplenu_dialShader", "zaplenu_dialGeometry"});
    writer.Write(shape);
    TransformRecord top;
    top.name = "moneyDial";
    writer.Write(top);
    HierarchyRecord h;
    h.nodes.push_back({"moneyDial", RT_TRANSFORM, 1, -1});
    h.nodes.push_back({"zaplenu_dialShape", RT_SHAPE, 0, 0});
    writer.Write(h);
    return writer.TakeBytes(bytes, error, "a record of the dial");
}

bool BuildShowAnimation(const std::string& set, std::vector<uint8_t>& bytes, std::string& error) {
    CAnimationWriter a(set);
    if (set == "taveluneTV") {
        const float L = SHOW_MOTION_FRAMES;
        // The set slides in from the right and stays.
        a.Channel("TvRoot", RT_TRANSFORM, AA_TRANSLATION_X, {{0, 36000}, {24, -600}, {32, 0}}, L);
        a.Channel("zaplenu_bubble", RT_TRANSFORM, AA_SCALE_X, Pulse(L, 1.0f, 1.12f), L);
        a.Channel("zaplenu_bubble", RT_TRANSFORM, AA_SCALE_Y, Pulse(L, 1.0f, 1.12f), L);
    } else if (set == "taveluneTVEnding") {
        const float L = 240;
        a.Channel("TvRoot", RT_TRANSFORM, AA_TRANSLATION_X, {{0, 0}}, L);
        a.Channel("zaplenu_bubble", RT_TRANSFORM, AA_SCALE_X, Pulse(L, 1.0f, 1.2f), L);
        a.Channel("zaplenu_bubble", RT_TRANSFORM, AA_SCALE_Y, Pulse(L, 1.0f, 1.2f), L);
    } else if (set == "TVAnimateTexture") {
        // The ticker runs right to left once every ten seconds.
        const float L = SHOW_MOTION_FRAMES;
        a.Channel("SHOPPING_ARROWB", RT_TEXTURE, AA_TRANSLATION_U, {{0, 0}, {L, L / 600.0f}}, L);
    } else {
        error = "no show animation " + set;
        return false;
    }
    return a.Write(bytes, error);
}

bool WriteShowContent(const std::string& folder, std::string& error) {
    const std::filesystem::path dir(folder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string manifest = "# Generated by deskmate_show_content.\n";
    std::vector<uint8_t> bytes;
    bool (*const models[3])(std::vector<uint8_t>&, std::string&) = {BuildTvModel, BuildScreenModel, BuildDialModel};
    for (int i = 0; i < 3; ++i) {
        if (!models[i](bytes, error) || !WriteContentFile(dir / SHOW_MODEL_ENTRIES[i].file, bytes, error))
            return false;
        manifest += std::string(SHOW_MODEL_ENTRIES[i].archive) + " " + SHOW_MODEL_ENTRIES[i].path + " " +
                    SHOW_MODEL_ENTRIES[i].file + "\n";
    }
    const char* const sets[3] = {"taveluneTV", "taveluneTVEnding", "TVAnimateTexture"};
    for (int i = 0; i < 3; ++i) {
        if (!BuildShowAnimation(sets[i], bytes, error) ||
            !WriteContentFile(dir / SHOW_ANIMATION_ENTRIES[i].file, bytes, error))
            return false;
        manifest += std::string(SHOW_ANIMATION_ENTRIES[i].archive) + " " + SHOW_ANIMATION_ENTRIES[i].path + " " +
                    SHOW_ANIMATION_ENTRIES[i].file + "\n";
    }
    std::filesystem::create_directories(dir / "textures", ec);
    for (int i = 0; i < TextureListSize(SHOW_TEXTURE_LIST); ++i) {
        const std::string key = TextureListName(SHOW_TEXTURE_LIST, i);
        CCanvas picture(1, 1);
        if (!PaintShowTexture(key, picture, error))
            return false;
        const std::string file = ShowTextureFileName(key);
        if (!WriteContentFile(dir / "textures" / file, EncodeTga(picture, !picture.IsOpaque()), error))
            return false;
        manifest += "model/texture01.bin model/zaplenu/" + file + " textures/" + file + "\n";
    }
    return WriteContentFile(dir / "show.manifest", std::vector<uint8_t>(manifest.begin(), manifest.end()), error);
}
