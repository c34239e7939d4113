#include "shell/placement/WindowPlacementKeeper.h"

namespace {

// Windows reports a maximised window by its show command; the restore flag
// says the same of one that was minimised from maximised.
bool IsMaximised(const WINDOWPLACEMENT& placement) {
    return placement.showCmd == SW_SHOWMAXIMIZED || (placement.flags & WPF_RESTORETOMAXIMIZED);
}

} // namespace

CWindowPlacementKeeper& CWindowPlacementKeeper::Instance() {
    static CWindowPlacementKeeper keeper;
    return keeper;
}

void CWindowPlacementKeeper::SaveAndMinimize(HWND except) {
    m_saved.clear();
    m_except = except;
    m_desktop = GetDesktopWindow();
    EnumWindows(SaveOne, reinterpret_cast<LPARAM>(this));
}

BOOL CALLBACK CWindowPlacementKeeper::SaveOne(HWND window, LPARAM self) {
    auto* keeper = reinterpret_cast<CWindowPlacementKeeper*>(self);
    const bool visible = IsWindowVisible(window) != FALSE;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return TRUE;
    if (!visible || window == keeper->m_except || window == keeper->m_desktop)
        return TRUE;
    if (placement.showCmd == SW_HIDE || placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE)
        return TRUE;
    const RECT& normal = placement.rcNormalPosition;
    if (normal.right - normal.left <= 0 || normal.bottom - normal.top <= 0)
        return TRUE;
    keeper->m_saved.emplace(window, placement);
    if (IsMaximised(placement)) {
        WINDOWPLACEMENT minimised = placement;
        minimised.showCmd = SW_SHOWMINNOACTIVE;
        minimised.flags &= ~UINT(WPF_RESTORETOMAXIMIZED);
        SetWindowPlacement(window, &minimised);
    }
    return TRUE;
}

void CWindowPlacementKeeper::RestoreAll() {
    if (m_saved.empty())
        return;
    EnumWindows(RestoreOne, reinterpret_cast<LPARAM>(this));
    m_saved.clear();
}

BOOL CALLBACK CWindowPlacementKeeper::RestoreOne(HWND window, LPARAM self) {
    auto* keeper = reinterpret_cast<CWindowPlacementKeeper*>(self);
    auto found = keeper->m_saved.find(window);
    if (found == keeper->m_saved.end())
        return TRUE;
    const WINDOWPLACEMENT& placement = found->second;
    const RECT& r = placement.rcNormalPosition;
    if (placement.showCmd == SW_SHOWNORMAL)
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOZORDER);
    else if (IsMaximised(placement))
        SetWindowPlacement(window, &placement);
    return TRUE;
}
