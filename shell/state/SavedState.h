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

// The camera body's own start: what stands in for a camera that is not usable.
const float SAVED_CAMERA_DEFAULT_DISTANCE = 1200.0f;

struct CSavedState {
    float cameraDistance = 0.0f;
    float cameraInterest[3] = {0.0f, 0.0f, 0.0f}; // x, y, z
    // False after a load whose camera values were not finite: the camera
    // fields then hold the defaults and the holder keeps its own camera.
    bool hasCamera = true;
    uint32_t money = 0;
    std::vector<CSavedItem> items; // written in ascending byte order of the names
};

// True when the record carries a camera and all four of its values are finite.
bool HasUsableCamera(const CSavedState& state);
// Puts the default camera (distance 1200, interest point at the origin) in the record.
void SetDefaultCamera(CSavedState& state);

// The owner of the live objects that the state file describes (the system
// object). Capture fills a record for saving; Restore applies a record that
// has been read and checked as a whole.
class IStateHolder {
public:
    virtual ~IStateHolder() {}
    virtual void CaptureState(CSavedState& state) = 0;
    virtual void RestoreState(const CSavedState& state, uint32_t version) = 0;
};
