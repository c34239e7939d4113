#include "shell/camera/AutoCameraStates.h"

#include "engine/camera/CameraResource.h"
#include "shell/camera/AutoCamera.h"
#include "shell/camera/CameraBody.h"

namespace {

const SpringTuning TRACK_SPRINGS = {10.0f, 0.0008f, 0.0f, 0.0f, 65.0f, 0.002f, 0.0002f, 60.0f};
const SpringTuning WAIT_SPRINGS = {10.0f, 0.001f, 0.0f, 0.0f, 24.0f, 0.0008f, 0.00005f, 20.0f};
const SpringTuning OVERLOOK_SPRINGS = {10.0f, 0.0006f, 0.0f, 0.0f, 10.0f, 0.001f, 0.0002f, 0.0f};

const float WAIT_GOAL_DIST = 800.0f;
const float OVERLOOK_GOAL_DIST = 2700.0f;

} // namespace

std::vector<FloatProperty> CAutoCameraState::SpringProperties(std::vector<FloatProperty> own) {
    const FloatProperty springs[] = {
        {"distStopDelta", &m_springs.distStopDelta},
        {"distSpring", &m_springs.distSpring},
        {"distDamp", &m_springs.distDamp},
        {"distSpringLen", &m_springs.distSpringLen},
        {"tgtStopDelta", &m_springs.tgtStopDelta},
        {"tgtSpring", &m_springs.tgtSpring},
        {"tgtDamp", &m_springs.tgtDamp},
        {"tgtSpringLen", &m_springs.tgtSpringLen},
    };
    own.insert(own.end(), std::begin(springs), std::end(springs));
    return own;
}

bool CAutoCameraState::StepDist(float goal) {
    CAutoCamera& o = *m_owner;
    return SpringStepScalar(o.m_dist, goal, o.m_prevGoalDist, o.m_dt, m_springs.distStopDelta, m_springs.distSpring,
                            m_springs.distDamp, m_springs.distSpringLen);
}

bool CAutoCameraState::StepTarget(const Vec3& goal, const Vec3& prevGoal) {
    CAutoCamera& o = *m_owner;
    return SpringStepVector(o.m_target, goal, prevGoal, o.m_dt, m_springs.tgtStopDelta, m_springs.tgtSpring,
                            m_springs.tgtDamp, m_springs.tgtSpringLen);
}

// Track.

CTrackState::CTrackState(CAutoCamera* owner, const std::string& consoleName)
    : CAutoCameraState(TRACK_STATE_NAME, owner, TRACK_SPRINGS),
      m_console(consoleName, SpringProperties({{"stopTimeConst", &m_stopTimeConst}})) {}

void CTrackState::Enter() {
    m_moveTimer = m_owner->m_overlookTimeConst0;
    m_lostTimer = m_owner->m_overlookTimeConst1;
    m_stopTimer = m_stopTimeConst;
}

bool CTrackState::Update(CStateMachine& machine) {
    CAutoCamera& o = *m_owner;
    if (o.m_locked) {
        o.m_focusCount = o.m_prevFocusCount = 1;
        o.m_focus = o.m_prevFocus = o.m_lockPoint;
        o.m_goalDist = o.m_prevGoalDist = o.m_lockDist;
    }
    if (!o.KeepFocus(m_lostTimer))
        return GoTo(machine, OVERLOOK_STATE_NAME);
    if (!o.m_locked && o.m_focusCount > 0) {
        const float speed = o.FocusSpeed();
        if (speed <= o.m_maxV0)
            m_moveTimer = o.m_overlookTimeConst0;
        else if (m_moveTimer > 0.0f)
            m_moveTimer -= o.m_dt;
        else
            return GoTo(machine, OVERLOOK_STATE_NAME);
    }
    const bool distMoved = StepDist(o.m_goalDist);
    const bool targetMoved = StepTarget(o.m_focus, o.m_prevFocus);
    if (o.m_locked || distMoved || targetMoved) {
        m_stopTimer = m_stopTimeConst;
    } else {
        m_stopTimer -= o.m_dt;
        // Wait starts with the next step.
        if (m_stopTimer <= 0.0f)
            machine.Goto(WAIT_STATE_NAME);
    }
    return true;
}

// Wait.

CWaitState::CWaitState(CAutoCamera* owner, const std::string& consoleName)
    : CAutoCameraState(WAIT_STATE_NAME, owner, WAIT_SPRINGS),
      m_console(
          consoleName,
          SpringProperties({{"waitTime", &m_waitTime}, {"waitArea1", &m_waitArea1}, {"waitArea2", &m_waitArea2}})) {}

void CWaitState::Enter() {
    m_following = true;
    m_moveTimer = m_owner->m_overlookTimeConst0;
    m_lostTimer = m_owner->m_overlookTimeConst1;
    m_waitTimer = m_waitTime;
}

bool CWaitState::Update(CStateMachine& machine) {
    CAutoCamera& o = *m_owner;
    if (m_waitTimer >= 0.0f)
        m_waitTimer -= o.m_dt;
    if (o.m_locked)
        return GoTo(machine, TRACK_STATE_NAME);
    if (!o.KeepFocus(m_lostTimer))
        return GoTo(machine, OVERLOOK_STATE_NAME);
    if (o.m_focusCount > 0) {
        const float speed = o.FocusSpeed();
        if (speed > o.m_maxV0 && m_moveTimer <= 0.0f)
            return GoTo(machine, OVERLOOK_STATE_NAME);
        if (speed <= o.m_maxV1)
            m_moveTimer = o.m_overlookTimeConst0;
        else if (m_waitTimer > 0.0f || m_moveTimer > 0.0f)
            m_moveTimer -= o.m_dt;
        else
            return GoTo(machine, TRACK_STATE_NAME);
    }
    const Vec3 clip = o.m_body->GetView().GetCamera()->ProjectToClip(o.m_focus);
    const float r2 = clip.x * clip.x + clip.y * clip.y;
    if (r2 > m_waitArea2)
        return GoTo(machine, TRACK_STATE_NAME);
    if (r2 > m_waitArea1)
        m_following = true;
    if (m_following && !StepTarget(o.m_focus, o.m_prevFocus))
        m_following = false;
    o.m_goalDist = WAIT_GOAL_DIST;
    StepDist(WAIT_GOAL_DIST);
    return true;
}

// Overlook.

COverlookState::COverlookState(CAutoCamera* owner, const std::string& consoleName)
    : CAutoCameraState(OVERLOOK_STATE_NAME, owner, OVERLOOK_SPRINGS),
      m_console(consoleName, SpringProperties({{"timeConst", &m_timeConst}})) {}

void COverlookState::Enter() { m_timer = m_timeConst; }

bool COverlookState::Update(CStateMachine& machine) {
    CAutoCamera& o = *m_owner;
    m_timer -= o.m_dt;
    if (o.m_locked)
        return GoTo(machine, TRACK_STATE_NAME);
    if (o.m_focusCount == 1 && m_timer <= 0.0f)
        return GoTo(machine, TRACK_STATE_NAME);
    const float speed =
        o.m_focusCount > 0 && o.m_prevFocusCount > 0 ? HorizontalSpeed(o.m_focus, o.m_prevFocus, o.m_dt) : o.m_maxV0;
    if (speed > o.m_maxV0)
        m_timer = m_timeConst;
    o.m_goalDist = OVERLOOK_GOAL_DIST;
    StepDist(OVERLOOK_GOAL_DIST);
    const Vec3 centre(0.0f, 0.0f, 0.0f);
    StepTarget(centre, centre);
    return true;
}
