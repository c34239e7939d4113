#pragma once
#include <string>

#include "tools/media/Canvas.h"

// The engine's own pictures.

// The plain white texture "whiteTex.TGA" (opaque: stored without alpha).
CCanvas PaintWhiteTexture();

// The console font "fontTable.TGA": 256 × 256, 16 × 16 cells of 16 × 16
// pixels, character code c in column c % 16 and row c / 16 (top row first).
// Glyphs are white on black (the console adds them to the scene); codes
// without a glyph stay black.
constexpr int FONT_TABLE_SIZE = 256;
constexpr int FONT_TABLE_CELL = 16;
CCanvas PaintFontTable();

// The green key colour: pixels of a window mask outside the window.
constexpr Rgba MASK_KEY = {0, 255, 0, 255};
// A size × size window mask: a rounded outline reaching 0.48 × size from
// the centre, painted over the key colour; pixels are either exactly the key
// or opaque window, never a blend of the two.
CCanvas PaintWindowMask(int size);

// The window sizes with a mask.
constexpr int WINDOW_MASK_SIZES[] = {1200, 640, 800};

// Writes the pictures into folder, with "media.manifest" naming each file's
// archive and entry path for the packer. False with a message when a file
// cannot be written.
bool BuildMediaContent(const std::string& folder, std::string& error);
