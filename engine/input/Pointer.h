#pragma once
#include <cstdint>

#include "engine/input/InputTypes.h"

// One pointing device, polled once per fixed-step update: three buttons
// (PointerButton) and three axes (PointerAxis). Indices outside them read 0.
class CPointer {
public:
    virtual uint32_t GetButton(int index) = 0;
    virtual AxisPair GetAxis(int index) = 0;
    virtual void SetAxis(int index, int32_t value) = 0;
    virtual ~CPointer() = default;
    virtual void Update() {}
    virtual void OnMessage(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {}
};

// Reports nothing: buttons 0, axes (0, 0).
class CNullPointer : public CPointer {
public:
    uint32_t GetButton(int index) override { return 0; }
    AxisPair GetAxis(int index) override { return AxisPair{0, 0}; }
    void SetAxis(int index, int32_t value) override {}
};

// Shapes an axis of the DirectInput mouse from its relative motion (a
// clamp to the screen, a scale ...). Owned by whoever created the input.
class CAxisFilter {
public:
    virtual ~CAxisFilter() = default;
    virtual int32_t Filter(int32_t value, int32_t delta) = 0;
};
