#pragma once
#include <windows.h>

#include "engine/window/Dib.h"
#include "platform/framework/WinThread.h"
#include "platform/framework/Wnd.h"

// The splash picture: bitmap resource 146, green outside its outline.
constexpr UINT IDB_SPLASH = 146;

// The splash window: the picture centred on the screen, shaped by its key
// colour, on top of everything. It lives on the splash thread.
class CSplashWnd : public CWnd {
public:
    // False when the picture or the window could not be made.
    BOOL Create();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CDib m_picture;
    CRgn m_outline;
};

// The splash's own user-interface thread, started before the program loads
// and closed after it, so that the picture stays painted while the main
// thread is busy. The thread object deletes itself when its thread ends; the
// main thread keeps only the thread's id, a handle of its own and the start
// time.
class CSplashThread : public CWinThread {
public:
    static void Start();
    // Ends the splash no earlier than minMs after it started and waits for its
    // thread to end. Nothing when no splash was started.
    static void Close(unsigned minMs);
    // Whether a splash thread is running (started and not yet closed).
    static bool IsRunning();

    BOOL InitInstance() override;
    // Pumps messages until a thread message WM_CLOSE or the end of the stream.
    int Run() override;
    int ExitInstance() override;

private:
    CSplashWnd* m_window = nullptr;
};
