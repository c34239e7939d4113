#include "engine/input/KeyStates.h"

#include <cstring>

void CKeyStates::Advance(const uint8_t* fresh) {
    std::memcpy(m_previous, m_current, KEY_COUNT);
    std::memcpy(m_current, fresh, KEY_COUNT);
}

void CKeyStates::BeginRead() {
    std::memcpy(m_previous, m_current, KEY_COUNT);
    std::memset(m_current, 0, KEY_COUNT);
}

void CKeyStates::Clear() {
    std::memset(m_current, 0, KEY_COUNT);
    std::memset(m_previous, 0, KEY_COUNT);
}

uint32_t CKeyStates::KeyWord(int index, uint32_t tag) const {
    if (index < 0 || index >= KEY_COUNT)
        return 0;
    bool now = (m_current[index] & 0x80) != 0;
    bool before = (m_previous[index] & 0x80) != 0;
    uint32_t word = now ? 1u : 0u;
    if (now && !before)
        word |= 1u << 8;
    if (!now && before)
        word |= 1u << 16;
    return word | (tag & 0xFFu) << 24;
}

bool SplitKeyCode(uint32_t code, int& scanCode, uint32_t& tag) {
    if (code & 0x00FFFF00u)
        return false;
    scanCode = int(code & 0xFFu);
    tag = code >> 24;
    return true;
}
