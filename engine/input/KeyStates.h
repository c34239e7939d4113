#pragma once
#include <cstdint>

// The current and previous 256-byte key states of a keyboard (a key is down
// while bit 7 of its byte is set), and the key words read from them.
class CKeyStates {
public:
    static constexpr int KEY_COUNT = 256;

    CKeyStates() { Clear(); }

    // previous = current, current = fresh (KEY_COUNT bytes).
    void Advance(const uint8_t* fresh);
    // Starts a new read: previous = current, current all up; the caller fills
    // Current() from the device.
    void BeginRead();
    uint8_t* Current() { return m_current; }
    void Clear();

    // Byte 0 down, byte 1 went down, byte 2 went up, byte 3 = tag passed through.
    uint32_t KeyWord(int index, uint32_t tag) const;

private:
    uint8_t m_current[KEY_COUNT];
    uint8_t m_previous[KEY_COUNT];
};

// A key code is a scan code in the low byte and a tag in the top byte that the
// key word hands back; anything in between makes the code unknown.
bool SplitKeyCode(uint32_t code, int& scanCode, uint32_t& tag);
