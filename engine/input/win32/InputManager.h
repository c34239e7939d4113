#pragma once
#include <cstdint>

#include "engine/input/Keyboard.h"
#include "engine/input/Pointer.h"

struct IDirectInput8A;

// How a device is read.
enum InputKind : int32_t {
    IK_NULL = 0,
    IK_DIRECTINPUT = 1,
    IK_WIN32 = 2,
};

struct InputSettings {
    int32_t keyboardKind; // InputKind; any other value gives the null device
    int32_t pointerKind;
    CAxisFilter* filters[3]; // X, Y, wheel of the DirectInput mouse; null for none
};

// The process's one keyboard and one pointer: creates them by kind, hands them
// every message of the main window and updates them once per fixed step. The
// manager owns the devices and the DirectInput object (made on first need).
class CInputManager {
public:
    static CInputManager& Instance();

    virtual ~CInputManager();

    // Replaces both devices. A DirectInput device that cannot be set up falls
    // back to the null device of its kind, so this always succeeds.
    bool Create(void* window, const InputSettings& settings);
    void Release();
    void Update();
    void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

    CKeyboard* GetKeyboard() { return m_keyboard; }
    CPointer* GetPointer() { return m_pointer; }

private:
    CInputManager();
    bool EnsureDirectInput();

    IDirectInput8A* m_directInput = nullptr;
    CKeyboard* m_keyboard;
    CPointer* m_pointer;
};
