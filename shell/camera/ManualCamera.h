#pragma once
#include <string>

#include "engine/console/ConsoleObject.h"

class CCameraBody;
class CCameraLimiter;
class ICameraInput;

// The manual controller: dragging with the left button turns the view about
// the eye, shift-drag and the wheel zoom. Owned by the camera manager, like
// the body and limiter it points at. Answers only "select".
class CManualCamera : public CConsoleObject {
public:
    CManualCamera(const std::string& name, CCameraBody* body, CCameraLimiter* limiter);

    void SetInput(ICameraInput* input) { m_input = input; }
    // The left button held or the wheel turned in this update.
    bool IsPointerActive() const;
    // Takes the reach of the turn from the body's eye and target.
    void Activate();
    void Update(bool pointerInCameraZone);

    float GetRadius() const { return m_radius; }

private:
    CCameraBody* m_body;
    CCameraLimiter* m_limiter;
    float m_radius = 2000.0f;
    ICameraInput* m_input = nullptr;
};
