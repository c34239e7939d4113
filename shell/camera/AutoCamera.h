#pragma once
#include <string>

#include "engine/console/ConsoleObject.h"
#include "engine/math/Vec3.h"
#include "shell/camera/FocusPoint.h"
#include "shell/statemachine/StateMachine.h"

class CCameraBody;
class CCameraLimiter;

// The automatic controller: it averages the focus points of the frame and
// moves a sprung distance and target toward them through three states,
// Track (follow), Wait (hold still and zoom in) and Overlook (back off to
// see the whole room), then hands them, clamped, to the body. Owned by the
// camera manager, like the body, limiter and focus list it points at.
class CAutoCamera : public CConsoleObject {
public:
    CAutoCamera(const std::string& name, CCameraBody* body, CCameraLimiter* limiter, const FocusPointList* focusPoints);

    // "maxV0", "maxV1", "overlookTimeConst0", "overlookTimeConst1"; any
    // other word lists them.
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // Takes over from wherever the body is, starting in Track.
    void Activate();
    void Update(float dt);
    // The average of this frame's points inside the limiter's box and how
    // many they were; an empty list leaves out as it was.
    int GatherFocus(Vec3& out) const;

    void Lock(const Vec3& point, float distance);
    void Unlock() { m_locked = false; }
    bool IsLocked() const { return m_locked; }

    CStateMachine& GetMachine() { return m_machine; }
    // Null before the first step.
    const char* GetStateName() const;
    float GetDist() const { return m_dist; }
    const Vec3& GetTarget() const { return m_target; }
    float GetGoalDist() const { return m_goalDist; }
    int GetFocusCount() const { return m_focusCount; }
    const Vec3& GetFocus() const { return m_focus; }

private:
    friend class CAutoCameraState;
    friend class CTrackState;
    friend class CWaitState;
    friend class COverlookState;

    // The bookkeeping at the start of Track and Wait: false when the camera
    // must overlook (several points, or the one it had lost for too long).
    bool KeepFocus(float& lostTimer);
    // How fast the focus moves, 0 without a previous one.
    float FocusSpeed() const;

    CCameraBody* m_body;
    CCameraLimiter* m_limiter;
    const FocusPointList* m_focusPoints;
    float m_dt = 0.0f;
    float m_goalDist = 1800.0f;
    float m_prevGoalDist = 1800.0f;
    int m_focusCount = 0;
    Vec3 m_focus;
    int m_prevFocusCount = 0;
    Vec3 m_prevFocus;
    float m_dist = 1800.0f;
    Vec3 m_target;
    float m_maxV0 = 1.6f;
    float m_maxV1 = 1.0f;
    float m_overlookTimeConst0 = 100.0f;
    float m_overlookTimeConst1 = 3000.0f;
    bool m_locked = false;
    Vec3 m_lockPoint;
    float m_lockDist = 0.0f;
    CStateMachine m_machine;
};
