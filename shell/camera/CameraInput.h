#pragma once

class CKeyboard;
class CPointer;

// Where the camera controls read the keyboard and the pointer. The devices
// are asked for at every use, since the input manager may replace them; a
// null answer reads as a device that reports nothing.
class ICameraInput {
public:
    virtual ~ICameraInput() = default;
    virtual CKeyboard* GetKeyboard() = 0;
    virtual CPointer* GetPointer() = 0;
};

// Scan codes the camera controls read.
constexpr unsigned CAMERA_KEY_LSHIFT = 0x2A;
constexpr unsigned CAMERA_KEY_RSHIFT = 0x36;
constexpr unsigned CAMERA_KEY_ORBIT = 0x18; // O
constexpr unsigned CAMERA_KEY_PAN = 0x2C;   // Z
constexpr unsigned CAMERA_KEY_PUSH = 0x19;  // P
