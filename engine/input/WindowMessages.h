#pragma once
#include <cstdint>

// The window messages the input devices look at, by number, so that the logic
// that reads them builds and is tested without the window system's headers.
enum InputMessage : uint32_t {
    IM_ACTIVATE = 0x0006,
    IM_ACTIVATEAPP = 0x001C,
    IM_NCLBUTTONDOWN = 0x00A1,
    IM_NCLBUTTONUP = 0x00A2,
    IM_NCRBUTTONDOWN = 0x00A4,
    IM_NCRBUTTONUP = 0x00A5,
    IM_NCMBUTTONDOWN = 0x00A7,
    IM_NCMBUTTONUP = 0x00A8,
    IM_MOUSEMOVE = 0x0200,
    IM_LBUTTONDOWN = 0x0201,
    IM_LBUTTONUP = 0x0202,
    IM_RBUTTONDOWN = 0x0204,
    IM_RBUTTONUP = 0x0205,
    IM_MBUTTONDOWN = 0x0207,
    IM_MBUTTONUP = 0x0208,
    IM_MOUSEWHEEL = 0x020A,
    IM_ENTERMENULOOP = 0x0211,
    IM_EXITMENULOOP = 0x0212,
};

// What a message means for devices that hold state across updates.
enum FocusChange {
    FC_NONE,
    FC_ACTIVATED,   // the window became active
    FC_DEACTIVATED, // the window or the program lost activation
    FC_MENU_ENTER,
    FC_MENU_EXIT,
};

FocusChange ClassifyFocusMessage(uint32_t message, uintptr_t wParam);

inline uint16_t LowWord(uintptr_t v) { return uint16_t(v & 0xFFFF); }
inline uint16_t HighWord(uintptr_t v) { return uint16_t(v >> 16 & 0xFFFF); }
