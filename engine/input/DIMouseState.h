#pragma once
#include <cstdint>

#include "engine/input/InputTypes.h"

class CAxisFilter;

// The DirectInput pointer's state, built from the device's buffered records
// (an offset into the mouse state and its data). The axis filters are not
// owned; an axis without one keeps its value and reports only its delta.
class CDIMouseState {
public:
    // Offsets of the mouse state's fields, as the device reports them.
    enum : uint32_t {
        OFFSET_X = 0,
        OFFSET_Y = 4,
        OFFSET_Z = 8,
        OFFSET_BUTTON0 = 12,
    };

    CDIMouseState(CAxisFilter* filterX, CAxisFilter* filterY, CAxisFilter* filterWheel, bool swapButtons);

    // Starts an update: pressed, released and deltas back to 0.
    void BeginUpdate();
    void ApplyRecord(uint32_t offset, uint32_t data);
    // Ends an update: each filtered axis takes Filter(value, delta).
    void EndUpdate();
    // A failed read: nothing held, moved or pressed.
    void Clear();

    // With swapped buttons the primary (left-hand) button still reads as 0.
    uint32_t GetButton(int index) const;
    AxisPair GetAxis(int index) const;
    void SetAxis(int index, int32_t value);

private:
    ButtonRecord m_buttons[PB_COUNT];
    AxisPair m_axes[PA_COUNT];
    CAxisFilter* m_filters[PA_COUNT];
    bool m_swapButtons;
};
