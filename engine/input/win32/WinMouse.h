#pragma once
#include "engine/input/Pointer.h"
#include "engine/input/WinMouseState.h"

// The pointer read from the window's mouse messages; each update also checks
// that the cursor is still over the client area, else nothing is held.
class CWinMouse : public CPointer {
public:
    explicit CWinMouse(void* window) : m_window(window) {}

    uint32_t GetButton(int index) override { return m_state.GetButton(index); }
    AxisPair GetAxis(int index) override { return m_state.GetAxis(index); }
    void SetAxis(int index, int32_t value) override {}
    void Update() override;
    void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        m_state.OnMessage(message, wParam, lParam);
    }

private:
    void* m_window;
    CWinMouseState m_state;
};
