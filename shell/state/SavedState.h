#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the state file keeps between runs, as plain data. The system object
// fills it from the camera, the character's money and the item registry
// before a save, and hands a fully read and checked one back after a load.
struct CSavedItem {
    std::string name;   // code page 932, as the catalogue spells it
    uint32_t stateCode; // 0 never collected, 1 owned, 2 collected before, no longer owned
};

struct CSavedState {
    float cameraDistance = 0.0f;
    float cameraInterest[3] = {0.0f, 0.0f, 0.0f}; // x, y, z
    uint32_t money = 0;
    std::vector<CSavedItem> items; // in the registry's name order
};

// The owner of the live objects that the state file describes (the system
// object). Capture fills a record for saving; Restore applies a record that
// has been read and checked as a whole.
class IStateHolder {
public:
    virtual ~IStateHolder() {}
    virtual void CaptureState(CSavedState& state) = 0;
    virtual void RestoreState(const CSavedState& state, uint32_t version) = 0;
};
