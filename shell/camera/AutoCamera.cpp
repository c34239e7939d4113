#include "shell/camera/AutoCamera.h"

#include "engine/console/PropertyParser.h"
#include "shell/camera/AutoCameraStates.h"
#include "shell/camera/CameraBody.h"
#include "shell/camera/CameraLimiter.h"
#include "shell/camera/CameraSprings.h"

namespace {

// The distance goal of Track; Wait and Overlook set their own.
const float TRACK_GOAL_DIST = 1200.0f;

} // namespace

CAutoCamera::CAutoCamera(const std::string& name, CCameraBody* body, CCameraLimiter* limiter,
                         const FocusPointList* focusPoints)
    : CConsoleObject(name),
      m_body(body),
      m_limiter(limiter),
      m_focusPoints(focusPoints) {
    m_machine.AddState(new CTrackState(this, name + "_track"));
    m_machine.AddState(new CWaitState(this, name + "_wait"));
    m_machine.AddState(new COverlookState(this, name + "_overlook"));
}

bool CAutoCamera::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    const FloatProperty properties[] = {
        {"maxV0", &m_maxV0},
        {"maxV1", &m_maxV1},
        {"overlookTimeConst0", &m_overlookTimeConst0},
        {"overlookTimeConst1", &m_overlookTimeConst1},
    };
    return ParseFloatProperties(out, properties, command, args);
}

void CAutoCamera::Activate() {
    m_dist = m_body->GetDistance();
    m_target = m_body->GetTarget();
    m_focusCount = 0;
    m_prevFocusCount = 0;
    m_machine.Goto(TRACK_STATE_NAME);
}

void CAutoCamera::Update(float dt) {
    m_dt = dt;
    m_prevFocusCount = m_focusCount;
    m_prevGoalDist = m_goalDist;
    m_prevFocus = m_focus;
    m_goalDist = TRACK_GOAL_DIST;
    m_focusCount = GatherFocus(m_focus);
    m_machine.Step();
    m_limiter->ClampTarget(m_target);
    m_limiter->ClampDistance(m_dist);
    m_body->SetTarget(m_target, m_dist);
}

int CAutoCamera::GatherFocus(Vec3& out) const {
    if (!m_focusPoints || m_focusPoints->empty())
        return 0;
    out = Vec3(0.0f, 0.0f, 0.0f);
    int count = 0;
    for (const FocusPoint& point : *m_focusPoints) {
        if (!m_limiter->Contains(point.position))
            continue;
        out += point.position;
        ++count;
    }
    if (count > 0) {
        out.x /= (float)count;
        out.y /= (float)count;
        out.z /= (float)count;
    }
    return count;
}

void CAutoCamera::Lock(const Vec3& point, float distance) {
    m_locked = true;
    m_lockPoint = point;
    m_lockDist = distance;
}

const char* CAutoCamera::GetStateName() const {
    const CMachineState* state = m_machine.GetCurrentState();
    return state ? state->GetName().c_str() : nullptr;
}

bool CAutoCamera::KeepFocus(float& lostTimer) {
    if (m_focusCount > 1)
        return false;
    if (m_focusCount == 0) {
        if (lostTimer <= 0.0f || m_prevFocusCount == 0)
            return false;
        m_focusCount = m_prevFocusCount;
        m_focus = m_prevFocus;
        lostTimer -= m_dt;
    } else {
        lostTimer = m_overlookTimeConst1;
    }
    return true;
}

float CAutoCamera::FocusSpeed() const {
    return m_prevFocusCount > 0 ? HorizontalSpeed(m_focus, m_prevFocus, m_dt) : 0.0f;
}
