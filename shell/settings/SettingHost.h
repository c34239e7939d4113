#pragma once

// What the settings object asks of the machine: the primary screen's size for
// the default window centre, and whether this is a Windows 9x system.
class ISettingHost {
public:
    virtual ~ISettingHost() {}
    virtual int GetScreenWidth() = 0;
    virtual int GetScreenHeight() = 0;
    virtual bool IsWindows9x() = 0;
};
