#pragma once
#include <string>

#include "tools/media/Canvas.h"

enum MenuTextAlign {
    TEXT_LEFT,
    TEXT_CENTRE,
    TEXT_RIGHT
};

// UTF-8 text in IPA Gothic at `pixelSize` (the em), its line's middle at y
// and its left edge, middle or right edge at x. False, drawing nothing, when
// the font cannot be opened or the text cannot be drawn with it.
bool DrawMenuText(CCanvas& canvas, const std::string& utf8, float x, float y, int pixelSize, Rgba colour,
                  MenuTextAlign align);
