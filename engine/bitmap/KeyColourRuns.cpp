#include "engine/bitmap/KeyColourRuns.h"

#include <cstring>

namespace {

bool IsKey(const uint8_t* p, int32_t bitCount, const KeyColour& key) {
    if (bitCount == 8)
        return key.index >= 0 && p[0] == key.index;
    return p[0] == key.blue && p[1] == key.green && p[2] == key.red;
}

} // namespace

bool FindKeyColourRuns(const KeyedPixels& px, const KeyColour& key, std::vector<KeyRect>& runs) {
    runs.clear();
    if (px.bitCount != 8 && px.bitCount != 24)
        return false;
    const int32_t bytes = px.bitCount / 8;
    if (px.width <= 0 || px.height <= 0 || int64_t(px.width) * bytes > px.stride)
        return false;
    for (int32_t r = 0; r < px.height; ++r) {
        uint8_t* colourRow = px.colour + size_t(r) * size_t(px.stride);
        uint8_t* maskRow = px.mask + size_t(r) * size_t(px.stride);
        const int32_t top = px.height - 1 - r;
        int32_t runStart = -1;
        for (int32_t x = 0; x <= px.width; ++x) {
            bool isKey = x == px.width || IsKey(colourRow + size_t(x) * bytes, px.bitCount, key);
            if (!isKey) {
                std::memset(maskRow + size_t(x) * bytes, 0, bytes);
                if (runStart < 0)
                    runStart = x;
                continue;
            }
            if (runStart >= 0) {
                runs.push_back(KeyRect{runStart, top, x, top + 1});
                runStart = -1;
            }
            if (x < px.width) {
                std::memset(colourRow + size_t(x) * bytes, 0, bytes);
                std::memset(maskRow + size_t(x) * bytes, 255, bytes);
            }
        }
    }
    return true;
}
