#pragma once
#include <windows.h>

// Our stand-in for the framework's window wrapper: one window, its messages
// routed to WindowProc (the class's message map), everything unhandled to
// DefWindowProc. PostNcDestroy runs after the last message; a window object
// that deletes itself there must have been made with new.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // False when the window could not be made (GetLastError says why).
    BOOL CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu);
    BOOL DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    BOOL ShowWindow(int command) { return m_hWnd ? ::ShowWindow(m_hWnd, command) : FALSE; }
    BOOL UpdateWindow() { return m_hWnd ? ::UpdateWindow(m_hWnd) : FALSE; }

    // The window object of a window made here, or null.
    static CWnd* FromHandle(HWND window);
    // The procedure of the classes that AfxRegisterWndClass registers: it
    // routes each message to the window object.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Gives the style a last look before the window is made.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& create) { return TRUE; }
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy() {}

    HWND m_hWnd = nullptr;
};

// A window class with these properties, registered once per combination; its
// name stays valid for the program's life. Null when it cannot be registered.
const char* AfxRegisterWndClass(UINT style, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                HICON icon = nullptr);
