#pragma once
#include "engine/window/Dib.h"

// A bitmap that gives a window its outline: after each load, the pixels that
// differ from the key colour become a region (one rectangle per run in a
// row), the key pixels are blackened and a mask bitmap is built that is white
// where the key colour was. A mask that cannot be used (a depth other than 8
// or 24 bits, or nothing but key pixels) gives no outline: the region handle
// is null and the window keeps its rectangle.
class CDibRegion : public CDib {
public:
    explicit CDibRegion(COLORREF key);
    ~CDibRegion() override;

    BOOL LoadFromMemory(const void* data, size_t size) override;
    BOOL LoadFromFile(const char* path) override;
    BOOL LoadFromResource(UINT id) override;

    // Rebuilds region and mask from the loaded pixels.
    void BuildRegion();

    // The outline; null handle when there is none. SetWindowRgn takes the
    // region it is given, so a window must be handed a copy.
    CRgn& GetRegion() { return m_region; }
    bool HasOutline() const { return m_region.GetSafeHandle() != nullptr; }
    CBitmap& GetMask() { return m_mask; }
    BYTE* GetMaskBits() const { return m_maskBits; }

private:
    COLORREF m_key;
    CRgn m_region;
    CBitmap m_mask;
    BYTE* m_maskBits;
};
