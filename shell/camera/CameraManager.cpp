#include "shell/camera/CameraManager.h"

#include "shell/settings/Setting.h"
#include "shell/state/SavedState.h"

namespace {

enum CameraMode {
    CM_NONE = -1,
    CM_MANUAL = 0,
    CM_AUTO = 1,
};

} // namespace

CCameraManager::CCameraManager(ISetting* settings, const std::string& name)
    : ICameraManager(name),
      m_body(name + "_camera"),
      m_limiter(name + "_limiter"),
      m_auto(settings ? settings->IsCameraAuto() : true),
      m_autoCamera(name + "_auto", &m_body, &m_limiter, &m_focusPoints),
      m_manualCamera(name + "_manual", &m_body, &m_limiter) {}

void CCameraManager::Serialize(CSavedState& state, bool storing) {
    if (storing) {
        state.cameraDistance = m_body.GetDistance();
        const Vec3& target = m_body.GetTarget();
        state.cameraInterest[0] = target.x;
        state.cameraInterest[1] = target.y;
        state.cameraInterest[2] = target.z;
        return;
    }
    // Kept inside the room: a distance of 0 or below would give the lens no
    // field of view, and the manual controller leaves the body alone until
    // the user moves it.
    Vec3 target(state.cameraInterest[0], state.cameraInterest[1], state.cameraInterest[2]);
    float distance = state.cameraDistance;
    m_limiter.ClampTarget(target);
    m_limiter.ClampDistance(distance);
    m_body.SetTarget(target, distance);
}

void CCameraManager::AddFocusPoint(const Vec3& position, float weight) {
    m_focusPoints.push_back(FocusPoint{position, weight});
}

void CCameraManager::Update(float dt, bool pointerInCameraZone) {
    const int old = m_mode;
    if (m_auto) {
        if (m_manualCamera.IsPointerActive())
            m_resumeTimer = m_resumeDelay;
        if (m_resumeTimer > 0.0f) {
            m_resumeTimer -= dt;
            m_mode = CM_MANUAL;
        } else {
            m_mode = CM_AUTO;
        }
    } else {
        m_mode = CM_MANUAL;
    }
    if (m_autoCamera.IsLocked())
        m_mode = CM_AUTO;

    if (m_mode == CM_AUTO) {
        if (old != CM_AUTO)
            m_autoCamera.Activate();
        m_autoCamera.Update(dt);
    } else {
        if (old != CM_MANUAL)
            m_manualCamera.Activate();
        m_manualCamera.Update(pointerInCameraZone);
    }
    m_focusPoints.clear();
}

void CCameraManager::SetLens(float aspect, float zNear, float zFar) { m_body.SetLens(aspect, zNear, zFar); }

CCameraResource* CCameraManager::GetView() { return m_body.GetView().GetCamera(); }

void CCameraManager::SetInput(ICameraInput* input) {
    m_manualCamera.SetInput(input);
    m_body.GetView().SetInput(input);
}

ICameraManager* CreateCameraManager(ISetting* settings, const char* name) {
    return new CCameraManager(settings, name ? name : "");
}
