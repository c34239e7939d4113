#pragma once
#include <string>

#include "tools/media/Canvas.h"

enum MenuTextAlign {
    TEXT_LEFT,
    TEXT_CENTRE,
    TEXT_RIGHT
};

// UTF-8 text of about `pixelSize` pixels, its line's middle at y and its
// left edge, middle or right edge at x.
void DrawMenuText(CCanvas& canvas, const std::string& utf8, float x, float y, int pixelSize, Rgba colour,
                  MenuTextAlign align);
