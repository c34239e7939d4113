#include "engine/input/win32/DIKeyboard.h"

#include "engine/input/WindowMessages.h"

void ReacquireInputDevice(IDirectInputDevice8A* device) {
    // A device that keeps answering "lost" must not hang the frame loop.
    for (int tries = 0; tries < 8; ++tries)
        if (device->Acquire() != DIERR_INPUTLOST)
            return;
}

CDIKeyboard::CDIKeyboard(IDirectInput8A* directInput) : m_directInput(directInput) { m_directInput->AddRef(); }

CDIKeyboard::~CDIKeyboard() {
    if (m_device) {
        m_device->Unacquire();
        m_device->Release();
    }
    m_directInput->Release();
}

bool CDIKeyboard::Open(HWND window) {
    if (FAILED(m_directInput->CreateDevice(GUID_SysKeyboard, &m_device, nullptr))) {
        m_device = nullptr;
        return false;
    }
    if (FAILED(m_device->SetDataFormat(&c_dfDIKeyboard)) ||
        FAILED(m_device->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY)))
        return false;
    m_device->Acquire(); // may fail while the window is in the background
    m_keys.Clear();
    return true;
}

uint32_t CDIKeyboard::GetKey(uint32_t code) {
    int scanCode = 0;
    uint32_t tag = 0;
    if (!SplitKeyCode(code, scanCode, tag))
        return 0;
    return m_keys.KeyWord(scanCode, tag);
}

void CDIKeyboard::Update() {
    m_keys.BeginRead();
    if (FAILED(m_device->GetDeviceState(CKeyStates::KEY_COUNT, m_keys.Current()))) {
        ReacquireInputDevice(m_device);
        m_keys.Clear();
    }
}

void CDIKeyboard::OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (ClassifyFocusMessage(message, wParam)) {
    case FC_ACTIVATED:
        m_device->Acquire();
        m_keys.Clear();
        break;
    case FC_DEACTIVATED:
    case FC_MENU_ENTER: m_keys.Clear(); break;
    default: break;
    }
}
