#include "tools/menu/MenuContent.h"

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "engine/chunk/ChunkEnums.h"
#include "engine/resource/ResourceKind.h"
#include "tools/chunkwriter/ChunkWriter.h"
#include "tools/content/ContentFile.h"
#include "tools/content/MeshBuilder.h"
#include "tools/media/ImageWriters.h"
#include "tools/menu/MenuText.h"

namespace {

// The panel: the menu area, (-192, -160) to (192, 160).
constexpr float PANEL_X0 = -192, PANEL_Z0 = -160, PANEL_X1 = 192, PANEL_Z1 = 160;
constexpr int PANEL_W = 384, PANEL_H = 320;
// Heights above the panel (model +Y, towards the viewer) of the layers.
constexpr float LAYER_PANEL = 0, LAYER_PART = 1, LAYER_DIALOG = 3, LAYER_DIALOG_PART = 4;

// Rows of marks: centre heights and the mark columns.
constexpr float ROW_TOP = -112, ROW_PITCH = 25;
constexpr float MARK_COLUMNS[3] = {-40, 36, 118};
constexpr float LABEL_X = -180;
constexpr float NUMBER_RIGHT = 80, MONEY_Z = 75, PERCENT_Z = 95, UNIT_X = 92;
constexpr float BUTTON_Z = 135;
constexpr float BUTTON_COLUMNS[3] = {-118, 0, 118};
constexpr float DIALOG_BUTTON_X = 40, DIALOG_BUTTON_Z = 18;

const char* const MARKS[7][3] = {
    {"star2", "star1", "star"},    {"star3", "star4", "star5"},   {"star6", "star7", nullptr},
    {"star8", "star9", nullptr},   {"star10", "star11", nullptr}, {"star12", "star13", nullptr},
    {"star14", "star15", nullptr},
};
const char* const ROW_LABELS[7] = {"ウィンドウサイズ", "ウィンドウモード", "位置の固定", "常に手前に表示",
                                   "カメラ",           "QuillombMode",     "サウンド"};
const char* const CHOICE_LABELS[7][3] = {
    {"640", "800", "1200"},      {"クリップ", "ウィンドウ", "全画面"},
    {"しない", "する", nullptr}, {"しない", "する", nullptr},
    {"手動", "自動", nullptr},   {"OFF", "ON", nullptr},
    {"OFF", "ON", nullptr},
};

// Parts of the texture, in texels: x, y, width, height.
struct Cell {
    int x, y, w, h;
};
constexpr Cell PANEL_CELL{0, 0, PANEL_W, PANEL_H};
constexpr int BUTTON_W = 110, BUTTON_H = 32;
Cell ButtonCell(int button, bool hover) {
    return {button * BUTTON_W, 320 + (hover ? BUTTON_H : 0), BUTTON_W, BUTTON_H};
}
constexpr int DIALOG_W = 180, DIALOG_H = 80;
Cell DialogCell(int dialog) { return {dialog * DIALOG_W, 384, DIALOG_W, DIALOG_H}; }
constexpr int DIALOG_BUTTON_W = 48, DIALOG_BUTTON_H = 22;
// 0 cancel, 1 ok; normal and hover faces.
Cell DialogButtonCell(int button, bool hover) {
    return {(button * 2 + (hover ? 1 : 0)) * DIALOG_BUTTON_W, 464, DIALOG_BUTTON_W, DIALOG_BUTTON_H};
}
constexpr Cell STAR_CELL{192, 464, 16, 16};
constexpr int GLYPH_Y = 488, GLYPH_H = 16, DIGIT_W = 12, MARK_W = 6;
Cell DigitCell(int digit) { return {digit * DIGIT_W, GLYPH_Y, DIGIT_W, GLYPH_H}; }
constexpr Cell COMMA_CELL{120, GLYPH_Y, MARK_W, GLYPH_H};
constexpr Cell POINT_CELL{126, GLYPH_Y, MARK_W, GLYPH_H};
constexpr Cell YEN_CELL{132, GLYPH_Y, 12, GLYPH_H};
constexpr Cell PERCENT_CELL{144, GLYPH_Y, 12, GLYPH_H};

// Colours of the art.
constexpr Rgba FRAME = {46, 58, 104, 255};
constexpr Rgba PAPER = {252, 248, 238, 255};
constexpr Rgba INK = {44, 44, 60, 255};
constexpr Rgba RULE = {214, 204, 186, 255};
constexpr Rgba TITLE_TOP = {236, 120, 150, 255};
constexpr Rgba TITLE_BOTTOM = {196, 86, 132, 255};
constexpr Rgba BOX = {255, 255, 255, 255};
constexpr Rgba BOX_EDGE = {170, 160, 146, 255};
constexpr Rgba STAR = {244, 172, 36, 255};
constexpr Rgba STAR_EDGE = {170, 96, 20, 255};
constexpr Rgba HOLLOW = {150, 144, 134, 255};
constexpr Rgba WHITE = {255, 255, 255, 255};

float RowZ(int row) { return ROW_TOP + ROW_PITCH * float(row); }
// Panel texel of a menu point.
int PanelX(float x) { return int(std::lround(x - PANEL_X0)); }
int PanelY(float z) { return int(std::lround(z - PANEL_Z0)); }

// A flat quad of `cell`'s art, w x h menu units centred on the node origin.
struct Sprite {
    Cell cell;
    float w, h;
    float layer;
};

struct Node {
    MenuNodeSpec spec;
    bool hasSprite = false;
    Sprite sprite{};
};

std::vector<Node> MenuNodes() {
    std::vector<Node> nodes;
    auto add = [&](const std::string& name, const std::string& parent, float x, float z, bool visible,
                   const Cell* cell = nullptr, float layer = LAYER_PART) {
        Node n;
        n.spec = {name, parent, x, z, visible};
        if (cell) {
            n.hasSprite = true;
            n.sprite = {*cell, float(cell->w), float(cell->h), layer};
        }
        nodes.push_back(n);
    };
    add("Menu", "", 0, 0, true, &PANEL_CELL, LAYER_PANEL);
    // Marks in the data all show; the menu picks the shown ones as it opens.
    for (int row = 0; row < 7; ++row)
        for (int i = 0; i < 3 && MARKS[row][i]; ++i)
            add(MARKS[row][i], "Menu", MARK_COLUMNS[i], RowZ(row), true, &STAR_CELL);
    const char* const buttons[3] = {"quit", "initialize", "ok"};
    for (int b = 0; b < 3; ++b) {
        const Cell normal = ButtonCell(b, false), hover = ButtonCell(b, true);
        add(std::string(buttons[b]) + "0", "Menu", BUTTON_COLUMNS[b], BUTTON_Z, true, &normal);
        add(std::string(buttons[b]) + "1", "Menu", BUTTON_COLUMNS[b], BUTTON_Z, false, &hover);
    }
    const struct {
        const char* node;
        float x, z;
        const char* buttons[4];
    } dialogs[2] = {
        {"dialogQuit", 70, 90, {"Quit_cancelOFF", "Quit_cancelOVER", "Quit_okOFF", "Quit_okOVER"}},
        {"dialogInitialize",
         -45,
         90,
         {"InitializecancelOFF", "InitializecancelOVER", "InitializeokOFF", "InitializeokOVER"}},
    };
    for (int d = 0; d < 2; ++d) {
        const Cell face = DialogCell(d);
        add(dialogs[d].node, "Menu", dialogs[d].x, dialogs[d].z, false, &face, LAYER_DIALOG);
        for (int b = 0; b < 4; ++b) {
            const Cell cell = DialogButtonCell(b / 2, b % 2 == 1);
            add(dialogs[d].buttons[b], dialogs[d].node, b / 2 == 0 ? -DIALOG_BUTTON_X : DIALOG_BUTTON_X,
                DIALOG_BUTTON_Z, b % 2 == 0, &cell, LAYER_DIALOG_PART);
        }
    }
    for (int digit = 0; digit < 10; ++digit) {
        const Cell cell = DigitCell(digit);
        add("n" + std::to_string(digit), "Menu", 0, 0, false, &cell);
    }
    add("nKanma", "Menu", 0, 0, false, &COMMA_CELL);
    add("nConma", "Menu", 0, 0, false, &POINT_CELL);
    add("nYen", "Menu", UNIT_X, MONEY_Z, true, &YEN_CELL);
    add("nPercent", "Menu", UNIT_X, PERCENT_Z, true, &PERCENT_CELL);
    return nodes;
}

// ---- the art ----

// The first text that could not be drawn while painting, if any.
std::string g_paintError;

void Text(CCanvas& c, const std::string& text, float x, float y, int size, Rgba colour, MenuTextAlign align) {
    if (!DrawMenuText(c, text, x, y, size, colour, align) && g_paintError.empty())
        g_paintError = "cannot draw the text \"" + text + "\"";
}

void DrawStar(CCanvas& c, float cx, float cy, float outer, float inner) {
    // A five-pointed star as a polygon, filled by the even-odd rule per pixel
    // with 4 x 4 samples.
    float px[10], py[10];
    for (int i = 0; i < 10; ++i) {
        const float a = -1.5707963f + float(i) * 3.14159265f / 5;
        const float r = i % 2 == 0 ? outer : inner;
        px[i] = cx + r * std::cos(a);
        py[i] = cy + r * std::sin(a);
    }
    auto inside = [&](float x, float y) {
        bool in = false;
        for (int i = 0, j = 9; i < 10; j = i++)
            if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
                in = !in;
        return in;
    };
    const int x0 = int(cx - outer) - 1, x1 = int(cx + outer) + 2, y0 = int(cy - outer) - 1, y1 = int(cy + outer) + 2;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            int edge = 0, fill = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const float fx = float(x) + (float(sx) + 0.5f) / 4, fy = float(y) + (float(sy) + 0.5f) / 4;
                    if (inside(fx, fy))
                        ++edge;
                    // The fill: the same star pulled in by a pixel.
                    const float gx = cx + (fx - cx) * outer / (outer - 1.2f),
                                gy = cy + (fy - cy) * outer / (outer - 1.2f);
                    if (inside(gx, gy))
                        ++fill;
                }
            c.Blend(x, y, STAR_EDGE, float(edge) / 16);
            c.Blend(x, y, STAR, float(fill) / 16);
        }
}

