#include "shell/splash/SplashThread.h"

#include <mmsystem.h>

#include "engine/render/FrameReport.h"
#include "engine/window/DibRegion.h"

namespace {

// What the main thread keeps of the splash: the thread runs between Start
// and Close, and only Close reads these.
DWORD g_threadId = 0;
HANDLE g_thread = nullptr;
DWORD g_startTime = 0;

constexpr COLORREF SPLASH_KEY = RGB(0, 255, 0);

} // namespace

BOOL CSplashWnd::Create() {
    if (!m_picture.LoadFromResource(IDB_SPLASH))
        return FALSE;
    const int width = m_picture.GetWidth(), height = m_picture.GetHeight();
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, AfxRegisterWndClass(0), "test", WS_POPUP, x, y, width, height,
                  nullptr, nullptr))
        return FALSE;
    CDibRegion mask(SPLASH_KEY);
    if (mask.LoadFromResource(IDB_SPLASH) && mask.HasOutline() && m_outline.CreateRectRgn(0, 0, 0, 0) &&
        m_outline.CombineRgn(mask.GetRegion(), nullptr, RGN_COPY) != ERROR) {
        // The window owns the region it is given.
        SetWindowRgn(m_hWnd, static_cast<HRGN>(m_outline.Detach()), TRUE);
    }
    return TRUE;
}

LRESULT CSplashWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        m_picture.DrawAll(dc, 0, 0);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CSplashThread::Start() {
    if (g_thread)
        return;
    g_startTime = timeGetTime();
    DWORD id = 0;
    HANDLE handle = nullptr;
    if (AfxBeginThread(new CSplashThread(), THREAD_PRIORITY_NORMAL, &id, &handle) && handle) {
        g_threadId = id;
        g_thread = handle;
    }
}

bool CSplashThread::IsRunning() { return g_thread && WaitForSingleObject(g_thread, 0) == WAIT_TIMEOUT; }

void CSplashThread::Close(unsigned minMs) {
    if (!g_thread)
        return;
    const DWORD elapsed = timeGetTime() - g_startTime;
    if (elapsed < minMs)
        Sleep(minMs - elapsed);
    // A thread that has not made its message queue yet refuses the message:
    // ask again until it takes it or has ended.
    while (!PostThreadMessageA(g_threadId, WM_CLOSE, 0, 0)) {
        if (WaitForSingleObject(g_thread, 10) != WAIT_TIMEOUT)
            break;
    }
    // The splash's windows may send this thread messages as they go (focus
    // and activation): answer those while waiting, or both threads would
    // wait on each other. Posted messages stay queued for the main loop.
    while (MsgWaitForMultipleObjects(1, &g_thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_threadId = 0;
    NoteSplashClosed();
}

BOOL CSplashThread::InitInstance() {
    // Make the message queue first, so that Close can reach the thread.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    m_window = new CSplashWnd();
    if (!m_window->Create()) {
        delete m_window;
        m_window = nullptr;
        return FALSE;
    }
    m_window->ShowWindow(SW_SHOW);
    m_window->UpdateWindow();
    return TRUE;
}

int CSplashThread::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == WM_CLOSE)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return ExitInstance();
}

int CSplashThread::ExitInstance() {
    delete m_window; // destroys the window with it
    m_window = nullptr;
    return 0;
}
