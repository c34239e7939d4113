#pragma once
// The outline built the slow way, one CombineRgn per run, from the runs a
// loaded mask shows: the reference the region tests compare with.
#include <windows.h>

#include <vector>

#include "engine/window/DibRegion.h"

namespace testrgn {

// The opaque runs of each row (mask 0), in window coordinates.
inline std::vector<RECT> RunsFromMask(const CDibRegion& dib) {
    std::vector<RECT> runs;
    const int w = dib.GetWidth(), h = dib.GetHeight(), bytesPer = dib.GetBitCount() / 8;
    for (int r = 0; r < h; ++r) {
        const BYTE* row = dib.GetMaskBits() + size_t(r) * dib.GetStride();
        for (int x = 0; x < w;) {
            if (row[size_t(x) * bytesPer] != 0) {
                ++x;
                continue;
            }
            int start = x;
            while (x < w && row[size_t(x) * bytesPer] == 0)
                ++x;
            runs.push_back(RECT{start, h - 1 - r, x, h - r});
        }
    }
    return runs;
}

// Caller deletes the region.
inline HRGN CombineOneByOne(const std::vector<RECT>& runs, int width, int height) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& run : runs) {
        HRGN piece = CreateRectRgn(run.left, run.top, run.right, run.bottom);
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
    }
    HRGN frame = CreateRectRgn(0, 0, width, height);
    CombineRgn(region, region, frame, RGN_AND);
    DeleteObject(frame);
    return region;
}

} // namespace testrgn
