#pragma once
#include "platform/win32/SystemInfo.h"
#include "shell/settings/SettingHost.h"

// The settings' view of the real machine (Windows builds only).
class CWin32SettingHost : public ISettingHost {
public:
    int GetScreenWidth() override { return GetPrimaryScreenWidth(); }
    int GetScreenHeight() override { return GetPrimaryScreenHeight(); }
    bool IsWindows9x() override { return IsWindows9xPlatform(); }
};
