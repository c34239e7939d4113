#pragma once
#include <windows.h>

#include "platform/framework/WinApp.h"
#include "shell/mascot/PointerZone.h"

// The application object of deskmate: its start routine is the program's
// whole life (single instance, command line, splash, cursors, settings, main
// window, set-up, loop, tear-down). One static instance.
class CMascotApp : public CWinApp {
public:
    static constexpr const char* MUTEX_NAME = "TAVELUNE_VESKO";

    BOOL InitInstance() override;

    HCURSOR GetCursor(int index) const;
    bool IsScreenSaverRun() const { return m_screenSaver; }
    HWND GetMainWindow() const { return m_mainWindow; }

private:
    void LoadCursors();

    HCURSOR m_cursors[CURSOR_COUNT] = {};
    bool m_screenSaver = false;
    HWND m_mainWindow = nullptr;
};

CMascotApp* GetMascotApp();

// The graphics device cannot be set up: the splash goes, a box says so, the
// launch settings go back to a plain window, exit code 1.
void OnStartupFailure();
// A resource is missing during set-up: the splash goes, a box says so, exit code 1.
void OnMissingData();
// The renderer's device-lost callback: 1 before a reset, 0 while still lost.
void OnDeviceLostChange(int lost);

// The texts of the two boxes, code page 932.
extern const char* const STARTUP_FAILURE_TEXT;
extern const char* const MISSING_DATA_TEXT;
extern const char* const STARTUP_FAILURE_CAPTION;
