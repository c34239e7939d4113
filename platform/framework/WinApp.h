#pragma once
#include <windows.h>

// Our stand-in for the framework's application object: one per program,
// made static by the program. RunWinApp (called from WinMain) runs its
// InitInstance; a FALSE result ends the program, as the framework's does
// when InitInstance did all the work itself.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() = 0;

    HINSTANCE m_hInstance = nullptr;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// Runs the application object's start; the exit code of the program.
int RunWinApp(HINSTANCE instance);