void PaintButton(CCanvas& c, const Cell& cell, const char* label, int textSize, bool hover, Rgba top, Rgba bottom,
                 Rgba back) {
    c.FillRect(cell.x, cell.y, cell.x + cell.w, cell.y + cell.h, back);
    const float x0 = float(cell.x) + 2, y0 = float(cell.y) + 2, x1 = float(cell.x + cell.w) - 2,
                y1 = float(cell.y + cell.h) - 2;
    const Rgba shadow = {0, 0, 0, 60};
    c.FillRoundedRect(x0 + 1, y0 + 2, x1 + 1, y1 + 1, 8, shadow);
    CCanvas face(cell.w, cell.h, {0, 0, 0, 0});
    face.FillGradient(0, 0, cell.w, cell.h, hover ? MixColours(top, WHITE, 0.35f) : top,
                      hover ? MixColours(bottom, WHITE, 0.25f) : bottom, true);
    const Rgba edge = hover ? Rgba{255, 236, 140, 255} : MixColours(bottom, {0, 0, 0, 255}, 0.35f);
    c.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, 8); }, cell.x, cell.y,
                cell.x + cell.w, cell.y + cell.h,
                [&](float x, float y) { return face.Get(int(x) - cell.x, int(y) - cell.y); });
    c.StrokeRoundedRect(x0 + 0.5f, y0 + 0.5f, x1 - 0.5f, y1 - 0.5f, 7.5f, hover ? 2.0f : 1.0f, edge);
    Text(c, label, float(cell.x) + float(cell.w) / 2, float(cell.y) + float(cell.h) / 2, textSize, WHITE, TEXT_CENTRE);
}

