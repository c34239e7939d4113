#pragma once
#include <cstdint>
#include <vector>

// Finds the parts of a bitmap that are not the key colour, for a window
// outline: one rectangle per run of non-key pixels in a row. Key pixels are
// blackened in the colour pixels and set to 255 in the mask, the others to 0
// in the mask. Works on bottom-up 8-bit (palette index) or 24-bit pixels.

struct KeyRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct KeyColour {
    // 8-bit: the palette index that holds the key colour, or -1 when the
    // palette has no entry of exactly that colour.
    int32_t index;
    // 24-bit: the key's blue, green and red bytes.
    uint8_t blue, green, red;
};

struct KeyedPixels {
    uint8_t* colour; // stride × height bytes, bottom-up
    uint8_t* mask;   // the same size
    int32_t width;
    int32_t height;
    int32_t stride;
    int32_t bitCount;
};

// Rectangles in top-down window coordinates, left to right within a row and
// rows from the image's bottom up. False (nothing changed) for other depths
// or a stride too small for the width.
bool FindKeyColourRuns(const KeyedPixels& pixels, const KeyColour& key, std::vector<KeyRect>& runs);
