#include "engine/input/ScanCodeTable.h"

// The mapped keys, scan code and virtual key. Every scan code not listed
// (punctuation, DIK_MULTIPLY, DIK_CAPITAL and the rest) maps to 0.
namespace {

struct ScanCodeRow {
    uint8_t scanCode;
    uint8_t virtualKey;
};

constexpr ScanCodeRow SCAN_CODE_ROWS[] = {
    {0x01, 0x1B}, // DIK_ESCAPE      VK_ESCAPE
    {0x02, '1'},  // DIK_1
    {0x03, '2'},  // DIK_2
    {0x04, '3'},  // DIK_3
    {0x05, '4'},  // DIK_4
    {0x06, '5'},  // DIK_5
    {0x07, '6'},  // DIK_6
    {0x08, '7'},  // DIK_7
    {0x09, '8'},  // DIK_8
    {0x0A, '9'},  // DIK_9
    {0x0B, '0'},  // DIK_0
    {0x0E, 0x08}, // DIK_BACK        VK_BACK
    {0x0F, 0x09}, // DIK_TAB         VK_TAB
    {0x10, 'Q'},  // DIK_Q
    {0x11, 'W'},  // DIK_W
    {0x12, 'E'},  // DIK_E
    {0x13, 'R'},  // DIK_R
    {0x14, 'T'},  // DIK_T
    {0x15, 'Y'},  // DIK_Y
    {0x16, 'U'},  // DIK_U
    {0x17, 'I'},  // DIK_I
    {0x18, 'O'},  // DIK_O
    {0x19, 'P'},  // DIK_P
    {0x1C, 0x0D}, // DIK_RETURN      VK_RETURN
    {0x1D, 0xA2}, // DIK_LCONTROL    VK_LCONTROL
    {0x1E, 'A'},  // DIK_A
    {0x1F, 'S'},  // DIK_S
    {0x20, 'D'},  // DIK_D
    {0x21, 'F'},  // DIK_F
    {0x22, 'G'},  // DIK_G
    {0x23, 'H'},  // DIK_H
    {0x24, 'J'},  // DIK_J
    {0x25, 'K'},  // DIK_K
    {0x26, 'L'},  // DIK_L
    {0x2A, 0xA0}, // DIK_LSHIFT      VK_LSHIFT
    {0x2C, 'Z'},  // DIK_Z
    {0x2D, 'X'},  // DIK_X
    {0x2E, 'C'},  // DIK_C
    {0x2F, 'V'},  // DIK_V
    {0x30, 'B'},  // DIK_B
    {0x31, 'N'},  // DIK_N
    {0x32, 'M'},  // DIK_M
    {0x36, 0xA1}, // DIK_RSHIFT      VK_RSHIFT
    {0x38, 0xA4}, // DIK_LMENU       VK_LMENU
    {0x39, 0x20}, // DIK_SPACE       VK_SPACE
    {0x3B, 0x70}, // DIK_F1          VK_F1
    {0x3C, 0x71}, // DIK_F2          VK_F2
    {0x3D, 0x72}, // DIK_F3          VK_F3
    {0x3E, 0x73}, // DIK_F4          VK_F4
    {0x3F, 0x74}, // DIK_F5          VK_F5
    {0x40, 0x75}, // DIK_F6          VK_F6
    {0x41, 0x76}, // DIK_F7          VK_F7
    {0x42, 0x77}, // DIK_F8          VK_F8
    {0x43, 0x78}, // DIK_F9          VK_F9
    {0x44, 0x79}, // DIK_F10         VK_F10
    {0x45, 0x90}, // DIK_NUMLOCK     VK_NUMLOCK
    {0x46, 0x91}, // DIK_SCROLL      VK_SCROLL
    {0x47, 0x67}, // DIK_NUMPAD7     VK_NUMPAD7
    {0x48, 0x68}, // DIK_NUMPAD8     VK_NUMPAD8
    {0x49, 0x69}, // DIK_NUMPAD9     VK_NUMPAD9
    {0x4A, 0x6D}, // DIK_SUBTRACT    VK_SUBTRACT
    {0x4B, 0x64}, // DIK_NUMPAD4     VK_NUMPAD4
    {0x4C, 0x65}, // DIK_NUMPAD5     VK_NUMPAD5
    {0x4D, 0x66}, // DIK_NUMPAD6     VK_NUMPAD6
    {0x4E, 0x6B}, // DIK_ADD         VK_ADD
    {0x4F, 0x61}, // DIK_NUMPAD1     VK_NUMPAD1
    {0x50, 0x62}, // DIK_NUMPAD2     VK_NUMPAD2
    {0x51, 0x63}, // DIK_NUMPAD3     VK_NUMPAD3
    {0x52, 0x60}, // DIK_NUMPAD0     VK_NUMPAD0
    {0x53, 0x6E}, // DIK_DECIMAL     VK_DECIMAL
    {0x57, 0x7A}, // DIK_F11         VK_F11
    {0x58, 0x7B}, // DIK_F12         VK_F12
    {0x64, 0x7C}, // DIK_F13         VK_F13
    {0x65, 0x7D}, // DIK_F14         VK_F14
    {0x66, 0x7E}, // DIK_F15         VK_F15
    {0x70, 0x15}, // DIK_KANA        VK_KANA
    {0x79, 0x1C}, // DIK_CONVERT     VK_CONVERT
    {0x7B, 0x1D}, // DIK_NOCONVERT   VK_NONCONVERT
    {0x94, 0x19}, // DIK_KANJI       VK_KANJI
    {0x9C, 0x0D}, // DIK_NUMPADENTER VK_RETURN
    {0x9D, 0xA3}, // DIK_RCONTROL    VK_RCONTROL
    {0xB5, 0x6F}, // DIK_DIVIDE      VK_DIVIDE
    {0xB8, 0xA5}, // DIK_RMENU       VK_RMENU
    {0xC5, 0x13}, // DIK_PAUSE       VK_PAUSE
    {0xC7, 0x24}, // DIK_HOME        VK_HOME
    {0xC8, 0x26}, // DIK_UP          VK_UP
    {0xC9, 0x21}, // DIK_PRIOR       VK_PRIOR
    {0xCB, 0x25}, // DIK_LEFT        VK_LEFT
    {0xCD, 0x27}, // DIK_RIGHT       VK_RIGHT
    {0xCF, 0x23}, // DIK_END         VK_END
    {0xD0, 0x28}, // DIK_DOWN        VK_DOWN
    {0xD1, 0x22}, // DIK_NEXT        VK_NEXT
    {0xD2, 0x2D}, // DIK_INSERT      VK_INSERT
    {0xD3, 0x2E}, // DIK_DELETE      VK_DELETE
    {0xDB, 0x5B}, // DIK_LWIN        VK_LWIN
    {0xDC, 0x5C}, // DIK_RWIN        VK_RWIN
    {0xDD, 0x5D}, // DIK_APPS        VK_APPS
};

struct ScanCodeMap {
    uint8_t virtualKey[256] = {};
    constexpr ScanCodeMap() {
        for (const ScanCodeRow& row : SCAN_CODE_ROWS)
            virtualKey[row.scanCode] = row.virtualKey;
    }
};

constexpr ScanCodeMap SCAN_CODE_MAP;

} // namespace

uint8_t ScanCodeToVirtualKey(int scanCode) {
    if (scanCode < 0 || scanCode > 255)
        return 0;
    return SCAN_CODE_MAP.virtualKey[scanCode];
}
