#include "tools/media/MediaContent.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/media/BitmapFont.h"
#include "tools/media/ImageWriters.h"

CCanvas PaintWhiteTexture() { return CCanvas(8, 8, RGBA_WHITE); }

CCanvas PaintFontTable() {
    CCanvas table(FONT_TABLE_SIZE, FONT_TABLE_SIZE, RGBA_BLACK);
    const int columns = FONT_TABLE_SIZE / FONT_TABLE_CELL;
    // Glyphs doubled with rounded diagonals: 10 × 16, centred across the cell.
    const int scale = 2;
    const int left = (FONT_TABLE_CELL - FONT_GLYPH_WIDTH * scale) / 2;
    for (int code = FONT_FIRST; code <= FONT_LAST; ++code) {
        int x = (code % columns) * FONT_TABLE_CELL + left;
        int y = (code / columns) * FONT_TABLE_CELL;
        table.DrawText(x, y, std::string(1, char(code)), RGBA_WHITE, scale, true);
    }
    return table;
}

CCanvas PaintWindowMask(int size) {
    CCanvas mask(size, size, MASK_KEY);
    const float s = float(size);
    const float c = s * 0.5f;
    const float radius = s * 0.48f;
    const float roundness = 3.2f; // between a circle (2) and a square
    auto outline = [=](float x, float y) { return SuperellipseDistance(x, y, c, c, radius, roundness); };
    // The outline itself is hard: a pixel is window exactly when its centre
    // lies inside, so that no pixel mixes window and key.
    const Rgba rimTop = {232, 190, 138, 255}, rimBottom = {150, 96, 64, 255};
    mask.FillShape(
        outline, 0, 0, size, size, [=](float, float y) { return MixColours(rimTop, rimBottom, y / s); }, false);
    // Inside it, smooth: a light bevel line, a darker groove and the view.
    const float bevel = s * 0.012f;
    mask.FillShape([=](float x, float y) { return std::fabs(outline(x, y) + bevel) - s * 0.004f; }, 0, 0, size, size,
                   [](float, float) {
                       return Rgba{255, 236, 200, 200};
                   });
    const float view = s * 0.40f;
    mask.FillShape([=](float x, float y) { return SuperellipseDistance(x, y, c, c, view + s * 0.012f, roundness); }, 0,
                   0, size, size,
                   [](float, float) {
                       return Rgba{96, 56, 40, 255};
                   });
    const Rgba viewTop = {44, 58, 96, 255}, viewBottom = {18, 22, 44, 255};
    mask.FillShape([=](float x, float y) { return SuperellipseDistance(x, y, c, c, view, roundness); }, 0, 0, size,
                   size, [=](float, float y) { return MixColours(viewTop, viewBottom, y / s); });
    return mask;
}

namespace {

bool WriteFile(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes,
               std::string& error) {
    std::string path = (std::filesystem::path(folder) / name).string();
    if (!WriteBytesToFile(path, bytes)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

bool BuildMediaContent(const std::string& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::string manifest = "# The engine's own pictures: <archive> <entry path> <file>\n";
    auto add = [&](const std::string& archive, const std::string& entry, const std::string& name,
                   const std::vector<uint8_t>& bytes) {
        if (!WriteFile(folder, name, bytes, error))
            return false;
        manifest += archive + " " + entry + " " + name + "\n";
        return true;
    };
    if (!add("model/texture00.bin", "model/common/whiteTex.TGA", "whiteTex.TGA", EncodeTga(PaintWhiteTexture(), false)))
        return false;
    if (!add("model/texture00.bin", "model/common/fontTable.TGA", "fontTable.TGA", EncodeTga(PaintFontTable(), false)))
        return false;
    for (int size : WINDOW_MASK_SIZES) {
        char name[64];
        std::snprintf(name, sizeof name, "clipper_%d_%d.bmp", size, size);
        if (!add("clipper/clipper00.bin", std::string("clipper/") + name, name, EncodeBmp24(PaintWindowMask(size))))
            return false;
    }
    return WriteFile(folder, "media.manifest", std::vector<uint8_t>(manifest.begin(), manifest.end()), error);
}
