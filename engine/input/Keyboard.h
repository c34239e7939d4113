#pragma once
#include <cstdint>

// One keyboard, polled once per fixed-step update. Keys are named by their
// scan codes; a query answers a key word (see CKeyStates::KeyWord). Window
// messages arrive through OnMessage with the window as an opaque pointer.
class CKeyboard {
public:
    virtual uint32_t GetKey(uint32_t code) = 0;
    virtual ~CKeyboard() = default;
    virtual void Update() {}
    virtual void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {}
};

// Reports nothing.
class CNullKeyboard : public CKeyboard {
public:
    uint32_t GetKey(uint32_t code) override { return 0; }
};
