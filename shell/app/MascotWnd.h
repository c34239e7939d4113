#pragma once
#include <windows.h>

#include "platform/framework/Wnd.h"

class ISetting;

// The caption of the main window and the tip of its tray icon.
extern const char* const WindowTitle;

// The main window: a borderless popup shaped by the window mask of its size,
// with a tray icon and its menu. It shows the cursor of the zone under the
// pointer, drags itself by its rim, answers the private messages and, in the
// screen-saver run, closes at the first key, click or pointer movement. Made
// with new; it deletes itself after its last message.
class CMascotWnd : public CWnd {
public:
    CMascotWnd(const char* className, ISetting* setting, bool screenSaver);

    // Where the pointer was after set-up; the screen-saver run measures from here.
    void RecordStartCursor();

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyOutline();
    void SetOutline(HRGN region);
    void ApplyZOrder(bool topmost, bool firstTime);
    void ShowCursorFor(int x, int y);
    void OnMouseMove(int x, int y);
    void EndDrag();
    void ShowTrayMenu();
    void AddTrayIcon();
    void RemoveTrayIcon();
    bool IsSwallowedSysCommand(WPARAM command) const;

    ISetting* m_setting;
    bool m_screenSaver;
    int m_dragMode = 0;
    POINT m_grab = {-1, -1};
    POINT m_startCursor = {0, 0};
    bool m_moved = false;
    bool m_trayIcon = false;
};
