#pragma once
#include <dinput.h>

#include "engine/input/DIMouseState.h"
#include "engine/input/Pointer.h"

// The pointer read through DirectInput 8 from its buffered records. The axis
// filters belong to whoever passed them in; the mouse only calls them.
class CDIMouse : public CPointer {
public:
    static constexpr DWORD BUFFER_RECORDS = 16;

    CDIMouse(IDirectInput8A* directInput, CAxisFilter* filterX, CAxisFilter* filterY, CAxisFilter* filterWheel);
    ~CDIMouse() override;

    // Opens the system mouse for the window; false leaves it unusable.
    bool Open(HWND window);

    uint32_t GetButton(int index) override { return m_state.GetButton(index); }
    AxisPair GetAxis(int index) override { return m_state.GetAxis(index); }
    void SetAxis(int index, int32_t value) override { m_state.SetAxis(index, value); }
    void Update() override;
    void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    IDirectInput8A* m_directInput;
    IDirectInputDevice8A* m_device = nullptr;
    CDIMouseState m_state;
};
