#include "platform/framework/BitmapButton.h"

#include "platform/framework/Dialog.h"
#include "platform/framework/WinApp.h"

namespace {

void LoadFace(CBitmap& face, const char* name) {
    face.DeleteObject();
    if (name && *name)
        face.Attach(LoadBitmapA(AfxGetInstanceHandle(), name));
}

} // namespace

BOOL CBitmapButton::AutoLoad(int id, CDialog* parent) {
    m_hWnd = parent ? parent->GetDlgItem(id) : nullptr;
    if (!m_hWnd)
        return FALSE;
    char caption[128] = {};
    GetWindowTextA(m_hWnd, caption, sizeof caption - 2);
    const std::string base = caption;
    if (!LoadBitmaps((base + "U").c_str(), (base + "D").c_str(), (base + "F").c_str(), (base + "X").c_str()))
        return FALSE;
    parent->AttachBitmapButton(id, this);
    SizeToContent();
    return TRUE;
}

BOOL CBitmapButton::LoadBitmaps(const char* normal, const char* pressed, const char* focused, const char* disabled) {
    LoadFace(m_normal, normal);
    LoadFace(m_pressed, pressed);
    LoadFace(m_focused, focused);
    LoadFace(m_disabled, disabled);
    return m_normal.GetSafeHandle() != nullptr;
}

void CBitmapButton::SizeToContent() {
    BITMAP info;
    if (m_hWnd && m_normal.GetBitmap(&info))
        SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) {
    const CBitmap* face = &m_normal;
    if ((item.itemState & ODS_SELECTED) && m_pressed.GetSafeHandle())
        face = &m_pressed;
    else if ((item.itemState & ODS_FOCUS) && m_focused.GetSafeHandle())
        face = &m_focused;
    else if ((item.itemState & ODS_DISABLED) && m_disabled.GetSafeHandle())
        face = &m_disabled;
    if (!face->GetSafeHandle())
        return;
    HDC memory = CreateCompatibleDC(item.hDC);
    if (!memory)
        return;
    HGDIOBJ old = SelectObject(memory, face->GetSafeHandle());
    const RECT& r = item.rcItem;
    BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}
