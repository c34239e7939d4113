#include "shell/app/MascotWnd.h"

#include <shellapi.h>

#include <cstdio>
#include <memory>

#include "engine/archive/ArchiveOpeners.h"
#include "engine/archive/DataArchive.h"
#include "engine/window/DibRegion.h"
#include "shell/app/AppController.h"
#include "shell/app/AppMessages.h"
#include "shell/app/MascotApp.h"
#include "shell/mascot/PointerZone.h"
#include "shell/mascot/WindowLayout.h"
#include "shell/placement/WindowPlacementKeeper.h"
#include "shell/settings/Setting.h"

const char* const WindowTitle = "Tavelune";

namespace {

CWindowLayout LayoutFor(ISetting* setting) {
    return FitWindowLayout(setting->GetLeft(), setting->GetTop(), setting->GetWidth(), setting->GetHeight(),
                           setting->IsFullscreen(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// Switches the input method on or off for the process (user32, looked up
// because not every header declares it).
void EnableInputMethod(BOOL enable) {
    using EnableImeFn = BOOL(WINAPI*)(HWND, BOOL);
    if (HMODULE user = GetModuleHandleA("user32.dll"))
        if (auto enableIme =
                reinterpret_cast<EnableImeFn>(reinterpret_cast<void*>(GetProcAddress(user, "WINNLSEnableIME"))))
            enableIme(nullptr, enable);
}

} // namespace

CMascotWnd::CMascotWnd(const char* className, ISetting* setting, bool screenSaver)
    : m_setting(setting),
      m_screenSaver(screenSaver) {
    CWindowLayout layout = LayoutFor(setting);
    DWORD exStyle = setting->IsFullscreen() ? 0 : WS_EX_TOOLWINDOW;
    if (!CreateEx(exStyle, className, WindowTitle, WS_POPUP, layout.left, layout.top, layout.width, layout.height,
                  nullptr, nullptr)) {
        char text[96];
        std::snprintf(text, sizeof text, "Warning: Window creation failed: GetLastError returns 0x%8.8lX\n",
                      static_cast<unsigned long>(GetLastError()));
        MessageBoxA(nullptr, text, WindowTitle, MB_OK);
        return;
    }
    ApplyOutline();
}

BOOL CMascotWnd::PreCreateWindow(CREATESTRUCTA& create) {
    create.style = (create.style & ~LONG(WS_BORDER)) | LONG(WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    return TRUE;
}

void CMascotWnd::RecordStartCursor() { GetCursorPos(&m_startCursor); }

void CMascotWnd::ApplyOutline() {
    if (!m_setting->IsWindowClip()) {
        SetOutline(nullptr);
        return;
    }
    char name[64];
    std::snprintf(name, sizeof name, "clipper/clipper_%d_%d.bmp", m_setting->GetWidth(), m_setting->GetHeight());
    std::unique_ptr<CDataArchive> archive(OpenClipperArchive(0));
    CDibRegion mask(RGB(0, 255, 0));
    ArchiveEntry entry = archive ? archive->GetEntry(name) : ArchiveEntry{nullptr, 0};
    // A mask that is missing or gives no outline leaves the window whole.
    if (entry.data && mask.LoadFromMemory(entry.data, entry.size) && mask.HasOutline())
        SetOutline(static_cast<HRGN>(mask.GetRegion().GetSafeHandle()));
    else
        SetOutline(nullptr);
}

void CMascotWnd::SetOutline(HRGN region) {
    if (!m_hWnd || m_setting->IsFullscreen())
        return;
    SetWindowRgn(m_hWnd, nullptr, FALSE);
    if (region) {
        HRGN copy = CreateRectRgn(0, 0, 0, 0);
        if (copy && CombineRgn(copy, region, nullptr, RGN_COPY) != ERROR) {
            // The window owns the region it is given.
            SetWindowRgn(m_hWnd, copy, TRUE);
        } else if (copy) {
            DeleteObject(copy);
        }
    }
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CMascotWnd::ApplyZOrder(bool topmost, bool firstTime) {
    if (m_setting->IsFullscreen())
        return;
    if (topmost)
        SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    else if (firstTime)
        SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    else
        SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CMascotWnd::ShowCursorFor(int x, int y) {
    int zone = CAppController::Instance().HitTest(x, y);
    if (CMascotApp* app = GetMascotApp())
        SetCursor(app->GetCursor(CursorForZone(zone, m_setting->IsFullscreen())));
}

void CMascotWnd::OnMouseMove(int x, int y) {
    CMascotApp* app = GetMascotApp();
    if (m_screenSaver) {
        POINT p = {x, y};
        ClientToScreen(m_hWnd, &p);
        if (IsPointerFarFromStart(p.x, p.y, m_startCursor.x, m_startCursor.y))
            SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return;
    }
    if (m_dragMode == DRAG_WINDOW && !m_setting->IsFixed()) {
        if (m_grab.x >= 0) {
            POINT corner = {x - m_grab.x, y - m_grab.y};
            if (corner.x != 0 || corner.y != 0) {
                ClientToScreen(m_hWnd, &corner);
                SetWindowPos(m_hWnd, nullptr, corner.x, corner.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                                 SWP_NOSENDCHANGING);
                m_setting->SetPosition(corner.x, corner.y);
                m_moved = true;
            }
        }
        if (app)
            SetCursor(app->GetCursor(1));
    } else if (m_dragMode == DRAG_CAMERA && !m_setting->IsCameraAuto()) {
        if (app)
            SetCursor(app->GetCursor(2));
    } else {
        ShowCursorFor(x, y);
    }
}

void CMascotWnd::EndDrag() {
    if (m_dragMode != DRAG_NONE)
        ReleaseCapture();
    m_dragMode = DRAG_NONE;
    // The new place is kept at once rather than waiting for the next change
    // of another setting, so that it survives the end of the run.
    if (m_moved) {
        m_moved = false;
        m_setting->SaveConfig();
    }
}

void CMascotWnd::AddTrayIcon() {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = m_hWnd;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_MASCOT_TRAY;
    data.hIcon =
        static_cast<HICON>(LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDI_MASCOT), IMAGE_ICON, 16, 16, 0));
    lstrcpynA(data.szTip, WindowTitle, sizeof data.szTip);
    m_trayIcon = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
}

void CMascotWnd::RemoveTrayIcon() {
    if (!m_trayIcon)
        return;
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = m_hWnd;
    data.uID = TRAY_ICON_ID;
    Shell_NotifyIconA(NIM_DELETE, &data);
    m_trayIcon = false;
}

void CMascotWnd::ShowTrayMenu() {
    HMENU menu = LoadMenuA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    if (!menu)
        return;
    if (HMENU child = GetSubMenu(menu, 0)) {
        POINT at;
        GetCursorPos(&at);
        SetForegroundWindow(m_hWnd);
        TrackPopupMenu(child, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    }
    DestroyMenu(menu);
}

bool CMascotWnd::IsSwallowedSysCommand(WPARAM command) const {
    switch (command & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MAXIMIZE:
    case SC_KEYMENU:
    case SC_MONITORPOWER: return m_setting->IsFullscreen() || m_screenSaver;
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_SCREENSAVE: return m_screenSaver;
    default: return false;
    }
}

LRESULT CMascotWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CAppController& controller = CAppController::Instance();
    if (controller.GetSystem() && m_screenSaver) {
        switch (message) {
        case WM_ACTIVATEAPP:
            if (wParam)
                break;
            [[fallthrough]];
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP: PostMessageA(m_hWnd, WM_CLOSE, 0, 0); break;
        default: break;
        }
    }
    controller.OnWindowMessage(m_hWnd, message, wParam, lParam);
    return OnMessage(message, wParam, lParam);
}

LRESULT CMascotWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    switch (message) {
    case WM_CREATE: {
        LRESULT result = Default(message, wParam, lParam);
        if (result == -1)
            return -1;
        if (!m_screenSaver)
            AddTrayIcon();
        ApplyZOrder(m_setting->IsTopmost(), true);
        if (m_setting->IsFullscreen())
            EnableInputMethod(FALSE);
        if (m_screenSaver)
            while (ShowCursor(FALSE) >= 0) {
            }
        return result;
    }
    case WM_DESTROY:
        RemoveTrayIcon();
        ::ShowWindow(m_hWnd, SW_HIDE);
        return Default(message, wParam, lParam);
    case WM_NCDESTROY:
        // The main window's end ends the program's loop.
        PostQuitMessage(0);
        return Default(message, wParam, lParam);
    case WM_ERASEBKGND: return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_TRAY_EXIT) {
            SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_MOUSEMOVE: OnMouseMove(x, y); break;
    case WM_LBUTTONDOWN: {
        int zone = CAppController::Instance().HitTest(x, y);
        m_dragMode = DragModeForPress(zone, m_setting->IsFullscreen());
        if (m_dragMode != DRAG_NONE) {
            SetCapture(m_hWnd);
            m_grab.x = x;
            m_grab.y = y;
        }
        break;
    }
    case WM_LBUTTONUP: EndDrag(); break;
    case WM_RBUTTONDOWN: CAppController::Instance().OnRightClick(); break;
    case WM_ACTIVATE: {
        LRESULT result = Default(message, wParam, lParam);
        if (LOWORD(wParam) == WA_INACTIVE)
            EndDrag();
        return result;
    }
    case WM_CAPTURECHANGED:
        // Capture taken away mid-drag (another window, a menu): the drag ends.
        if (HWND(lParam) != m_hWnd && m_dragMode != DRAG_NONE) {
            m_dragMode = DRAG_NONE;
            EndDrag();
        }
        break;
    case WM_SYSCOMMAND:
        if (IsSwallowedSysCommand(wParam))
            return 0;
        break;
    case WM_MASCOT_TRAY:
        if (lParam == WM_LBUTTONDOWN)
            SetForegroundWindow(m_hWnd);
        else if (lParam == WM_RBUTTONDOWN)
            ShowTrayMenu();
        return 0;
    case WM_MASCOT_CURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(m_hWnd, &p);
        ShowCursorFor(p.x, p.y);
        return 0;
    }
    case WM_MASCOT_TOPMOST: ApplyZOrder(wParam != 0, false); return 0;
    case WM_MASCOT_MODE_CHANGE:
        if (wParam == 0) {
            SetWindowPos(m_hWnd, nullptr, 0, 0, m_setting->GetWidth(), m_setting->GetHeight(),
                         SWP_NOZORDER | SWP_NOMOVE | SWP_NOOWNERZORDER);
            if (m_setting->IsFullscreen())
                CWindowPlacementKeeper::Instance().SaveAndMinimize(m_hWnd);
        } else {
            CWindowLayout layout = LayoutFor(m_setting);
            LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
            style = (style & ~LONG(WS_BORDER)) | LONG(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
            SetWindowLongA(m_hWnd, GWL_STYLE, style);
            LONG exStyle = GetWindowLongA(m_hWnd, GWL_EXSTYLE);
            exStyle = m_setting->IsFullscreen() ? (exStyle & ~LONG(WS_EX_TOOLWINDOW)) : (exStyle | WS_EX_TOOLWINDOW);
            SetWindowLongA(m_hWnd, GWL_EXSTYLE, exStyle);
            SetWindowPos(m_hWnd, HWND_TOP, layout.left, layout.top, layout.width, layout.height, SWP_NOOWNERZORDER);
            if (!m_setting->IsFullscreen())
                CWindowPlacementKeeper::Instance().RestoreAll();
            ApplyOutline();
        }
        return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}
