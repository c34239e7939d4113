#pragma once
#include <windows.h>

#include <string>

#include "platform/framework/GdiObject.h"

class CDialog;

// Our stand-in for the framework's bitmap button: an owner-drawn button whose
// faces are bitmap resources named after its caption with "U" (normal), "D"
// (pressed), "F" (focused) and "X" (disabled). A missing pressed, focused or
// disabled face falls back to the normal one.
class CBitmapButton {
public:
    // Takes control `id` of the dialog, loads the faces named after its
    // caption and sizes the control to the normal face. False when there is
    // no such control or no normal face.
    BOOL AutoLoad(int id, CDialog* parent);
    BOOL LoadBitmaps(const char* normal, const char* pressed, const char* focused, const char* disabled);
    void SizeToContent();
    void DrawItem(const DRAWITEMSTRUCT& item);

    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL EnableWindow(BOOL enable) { return m_hWnd ? ::EnableWindow(m_hWnd, enable) : FALSE; }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint) {
        return m_hWnd ? ::MoveWindow(m_hWnd, x, y, width, height, repaint) : FALSE;
    }

private:
    HWND m_hWnd = nullptr;
    CBitmap m_normal, m_pressed, m_focused, m_disabled;
};
