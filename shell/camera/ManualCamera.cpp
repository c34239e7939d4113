#include "shell/camera/ManualCamera.h"

#include <cmath>

#include "engine/input/Keyboard.h"
#include "engine/input/Pointer.h"
#include "engine/math/Geometry2D.h"
#include "shell/camera/CameraBody.h"
#include "shell/camera/CameraInput.h"
#include "shell/camera/CameraLimiter.h"

namespace {

// Radians per pointer unit of a turn; distance per unit of a shift-drag.
const float TURN_STEP = 0.004f;
const float ZOOM_STEP = 2.0f;

} // namespace

CManualCamera::CManualCamera(const std::string& name, CCameraBody* body, CCameraLimiter* limiter)
    : CConsoleObject(name),
      m_body(body),
      m_limiter(limiter) {}

bool CManualCamera::IsPointerActive() const {
    CPointer* pointer = m_input ? m_input->GetPointer() : nullptr;
    if (!pointer)
        return false;
    return KeyDown(pointer->GetButton(PB_LEFT)) || pointer->GetAxis(PA_WHEEL).delta != 0;
}

void CManualCamera::Activate() {
    const Vec3& eye = m_body->GetEye();
    const Vec3& target = m_body->GetTarget();
    m_radius = Vec3(target.x - eye.x, target.y - eye.y, target.z - eye.z).Length();
}

void CManualCamera::Update(bool pointerInCameraZone) {
    CPointer* pointer = m_input ? m_input->GetPointer() : nullptr;
    if (!pointer)
        return;
    CKeyboard* keyboard = m_input->GetKeyboard();
    float dist = m_body->GetDistance();
    Vec3 target = m_body->GetTarget();
    const int32_t dx = pointer->GetAxis(PA_X).delta;
    const int32_t dy = pointer->GetAxis(PA_Y).delta;
    const int32_t wheel = pointer->GetAxis(PA_WHEEL).delta;
    const bool dragging = pointerInCameraZone && KeyDown(pointer->GetButton(PB_LEFT)) && (dx != 0 || dy != 0);

    if (!dragging) {
        if (wheel == 0)
            return;
        dist += (float)wheel;
    } else if (keyboard &&
               (KeyDown(keyboard->GetKey(CAMERA_KEY_LSHIFT)) || KeyDown(keyboard->GetKey(CAMERA_KEY_RSHIFT)))) {
        dist -= (float)dy * ZOOM_STEP;
    } else {
        const Vec3& eye = m_body->GetEye();
        float pitch, yaw;
        DirectionToPitchYaw(pitch, yaw, Vec3(target.x - eye.x, target.y - eye.y, target.z - eye.z));
        pitch += (float)dy * TURN_STEP;
        yaw -= (float)dx * TURN_STEP;
        target = Vec3(eye.x + m_radius * std::cos(pitch) * std::sin(yaw), eye.y - m_radius * std::sin(pitch),
                      eye.z + m_radius * std::cos(pitch) * std::cos(yaw));
    }
    m_limiter->ClampTarget(target);
    m_limiter->ClampDistance(dist);
    m_body->SetTarget(target, dist);
}
