#pragma once
#include <windows.h>

#include "shell/mascot/PointerZone.h"

class CSetting;
class CSystem;
class ISetting;

// The process's application controller: it owns the settings object and the
// system object for the program's life, installs the start-up failure
// hooks, enters the frame loop and hands the main window's messages, right
// clicks and hit tests on to the system object.
class CAppController {
public:
    static CAppController& Instance();

    // Settings object and launch settings file (a fresh one when it cannot
    // be read); the screen-saver run forces its own values and saves nothing.
    bool Init(bool screenSaver);
    ISetting* GetSetting();
    CSetting* GetSettingObject() { return m_setting; }
    // The system object and its set-up; false: the loop must not run.
    bool SetUp(HWND mainWindow);
    void Run();
    void TearDown();

    void OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnRightClick();
    PointerZone HitTest(int x, int y);

    CSystem* GetSystem() const { return m_system; }

private:
    CAppController() = default;

    CSystem* m_system = nullptr;
    CSetting* m_setting = nullptr;
};
