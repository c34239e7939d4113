#pragma once
#include <cstdint>
#include <vector>

// The tools' own bitmap font: printable ASCII (' ' to '~') on a 5 × 8 grid.
// Capitals and digits fill rows 0-6 (row 6 is the baseline), row 7 holds
// descenders. Characters without a glyph draw as '?'.
constexpr int FONT_GLYPH_WIDTH = 5;
constexpr int FONT_GLYPH_HEIGHT = 8;
// Pen advance and line height, in font pixels.
constexpr int FONT_ADVANCE = 6;
constexpr int FONT_LINE_HEIGHT = 9;
constexpr char FONT_FIRST = ' ';
constexpr char FONT_LAST = '~';

bool HasGlyph(char c);
// Whether font pixel (x, y) of the glyph is inked; false outside the grid.
bool GlyphPixel(char c, int x, int y);
// The glyph enlarged: (5 × scale) × (8 × scale) bytes, 1 where inked, rows
// top first. With smooth and an even scale the glyph is doubled with Scale2x
// first, which rounds off its diagonal steps.
std::vector<uint8_t> GlyphMask(char c, int scale, bool smooth);
