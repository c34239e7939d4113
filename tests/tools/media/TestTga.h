#pragma once
// Reads back the uncompressed true-colour TGA files that the media tools
// write (either row order), strictly against the bytes given.
#include <cstdint>
#include <vector>

#include "engine/core/LittleEndian.h"
#include "tools/media/Canvas.h"

struct TestTga {
    int width = 0, height = 0, bits = 0;
    std::vector<Rgba> pixels; // top row first
    Rgba At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

inline bool ReadTestTga(const std::vector<uint8_t>& b, TestTga& out) {
    if (b.size() < 18 || b[0] != 0 || b[1] != 0 || b[2] != 2)
        return false;
    out.width = ReadLe16(&b[12]);
    out.height = ReadLe16(&b[14]);
    out.bits = b[16];
    const int bytes = out.bits / 8;
    if ((out.bits != 24 && out.bits != 32) || (b[17] & 0x0f) != (out.bits == 32 ? 8 : 0))
        return false;
    const bool topDown = (b[17] & 0x20) != 0;
    if (b.size() != 18 + size_t(out.width) * size_t(out.height) * size_t(bytes))
        return false;
    out.pixels.resize(size_t(out.width) * size_t(out.height));
    for (int row = 0; row < out.height; ++row) {
        int y = topDown ? row : out.height - 1 - row;
        for (int x = 0; x < out.width; ++x) {
            const uint8_t* p = &b[18 + (size_t(row) * size_t(out.width) + size_t(x)) * size_t(bytes)];
            out.pixels[size_t(y) * size_t(out.width) + size_t(x)] = {p[2], p[1], p[0],
                                                                     bytes == 4 ? p[3] : uint8_t(255)};
        }
    }
    return true;
}
