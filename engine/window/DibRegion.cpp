#include "engine/window/DibRegion.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/bitmap/KeyColourRuns.h"

namespace {

// Rectangles handed to one ExtCreateRegion call. Wine adds a call's
// rectangles to the region one at a time, each addition copying what is
// already there, so a call costs about the square of its count; a mask of many
// runs is made of bounded calls whose regions are then merged pairwise.
constexpr size_t RECTS_PER_CALL = 64;

HRGN CreateRectsRegion(const KeyRect* runs, size_t count) {
    std::vector<BYTE> block(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATA* data = reinterpret_cast<RGNDATA*>(block.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bounds = {runs[0].left, runs[0].top, runs[0].right, runs[0].bottom};
    RECT* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < count; ++i) {
        out[i] = RECT{runs[i].left, runs[i].top, runs[i].right, runs[i].bottom};
        bounds.left = std::min(bounds.left, out[i].left);
        bounds.top = std::min(bounds.top, out[i].top);
        bounds.right = std::max(bounds.right, out[i].right);
        bounds.bottom = std::max(bounds.bottom, out[i].bottom);
    }
    data->rdh.rcBound = bounds;
    return ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), data);
}

// The union of the runs; null when the system refuses any step, so that a
// failure never leaves a region with holes.
HRGN CreateRunsRegion(const std::vector<KeyRect>& runs) {
    std::vector<HRGN> parts;
    bool failed = false;
    for (size_t at = 0; at < runs.size() && !failed; at += RECTS_PER_CALL) {
        HRGN part = CreateRectsRegion(runs.data() + at, std::min(RECTS_PER_CALL, runs.size() - at));
        if (part)
            parts.push_back(part);
        failed = !part;
    }
    // Neighbours first, so that each union joins regions of about one size.
    while (parts.size() > 1 && !failed) {
        size_t kept = 0;
        for (size_t i = 0; i < parts.size(); i += 2) {
            if (i + 1 < parts.size()) {
                failed = failed || CombineRgn(parts[i], parts[i], parts[i + 1], RGN_OR) == ERROR;
                ::DeleteObject(parts[i + 1]);
            }
            parts[kept++] = parts[i];
        }
        parts.resize(kept);
    }
    if (failed) {
        for (HRGN part : parts)
            ::DeleteObject(part);
        return nullptr;
    }
    return parts.empty() ? nullptr : parts.front();
}

} // namespace

CDibRegion::CDibRegion(COLORREF key) : m_key(key), m_maskBits(nullptr) {}

CDibRegion::~CDibRegion() = default;

BOOL CDibRegion::LoadFromMemory(const void* data, size_t size) {
    if (!CDib::LoadFromMemory(data, size))
        return FALSE;
    BuildRegion();
    return TRUE;
}

BOOL CDibRegion::LoadFromFile(const char* path) {
    if (!CDib::LoadFromFile(path))
        return FALSE;
    BuildRegion();
    return TRUE;
}

BOOL CDibRegion::LoadFromResource(UINT id) {
    if (!CDib::LoadFromResource(id))
        return FALSE;
    BuildRegion();
    return TRUE;
}

void CDibRegion::BuildRegion() {
    m_region.DeleteObject();
    m_mask.DeleteObject();
    m_maskBits = nullptr;
    BYTE* maskBits = nullptr;
    HBITMAP maskSection = CreateCompatibleSection(&maskBits);
    if (!maskSection || !GetBits())
        return;
    m_mask.Attach(maskSection);
    m_maskBits = maskBits;

    KeyColour key = {-1, GetBValue(m_key), GetGValue(m_key), GetRValue(m_key)};
    if (GetBitCount() == 8 && GetPalette().GetSafeHandle()) {
        UINT index = GetPalette().GetNearestPaletteIndex(m_key);
        PALETTEENTRY entry;
        if (index != CLR_INVALID && GetPalette().GetPaletteEntries(index, 1, &entry) == 1 &&
            entry.peRed == GetRValue(m_key) && entry.peGreen == GetGValue(m_key) && entry.peBlue == GetBValue(m_key))
            key.index = static_cast<int32_t>(index);
    }

    GdiFlush();
    std::vector<KeyRect> runs;
    KeyedPixels pixels = {GetBits(), maskBits, GetWidth(), GetHeight(), GetStride(), GetBitCount()};
    if (!FindKeyColourRuns(pixels, key, runs) || runs.empty())
        return; // no usable outline: the window stays rectangular

    // The runs lie inside the bitmap: they need no clipping to its frame.
    if (HRGN region = CreateRunsRegion(runs))
        m_region.Attach(region);
}
