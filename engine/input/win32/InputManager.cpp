#include "engine/input/win32/InputManager.h"

#include <windows.h>

#include "engine/core/DeleteOwned.h"
#include "engine/input/win32/DIKeyboard.h"
#include "engine/input/win32/DIMouse.h"
#include "engine/input/win32/WinKeyboard.h"
#include "engine/input/win32/WinMouse.h"

CInputManager& CInputManager::Instance() {
    static CInputManager manager;
    return manager;
}

// Null devices from the start, so that the getters never answer null.
CInputManager::CInputManager() : m_keyboard(new CNullKeyboard), m_pointer(new CNullPointer) {}

CInputManager::~CInputManager() {
    Release();
    DeleteOwned(m_keyboard);
    DeleteOwned(m_pointer);
}

bool CInputManager::EnsureDirectInput() {
    if (m_directInput)
        return true;
    void* created = nullptr;
    if (FAILED(
            DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A, &created, nullptr)))
        return false;
    m_directInput = static_cast<IDirectInput8A*>(created);
    return true;
}

bool CInputManager::Create(void* window, const InputSettings& settings) {
    HWND hwnd = static_cast<HWND>(window);

    DeleteOwned(m_keyboard);
    if (settings.keyboardKind == IK_DIRECTINPUT && EnsureDirectInput()) {
        CDIKeyboard* keyboard = new CDIKeyboard(m_directInput);
        if (keyboard->Open(hwnd))
            m_keyboard = keyboard;
        else
            delete keyboard;
    } else if (settings.keyboardKind == IK_WIN32) {
        m_keyboard = new CWinKeyboard;
    }
    if (!m_keyboard)
        m_keyboard = new CNullKeyboard;

    DeleteOwned(m_pointer);
    if (settings.pointerKind == IK_DIRECTINPUT && EnsureDirectInput()) {
        CDIMouse* mouse = new CDIMouse(m_directInput, settings.filters[0], settings.filters[1], settings.filters[2]);
        if (mouse->Open(hwnd))
            m_pointer = mouse;
        else
            delete mouse;
    } else if (settings.pointerKind == IK_WIN32) {
        m_pointer = new CWinMouse(window);
    }
    if (!m_pointer)
        m_pointer = new CNullPointer;
    return true;
}

void CInputManager::Release() {
    DeleteOwned(m_pointer);
    DeleteOwned(m_keyboard);
    if (m_directInput) {
        m_directInput->Release();
        m_directInput = nullptr;
    }
    // Whoever still asks gets devices that report nothing.
    m_keyboard = new CNullKeyboard;
    m_pointer = new CNullPointer;
}

void CInputManager::Update() {
    m_keyboard->Update();
    m_pointer->Update();
}

void CInputManager::OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    m_keyboard->OnMessage(window, message, wParam, lParam);
    m_pointer->OnMessage(window, message, wParam, lParam);
}