void PaintPanel(CCanvas& c) {
    const Cell& p = PANEL_CELL;
    c.FillRect(p.x, p.y, p.x + p.w, p.y + p.h, FRAME);
    c.FillRect(p.x + 4, p.y + 4, p.x + p.w - 4, p.y + p.h - 4, PAPER);
    // Title band.
    c.FillGradient(p.x + 4, p.y + 4, p.x + p.w - 4, p.y + 28, TITLE_TOP, TITLE_BOTTOM, true);
    Text(c, "設定", float(p.x + 14), float(p.y) + 16, 16, WHITE, TEXT_LEFT);
    Text(c, "CONFIG", float(p.x + p.w - 14), float(p.y) + 16, 12, {255, 226, 236, 255}, TEXT_RIGHT);
    // Rows: label, then a hollow ring and a name for each choice.
    for (int row = 0; row < 7; ++row) {
        const float z = RowZ(row);
        const int y = PanelY(z);
        if (row > 0)
            c.FillRect(p.x + 10, y - int(ROW_PITCH / 2), p.x + p.w - 10, y - int(ROW_PITCH / 2) + 1, RULE);
        Text(c, ROW_LABELS[row], float(PanelX(LABEL_X)), float(y), 13, INK, TEXT_LEFT);
        for (int i = 0; i < 3 && MARKS[row][i]; ++i) {
            const float mx = float(PanelX(MARK_COLUMNS[i]));
            c.StrokeEllipse(mx, float(y), 5.5f, 5.5f, 1.5f, HOLLOW);
            Text(c, CHOICE_LABELS[row][i], mx + 11, float(y), 12, INK, TEXT_LEFT);
        }
    }
    const int rule = PanelY(RowZ(6) + ROW_PITCH / 2 + 3);
    c.FillRect(p.x + 10, rule, p.x + p.w - 10, rule + 2, FRAME);
    // Money and collected share: labels and the white box the numbers sit in.
    const int boxX0 = PanelX(-64), boxX1 = PanelX(UNIT_X + 10);
    const int boxY0 = PanelY(MONEY_Z - 11), boxY1 = PanelY(PERCENT_Z + 11);
    c.FillRect(boxX0 - 1, boxY0 - 1, boxX1 + 1, boxY1 + 1, BOX_EDGE);
    c.FillRect(boxX0, boxY0, boxX1, boxY1, BOX);
    Text(c, "所持金", float(PanelX(LABEL_X)), float(PanelY(MONEY_Z)), 13, INK, TEXT_LEFT);
    Text(c, "コレクション率", float(PanelX(LABEL_X)), float(PanelY(PERCENT_Z)), 13, INK, TEXT_LEFT);
}

