#pragma once
#include "engine/input/KeyStates.h"
#include "engine/input/Keyboard.h"

// The keyboard read through the window system's key state, one whole read per
// update. Scan codes are mapped to virtual keys through the scan-code table.
class CWinKeyboard : public CKeyboard {
public:
    uint32_t GetKey(uint32_t code) override;
    void Update() override;
    // Held keys are let go when the window loses or regains activation or
    // enters a menu loop; the keys it missed meanwhile are not its own.
    void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    CKeyStates m_keys;
};
