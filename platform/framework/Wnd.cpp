#include "platform/framework/Wnd.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/framework/WinApp.h"

namespace {

const char WINDOW_OBJECT[] = "deskmate.CWnd";

} // namespace

CWnd::~CWnd() {
    if (m_hWnd) {
        RemovePropA(m_hWnd, WINDOW_OBJECT);
        ::DestroyWindow(m_hWnd);
    }
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu) {
    CREATESTRUCTA create = {};
    create.dwExStyle = exStyle;
    create.lpszClass = className;
    create.lpszName = title;
    create.style = LONG(style);
    create.x = x, create.y = y, create.cx = width, create.cy = height;
    create.hwndParent = parent;
    create.hMenu = menu;
    create.hInstance = AfxGetInstanceHandle();
    if (!PreCreateWindow(create))
        return FALSE;
    HWND made =
        CreateWindowExA(create.dwExStyle, create.lpszClass, create.lpszName, DWORD(create.style), create.x, create.y,
                        create.cx, create.cy, create.hwndParent, create.hMenu, create.hInstance, this);
    return made != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

CWnd* CWnd::FromHandle(HWND window) { return window ? static_cast<CWnd*>(GetPropA(window, WINDOW_OBJECT)) : nullptr; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(window);
    if (!self && message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        if (self) {
            self->m_hWnd = window;
            SetPropA(window, WINDOW_OBJECT, self);
        }
    }
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = self->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, WINDOW_OBJECT);
        self->m_hWnd = nullptr;
        self->PostNcDestroy();
    }
    return result;
}

const char* AfxRegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon) {
    static std::mutex lock;
    static std::map<std::tuple<UINT, HCURSOR, HBRUSH, HICON>, std::string> names;
    std::lock_guard<std::mutex> hold(lock);
    auto key = std::make_tuple(style, cursor, background, icon);
    auto found = names.find(key);
    if (found != names.end())
        return found->second.c_str();
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), style,
                  static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = CWnd::Procedure;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    return names.emplace(key, name).first->second.c_str();
}
