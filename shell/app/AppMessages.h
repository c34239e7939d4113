#pragma once
#include <windows.h>

// The main window's private messages.
constexpr UINT WM_MASCOT_TRAY = 0x479;        // the tray icon's callback; wParam its id, lParam the mouse message
constexpr UINT WM_MASCOT_OUTLINE = 0x47A;     // not handled: nothing of ours sends it
constexpr UINT WM_MASCOT_CURSOR = 0x47C;      // choose the cursor again for where the pointer is
constexpr UINT WM_MASCOT_TOPMOST = 0x47D;     // wParam 1 stay on top, 0 not
constexpr UINT WM_MASCOT_MODE_CHANGE = 0x47E; // wParam 0 before, 1 after a size or mode change
constexpr UINT TRAY_ICON_ID = 0x479;

// Program resources.
constexpr UINT IDI_MASCOT = 128;
constexpr UINT IDR_TRAY_MENU = 134;
constexpr UINT IDC_MASCOT_MOVE = 138;
constexpr UINT IDC_MASCOT_ROTATE = 139;
constexpr UINT IDC_MASCOT_PICTURE = 140;
constexpr UINT IDC_MASCOT_YEN = 141;
constexpr UINT ID_TRAY_EXIT = 0x8003;
