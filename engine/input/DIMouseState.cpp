#include "engine/input/DIMouseState.h"

#include <cstring>

#include "engine/input/Pointer.h"

CDIMouseState::CDIMouseState(CAxisFilter* filterX, CAxisFilter* filterY, CAxisFilter* filterWheel, bool swapButtons)
    : m_filters{filterX, filterY, filterWheel},
      m_swapButtons(swapButtons) {
    Clear();
}

void CDIMouseState::Clear() {
    std::memset(m_buttons, 0, sizeof m_buttons);
    std::memset(m_axes, 0, sizeof m_axes);
}

void CDIMouseState::BeginUpdate() {
    for (ButtonRecord& b : m_buttons)
        b.pressed = b.released = 0;
    for (AxisPair& a : m_axes)
        a.delta = 0;
}

void CDIMouseState::ApplyRecord(uint32_t offset, uint32_t data) {
    if (offset == OFFSET_X || offset == OFFSET_Y || offset == OFFSET_Z) {
        AxisPair& a = m_axes[offset / 4];
        a.delta = int32_t(uint32_t(a.delta) + data);
        return;
    }
    if (offset < OFFSET_BUTTON0 || offset >= OFFSET_BUTTON0 + PB_COUNT)
        return;
    ButtonRecord& b = m_buttons[offset - OFFSET_BUTTON0];
    bool before = b.down != 0;
    bool now = (data & 0x80) != 0;
    b.down = now;
    // Several records may arrive in one update; a click must keep both edges.
    if (!before && now)
        b.pressed = 1;
    if (before && !now)
        b.released = 1;
}

void CDIMouseState::EndUpdate() {
    for (int i = 0; i < PA_COUNT; ++i)
        if (m_filters[i])
            m_axes[i].value = m_filters[i]->Filter(m_axes[i].value, m_axes[i].delta);
}

uint32_t CDIMouseState::GetButton(int index) const {
    if (index < 0 || index >= PB_COUNT)
        return 0;
    if (m_swapButtons && index < 2)
        index = 1 - index;
    return PackButton(m_buttons[index]);
}

AxisPair CDIMouseState::GetAxis(int index) const {
    if (index < 0 || index >= PA_COUNT)
        return AxisPair{0, 0};
    return m_axes[index];
}

void CDIMouseState::SetAxis(int index, int32_t value) {
    if (index < 0 || index >= PA_COUNT)
        return;
    m_axes[index].value = m_filters[index] ? m_filters[index]->Filter(value, 0) : value;
}
