#include "engine/window/DibRegion.h"

#include <vector>

#include "engine/bitmap/KeyColourRuns.h"

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

    m_region.CreateRectRgn(0, 0, 0, 0);
    for (const KeyRect& run : runs) {
        HRGN piece = CreateRectRgn(run.left, run.top, run.right, run.bottom);
        if (!piece)
            continue;
        m_region.CombineRgn(m_region, piece, RGN_OR);
        ::DeleteObject(piece);
    }
    HRGN frame = CreateRectRgn(0, 0, GetWidth(), GetHeight());
    m_region.CombineRgn(m_region, frame, RGN_AND);
    ::DeleteObject(frame);
}
