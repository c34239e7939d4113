#pragma once
#include <cstdint>

#include "engine/input/InputTypes.h"

// The Win32 pointer's state, fed by window messages. Messages fill a pending
// state; Update turns it into what callers see for one step, so that a click
// whose down and up both arrive between two updates still reads as one press.
class CWinMouseState {
public:
    CWinMouseState();

    void OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // insideClient: the cursor is known and lies in the client rectangle;
    // otherwise nothing is held, pressed or released this step.
    void Update(bool insideClient);

    uint32_t GetButton(int index) const;
    AxisPair GetAxis(int index) const;

private:
    void Press(int button);
    void Lift(int button);

    ButtonRecord m_buttons[PB_COUNT];
    AxisPair m_axes[PA_COUNT];
    ButtonRecord m_pendingButtons[PB_COUNT];
    int32_t m_pendingX;
    int32_t m_pendingY;
    int32_t m_pendingWheel;
};
