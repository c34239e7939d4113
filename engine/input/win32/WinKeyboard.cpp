#include "engine/input/win32/WinKeyboard.h"

#include <windows.h>

#include "engine/input/ScanCodeTable.h"
#include "engine/input/WindowMessages.h"

uint32_t CWinKeyboard::GetKey(uint32_t code) {
    int scanCode = 0;
    uint32_t tag = 0;
    if (!SplitKeyCode(code, scanCode, tag))
        return 0;
    return m_keys.KeyWord(ScanCodeToVirtualKey(scanCode), tag);
}

void CWinKeyboard::Update() {
    BYTE fresh[CKeyStates::KEY_COUNT] = {};
    if (!GetKeyboardState(fresh))
        ZeroMemory(fresh, sizeof fresh);
    fresh[0] = 0; // unmapped keys read virtual key 0, which is never down
    m_keys.Advance(fresh);
}

void CWinKeyboard::OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (ClassifyFocusMessage(message, wParam)) {
    case FC_ACTIVATED:
    case FC_DEACTIVATED:
    case FC_MENU_ENTER: m_keys.Clear(); break;
    default: break;
    }
}
