#pragma once
#include <string>

#include "engine/console/PropertyParser.h"
#include "shell/camera/CameraSprings.h"
#include "shell/statemachine/StateMachine.h"

class CAutoCamera;

constexpr const char* TRACK_STATE_NAME = "Track";
constexpr const char* WAIT_STATE_NAME = "Wait";
constexpr const char* OVERLOOK_STATE_NAME = "Overlook";

// A state of the automatic camera. It works on its owner's sprung distance
// and target with its own spring values; its tunable values answer their
// keywords through a named object of their own. Owned by the owner's state
// machine.
class CAutoCameraState : public CMachineState {
public:
    CAutoCameraState(const char* stateName, CAutoCamera* owner, const SpringTuning& springs)
        : CMachineState(stateName),
          m_owner(owner),
          m_springs(springs) {}

    const SpringTuning& GetSprings() const { return m_springs; }

protected:
    // Asks for another state; the false lets it run in this same step.
    static bool GoTo(CStateMachine& machine, const char* name) {
        machine.Goto(name);
        return false;
    }
    // The keywords of a state: its own, then the eight spring values.
    std::vector<FloatProperty> SpringProperties(std::vector<FloatProperty> own);
    bool StepDist(float goal);
    bool StepTarget(const Vec3& goal, const Vec3& prevGoal);

    CAutoCamera* m_owner;
    SpringTuning m_springs;
};

// Follows the focus; goes to Wait after stopTimeConst of stillness and to
// Overlook when the focus splits, is lost or runs.
class CTrackState : public CAutoCameraState {
public:
    CTrackState(CAutoCamera* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;

    float GetStopTimer() const { return m_stopTimer; }

private:
    float m_moveTimer = 0.0f;
    float m_lostTimer = 0.0f;
    float m_stopTimer = 0.0f;
    float m_stopTimeConst = 4000.0f;
    CFloatPropertyObject m_console;
};

// Holds still and zooms in; re-aims only when the focus leaves the inner
// circle of the picture, and tracks again when it leaves the outer one.
class CWaitState : public CAutoCameraState {
public:
    CWaitState(CAutoCamera* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;

    bool IsFollowing() const { return m_following; }

private:
    bool m_following = true;
    float m_moveTimer = 0.0f;
    float m_lostTimer = 0.0f;
    float m_waitTimer = 0.0f;
    float m_waitTime = 5000.0f;
    float m_waitArea1 = 0.2f;
    float m_waitArea2 = 0.4f;
    CFloatPropertyObject m_console;
};

// Backs off to see the whole room; tracks again after timeConst with one
// slow focus.
class COverlookState : public CAutoCameraState {
public:
    COverlookState(CAutoCamera* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;

private:
    float m_timer = 0.0f;
    float m_timeConst = 4000.0f;
    CFloatPropertyObject m_console;
};
