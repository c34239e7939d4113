#pragma once

// What the settings object asks of the machine: the primary screen's size for
// the default window centre, whether this is a Windows 9x system, and the
// program's log, where it says why a state file was not used.
class ISettingHost {
public:
    virtual ~ISettingHost() {}
    virtual int GetScreenWidth() = 0;
    virtual int GetScreenHeight() = 0;
    virtual bool IsWindows9x() = 0;
    // One line of text, without its line end.
    virtual void WriteLog(const char* line) = 0;
};
