#include "engine/input/WinMouseState.h"

#include <cstring>

#include "engine/input/WindowMessages.h"

CWinMouseState::CWinMouseState() {
    std::memset(m_buttons, 0, sizeof m_buttons);
    std::memset(m_axes, 0, sizeof m_axes);
    std::memset(m_pendingButtons, 0, sizeof m_pendingButtons);
    m_pendingX = m_pendingY = m_pendingWheel = 0;
}

void CWinMouseState::Press(int button) {
    ButtonRecord& b = m_pendingButtons[button];
    if (!b.down)
        b.pressed = 1;
    b.down = 1;
}

void CWinMouseState::Lift(int button) {
    ButtonRecord& b = m_pendingButtons[button];
    if (b.down)
        b.released = 1;
    b.down = 0;
}

void CWinMouseState::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case IM_MOUSEMOVE:
        m_pendingX = LowWord(uintptr_t(lParam));
        m_pendingY = HighWord(uintptr_t(lParam));
        break;
    case IM_LBUTTONDOWN:
    case IM_NCLBUTTONDOWN: Press(PB_LEFT); break;
    case IM_LBUTTONUP:
    case IM_NCLBUTTONUP: Lift(PB_LEFT); break;
    case IM_RBUTTONDOWN:
    case IM_NCRBUTTONDOWN: Press(PB_RIGHT); break;
    case IM_RBUTTONUP:
    case IM_NCRBUTTONUP: Lift(PB_RIGHT); break;
    case IM_MBUTTONDOWN:
    case IM_NCMBUTTONDOWN: Press(PB_MIDDLE); break;
    case IM_MBUTTONUP:
    case IM_NCMBUTTONUP: Lift(PB_MIDDLE); break;
    case IM_MOUSEWHEEL: m_pendingWheel = int16_t(HighWord(wParam)); break;
    default: break;
    }
}

void CWinMouseState::Update(bool insideClient) {
    if (!insideClient)
        std::memset(m_pendingButtons, 0, sizeof m_pendingButtons);
    for (int i = 0; i < PB_COUNT; ++i) {
        ButtonRecord& pending = m_pendingButtons[i];
        ButtonRecord& seen = m_buttons[i];
        seen = pending;
        // A press and a release within one step read as down for that step.
        if (pending.pressed || pending.released)
            seen.down = pending.pressed;
        pending.pressed = 0;
        pending.released = 0;
    }
    m_axes[PA_X].delta = m_pendingX - m_axes[PA_X].value;
    m_axes[PA_X].value = m_pendingX;
    m_axes[PA_Y].delta = m_pendingY - m_axes[PA_Y].value;
    m_axes[PA_Y].value = m_pendingY;
    m_axes[PA_WHEEL].delta = m_pendingWheel;
    m_axes[PA_WHEEL].value = int32_t(uint32_t(m_axes[PA_WHEEL].value) + uint32_t(m_pendingWheel));
    m_pendingWheel = 0;
}

uint32_t CWinMouseState::GetButton(int index) const {
    if (index < 0 || index >= PB_COUNT)
        return 0;
    return PackButton(m_buttons[index]);
}

AxisPair CWinMouseState::GetAxis(int index) const {
    if (index < 0 || index >= PA_COUNT)
        return AxisPair{0, 0};
    return m_axes[index];
}