void PaintDialog(CCanvas& c, const Cell& cell, const char* line1, const char* line2) {
    c.FillRect(cell.x, cell.y, cell.x + cell.w, cell.y + cell.h, FRAME);
    c.FillRect(cell.x + 3, cell.y + 3, cell.x + cell.w - 3, cell.y + cell.h - 3, {255, 250, 240, 255});
    c.FillRect(cell.x + 3, cell.y + 3, cell.x + cell.w - 3, cell.y + 7, TITLE_BOTTOM);
    const float cx = float(cell.x) + float(cell.w) / 2;
    if (line2) {
        Text(c, line1, cx, float(cell.y) + 19, 13, INK, TEXT_CENTRE);
        Text(c, line2, cx, float(cell.y) + 36, 13, INK, TEXT_CENTRE);
    } else {
        Text(c, line1, cx, float(cell.y) + 27, 13, INK, TEXT_CENTRE);
    }
}

void PaintGlyph(CCanvas& c, const Cell& cell, const char* text) {
    c.FillRect(cell.x, cell.y, cell.x + cell.w, cell.y + cell.h, BOX);
    Text(c, text, float(cell.x) + float(cell.w) / 2, float(cell.y) + float(cell.h) / 2, 15, INK, TEXT_CENTRE);
}

// ---- the model ----

