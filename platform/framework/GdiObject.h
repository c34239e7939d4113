#pragma once
#include <windows.h>

// Our stand-ins for the framework's GDI object wrappers: each owns one GDI
// handle and deletes it on destruction unless it was detached first.
class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership; any handle held before is deleted.
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* out) const;

protected:
    HGDIOBJ m_hObject = nullptr;
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    int GetBitmap(BITMAP* out) const { return GetObject(sizeof(BITMAP), out); }
};

class CPalette : public CGdiObject {
public:
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
    BOOL CreatePalette(const LOGPALETTE* palette);
    BOOL CreateHalftonePalette(HDC dc);
    UINT GetNearestPaletteIndex(COLORREF colour) const;
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* out) const;
};

class CRgn : public CGdiObject {
public:
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    // this = a (mode) b; answers the region type, ERROR on failure.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CombineRgn(HRGN a, HRGN b, int mode);
};
