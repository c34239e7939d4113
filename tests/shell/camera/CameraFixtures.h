#pragma once
// Scripted input, the settings fake and a manager to drive through whole
// updates, for the camera tests.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "engine/input/Keyboard.h"
#include "engine/input/Pointer.h"
#include "shell/camera/CameraInput.h"
#include "shell/camera/CameraManager.h"
#include "tests/shell/support/FakeSetting.h"

// Holds what a test sets until it changes it: keys down, button 0 down,
// axis deltas of the coming update.
class ScriptedInput : public ICameraInput {
public:
    class Keys : public CKeyboard {
    public:
        uint32_t GetKey(uint32_t code) override { return down.count(code) ? 1u : 0u; }
        std::set<uint32_t> down;
    };
    class Mouse : public CPointer {
    public:
        uint32_t GetButton(int index) override {
            return index >= 0 && index < PB_COUNT ? PackButton(ButtonRecord{buttons[index], 0, 0}) : 0u;
        }
        AxisPair GetAxis(int index) override {
            return index >= 0 && index < PA_COUNT ? AxisPair{0, deltas[index]} : AxisPair{0, 0};
        }
        void SetAxis(int, int32_t) override {}
        uint8_t buttons[PB_COUNT] = {0, 0, 0};
        int32_t deltas[PA_COUNT] = {0, 0, 0};
    };

    CKeyboard* GetKeyboard() override { return &keys; }
    CPointer* GetPointer() override { return &mouse; }

    void Drag(int32_t dx, int32_t dy) {
        mouse.buttons[PB_LEFT] = 1;
        mouse.deltas[PA_X] = dx;
        mouse.deltas[PA_Y] = dy;
        mouse.deltas[PA_WHEEL] = 0;
    }
    void Wheel(int32_t delta) { mouse.deltas[PA_WHEEL] = delta; }
    void Release() {
        mouse.buttons[PB_LEFT] = 0;
        mouse.buttons[PB_RIGHT] = 0;
        for (int32_t& d : mouse.deltas)
            d = 0;
    }

    Keys keys;
    Mouse mouse;
};

// Only the camera switch is read.
struct CameraSetting : FakeSetting {
    explicit CameraSetting(bool automatic) { cameraAuto = automatic; }
};

const float STEP_MS = 16.666666f;

// A manager named "camera" with the render manager's lens for 640 x 480.
struct CameraRig {
    explicit CameraRig(bool automatic = true) : setting(automatic), manager(&setting, "camera") {
        manager.SetInput(&input);
        manager.SetLens(640.0f / 480.0f, 100.0f, 10000.0f);
    }

    // One update with the given points queued, as the character and the show
    // hand them over.
    void Frame(const std::vector<Vec3>& focus, bool inCameraZone = true, float dt = STEP_MS) {
        for (const Vec3& point : focus)
            manager.AddFocusPoint(point, 100.0f);
        manager.Update(dt, inCameraZone);
    }
    // Frames for about that many milliseconds.
    void Frames(float ms, const std::vector<Vec3>& focus, bool inCameraZone = true) {
        for (float t = 0.0f; t < ms; t += STEP_MS)
            Frame(focus, inCameraZone);
    }
    std::string State() {
        const char* name = manager.GetAutoCamera().GetStateName();
        return name ? name : "";
    }

    ScriptedInput input;
    CameraSetting setting;
    CCameraManager manager;
};

struct CameraManagerTest : ::testing::Test, CameraRig {};

struct ManualCameraManagerTest : ::testing::Test, CameraRig {
    ManualCameraManagerTest() : CameraRig(false) {}
};

// The console's way in: the named object's handler, by registry lookup.
inline std::string Command(const std::string& object, const std::string& word,
                           const std::vector<std::string>& args = {}, bool* handled = nullptr) {
    auto it = ConsoleObjectRegistry().find(object);
    if (it == ConsoleObjectRegistry().end()) {
        ADD_FAILURE() << "no object named " << object;
        return "";
    }
    std::ostringstream out;
    const bool taken = it->second->HandleCommand(out, word, args);
    if (handled)
        *handled = taken;
    return out.str();
}

inline float Distance(const Vec3& a, const Vec3& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}
