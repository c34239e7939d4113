#include "platform/win32/SystemInfo.h"

#include <windows.h>

int GetPrimaryScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int GetPrimaryScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

bool IsWindows9xPlatform() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}
