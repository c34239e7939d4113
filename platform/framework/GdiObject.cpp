#include "platform/framework/GdiObject.h"

BOOL CGdiObject::Attach(HGDIOBJ object) {
    DeleteObject();
    m_hObject = object;
    return object != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    BOOL ok = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return ok;
}

int CGdiObject::GetObject(int size, void* out) const { return m_hObject ? ::GetObjectA(m_hObject, size, out) : 0; }

BOOL CPalette::CreatePalette(const LOGPALETTE* palette) { return Attach(::CreatePalette(palette)); }

BOOL CPalette::CreateHalftonePalette(HDC dc) { return Attach(::CreateHalftonePalette(dc)); }

UINT CPalette::GetNearestPaletteIndex(COLORREF colour) const {
    return m_hObject ? ::GetNearestPaletteIndex(*this, colour) : CLR_INVALID;
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* out) const {
    return m_hObject ? ::GetPaletteEntries(*this, start, count, out) : 0;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    return Attach(::CreateRectRgn(left, top, right, bottom));
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    return CombineRgn(a ? HRGN(*a) : nullptr, b ? HRGN(*b) : nullptr, mode);
}

int CRgn::CombineRgn(HRGN a, HRGN b, int mode) {
    if (!m_hObject)
        return ERROR;
    return ::CombineRgn(*this, a, b, mode);
}