bool WriteModel(std::vector<uint8_t>& bytes, std::string& error) {
    const std::vector<Node> nodes = MenuNodes();
    CChunkWriter writer;
    TextureRecord texture;
    texture.name = "CONFIG";
    texture.fileName = MENU_TEXTURE_FILE;
    texture.magFilter = TFM_LINEAR;
    texture.minFilter = TFM_LINEAR;
    texture.mipFilter = TFM_NONE;
    texture.addressU = TAM_CLAMP;
    texture.addressV = TAM_CLAMP;
    writer.Write(texture);
    ShaderRecord shader;
    shader.name = "configMenu_m";
    shader.shaderType = ST_CONSTANT;
    shader.textureName = "CONFIG";
    for (float& v : shader.colour)
        v = 1.0f;
    writer.Write(shader);

    std::vector<std::unique_ptr<BuiltGeometry>> built(nodes.size());
    const float size = float(MENU_TEXTURE_SIZE);
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].hasSprite)
            continue;
        const Sprite& s = nodes[i].sprite;
        const float x0 = -s.w / 2, x1 = s.w / 2, z0 = -s.h / 2, z1 = s.h / 2, y = s.layer;
        // Half a texel in from the cell's edge, so that filtering never reads
        // the neighbouring cell.
        const float u0 = (float(s.cell.x) + 0.5f) / size, u1 = (float(s.cell.x + s.cell.w) - 0.5f) / size;
        const float v0 = (float(s.cell.y) + 0.5f) / size, v1 = (float(s.cell.y + s.cell.h) - 0.5f) / size;
        CMeshBuilder mesh;
        mesh.AddQuad({x0, y, z1}, {x1, y, z1}, {x1, y, z0}, {x0, y, z0}, u0, v0, u1, v1);
        built[i] = std::make_unique<BuiltGeometry>();
        const std::string name = "configMenu_" + nodes[i].spec.name + "Geometry";
        if (!BuildGeometry(mesh, name, VERTEX_FORMAT_CONSTANT, false, *built[i])) {
            error = "cannot build geometry " + name;
            return false;
        }
        writer.Write(built[i]->record);
    }
    auto shapeName = [](const Node& n) { return "configMenu_" + n.spec.name + "Shape"; };
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!nodes[i].hasSprite)
            continue;
        ShapeRecord shape;
        shape.name = shapeName(nodes[i]);
        shape.pairs.push_back({"configMenu_m", built[i]->record.name});
        writer.Write(shape);
    }
    for (const Node& n : nodes) {
        TransformRecord t;
        t.name = n.spec.name;
        t.visible = n.spec.visible ? 1 : 0;
        t.translation[0] = n.spec.x;
        t.translation[2] = n.spec.z;
        writer.Write(t);
    }
    // The tree: each node, its shape, then its children.
    HierarchyRecord hierarchy;
    std::map<std::string, int> at;
    std::function<void(size_t, int)> append = [&](size_t index, int parent) {
        const Node& n = nodes[index];
        const int self = int(hierarchy.nodes.size());
        hierarchy.nodes.push_back({n.spec.name, RT_TRANSFORM, 0, parent});
        if (parent >= 0)
            ++hierarchy.nodes[size_t(parent)].childCount;
        if (n.hasSprite) {
            hierarchy.nodes.push_back({shapeName(n), RT_SHAPE, 0, self});
            ++hierarchy.nodes[size_t(self)].childCount;
        }
        for (size_t c = 0; c < nodes.size(); ++c)
            if (nodes[c].spec.parent == n.spec.name)
                append(c, self);
    };
    append(0, -1);
    writer.Write(hierarchy);
    return writer.TakeBytes(bytes, error);
}

} // namespace

