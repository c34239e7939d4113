#pragma once
#include <windows.h>

#include <map>

// Keeps the desktop as the user left it around full screen: a save records
// the placement of every other visible top-level window and minimises the
// maximised ones; a restore puts every recorded window back. One object for
// the process, used on the main thread only.
class CWindowPlacementKeeper {
public:
    static CWindowPlacementKeeper& Instance();

    // Forgets any earlier save, then records and minimises; except (may be
    // null) is left alone.
    void SaveAndMinimize(HWND except);
    void RestoreAll();

    bool HasSaved(HWND window) const { return m_saved.count(window) != 0; }

private:
    static BOOL CALLBACK SaveOne(HWND window, LPARAM self);
    static BOOL CALLBACK RestoreOne(HWND window, LPARAM self);

    HWND m_desktop = nullptr;
    HWND m_except = nullptr;
    std::map<HWND, WINDOWPLACEMENT> m_saved;
};
