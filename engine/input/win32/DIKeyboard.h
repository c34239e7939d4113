#pragma once
#include <dinput.h>

#include "engine/input/KeyStates.h"
#include "engine/input/Keyboard.h"

// The keyboard read through DirectInput 8, indexed directly by scan code.
// Holds a reference on the DirectInput object that created it.
class CDIKeyboard : public CKeyboard {
public:
    explicit CDIKeyboard(IDirectInput8A* directInput);
    ~CDIKeyboard() override;

    // Opens the system keyboard for the window; false leaves it unusable.
    bool Open(HWND window);

    uint32_t GetKey(uint32_t code) override;
    void Update() override;
    void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    IDirectInput8A* m_directInput;
    IDirectInputDevice8A* m_device = nullptr;
    CKeyStates m_keys;
};

// Acquires the device again after a lost read, with a bound on the retries.
void ReacquireInputDevice(IDirectInputDevice8A* device);