std::vector<MenuNodeSpec> MenuNodeLayout() {
    std::vector<MenuNodeSpec> out;
    for (const Node& n : MenuNodes())
        out.push_back(n.spec);
    return out;
}

bool BuildConfigMenuModel(std::vector<uint8_t>& bytes, std::string& error) { return WriteModel(bytes, error); }

bool PaintConfigTexture(CCanvas& c, std::string& error) {
    g_paintError.clear();
    c = CCanvas(MENU_TEXTURE_SIZE, MENU_TEXTURE_SIZE, PAPER);
    PaintPanel(c);
    const char* const labels[3] = {"終了", "初期化", "OK"};
    const Rgba tops[3] = {{120, 140, 220, 255}, {110, 180, 150, 255}, {240, 150, 80, 255}};
    const Rgba bottoms[3] = {{60, 76, 170, 255}, {50, 128, 98, 255}, {206, 96, 40, 255}};
    for (int b = 0; b < 3; ++b)
        for (bool hover : {false, true})
            PaintButton(c, ButtonCell(b, hover), labels[b], 15, hover, tops[b], bottoms[b], PAPER);
    PaintDialog(c, DialogCell(0), "終了しますか？", nullptr);
    PaintDialog(c, DialogCell(1), "セーブデータを", "初期化しますか？");
    const Rgba dialogBack = {255, 250, 240, 255};
    const char* const answers[2] = {"いいえ", "はい"};
    for (int b = 0; b < 2; ++b)
        for (bool hover : {false, true}) {
            const Cell cell = DialogButtonCell(b, hover);
            const Cell inner{cell.x, cell.y, cell.w, cell.h};
            c.FillRect(inner.x, inner.y, inner.x + inner.w, inner.y + inner.h, dialogBack);
            const Rgba top = b == 0 ? Rgba{150, 150, 170, 255} : Rgba{236, 120, 150, 255};
            const Rgba bottom = b == 0 ? Rgba{100, 100, 124, 255} : Rgba{196, 72, 118, 255};
            PaintButton(c, inner, answers[b], 12, hover, top, bottom, dialogBack);
        }
    // The selected mark: a star over the same paper the rings sit on.
    c.FillRect(STAR_CELL.x, STAR_CELL.y, STAR_CELL.x + STAR_CELL.w, STAR_CELL.y + STAR_CELL.h, PAPER);
    DrawStar(c, float(STAR_CELL.x) + 8, float(STAR_CELL.y) + 8.5f, 7.8f, 3.4f);
    for (int d = 0; d < 10; ++d) {
        const char text[2] = {char('0' + d), 0};
        PaintGlyph(c, DigitCell(d), text);
    }
    PaintGlyph(c, COMMA_CELL, ",");
    PaintGlyph(c, POINT_CELL, ".");
    PaintGlyph(c, YEN_CELL, "円");
    PaintGlyph(c, PERCENT_CELL, "%");
    error = g_paintError;
    return error.empty();
}

bool WriteMenuContent(const std::string& folder, std::string& error) {
    std::filesystem::path dir(folder);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::vector<uint8_t> model;
    if (!BuildConfigMenuModel(model, error) || !WriteContentFile(dir / "configMenu.hgm", model, error))
        return false;
    CCanvas texture(1, 1);
    if (!PaintConfigTexture(texture, error) ||
        !WriteContentFile(dir / MENU_TEXTURE_FILE, EncodeTga(texture, false), error))
        return false;
    std::string manifest = "# Generated by deskmate_menu_content.\n";
    manifest += std::string("model/model02.bin ") + MENU_MODEL_ENTRY + " configMenu.hgm\n";
    manifest += std::string("model/texture02.bin ") + MENU_TEXTURE_ENTRY + " " + MENU_TEXTURE_FILE + "\n";
    return WriteContentFile(dir / "menu.manifest", std::vector<uint8_t>(manifest.begin(), manifest.end()), error);
}
