#pragma once
#include <cstdint>

// The values the input devices hand out. Every key and button has three
// states: down now, went down since the previous update, went up since it.

enum PointerButton : int {
    PB_LEFT = 0,
    PB_RIGHT = 1,
    PB_MIDDLE = 2,
    PB_COUNT = 3,
};

enum PointerAxis : int {
    PA_X = 0,
    PA_Y = 1,
    PA_WHEEL = 2,
    PA_COUNT = 3,
};

struct ButtonRecord {
    uint8_t down;
    uint8_t pressed;
    uint8_t released;
};

struct AxisPair {
    int32_t value;
    int32_t delta;
};

// A button query's word: byte 0 down, byte 1 pressed, byte 2 released.
inline uint32_t PackButton(const ButtonRecord& b) {
    return uint32_t(b.down) | uint32_t(b.pressed) << 8 | uint32_t(b.released) << 16;
}

inline bool KeyDown(uint32_t word) { return (word & 0xFF) != 0; }
inline bool KeyPressed(uint32_t word) { return (word >> 8 & 0xFF) != 0; }
inline bool KeyReleased(uint32_t word) { return (word >> 16 & 0xFF) != 0; }
