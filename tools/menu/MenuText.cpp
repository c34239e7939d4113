#include "tools/menu/MenuText.h"

void DrawMenuText(CCanvas& canvas, const std::string& utf8, float x, float y, int pixelSize, Rgba colour,
                  MenuTextAlign align) {
    // Measure on a scratch canvas, then draw in place.
    CCanvas scratch(1, 1);
    const int width = scratch.DrawText(0, 0, utf8, colour, 1);
    const float left = align == TEXT_LEFT ? x : align == TEXT_CENTRE ? x - float(width) / 2 : x - float(width);
    canvas.DrawText(int(left), int(y) - 4, utf8, colour, 1);
}
