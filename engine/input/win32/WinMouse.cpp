#include "engine/input/win32/WinMouse.h"

#include <windows.h>

#include "engine/input/WindowMessages.h"

static_assert(IM_ACTIVATE == WM_ACTIVATE && IM_ACTIVATEAPP == WM_ACTIVATEAPP, "message numbers");
static_assert(IM_MOUSEMOVE == WM_MOUSEMOVE && IM_MOUSEWHEEL == WM_MOUSEWHEEL, "message numbers");
static_assert(IM_LBUTTONDOWN == WM_LBUTTONDOWN && IM_LBUTTONUP == WM_LBUTTONUP, "message numbers");
static_assert(IM_RBUTTONDOWN == WM_RBUTTONDOWN && IM_RBUTTONUP == WM_RBUTTONUP, "message numbers");
static_assert(IM_MBUTTONDOWN == WM_MBUTTONDOWN && IM_MBUTTONUP == WM_MBUTTONUP, "message numbers");
static_assert(IM_NCLBUTTONDOWN == WM_NCLBUTTONDOWN && IM_NCLBUTTONUP == WM_NCLBUTTONUP, "message numbers");
static_assert(IM_NCRBUTTONDOWN == WM_NCRBUTTONDOWN && IM_NCRBUTTONUP == WM_NCRBUTTONUP, "message numbers");
static_assert(IM_NCMBUTTONDOWN == WM_NCMBUTTONDOWN && IM_NCMBUTTONUP == WM_NCMBUTTONUP, "message numbers");
static_assert(IM_ENTERMENULOOP == WM_ENTERMENULOOP && IM_EXITMENULOOP == WM_EXITMENULOOP, "message numbers");

void CWinMouse::Update() {
    HWND window = static_cast<HWND>(m_window);
    POINT cursor;
    RECT client;
    bool inside = GetCursorPos(&cursor) && ScreenToClient(window, &cursor) && GetClientRect(window, &client) &&
                  cursor.x >= client.left && cursor.x < client.right && cursor.y >= client.top &&
                  cursor.y < client.bottom;
    m_state.Update(inside);
}
