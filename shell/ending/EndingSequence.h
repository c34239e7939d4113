#pragma once
#include <string>

#include "engine/console/PropertyParser.h"
#include "shell/statemachine/StateMachine.h"

class IEndingStage;

constexpr const char* ENDING_ENTRY_STATE_NAME = "ENTRYPOINT";

// Results of one run of the ending.
enum EndingResult {
    ENDING_GO_ON = 0,     // the rest of the update runs as usual
    ENDING_DRAW_ONLY = 1, // the staff roll covers the room: only drawing
    ENDING_FINISHED = 2,  // the ending may be deleted
};

// The ending's six states in order: ENTRYPOINT, Init (smoke under a locked
// camera while the music loads), FadeOut (the picture to black while the
// music starts), EndRoll (the staff roll), FadeIn (back to the room) and
// Exit (the camera released). Each state's tunable times answer through a
// named object of their own, named after the ending with a suffix. The
// states act on the stage, which is not owned.
class CEndingSequence : public CStateMachine {
public:
    CEndingSequence(const std::string& name, IEndingStage* stage);

    // One step of dt milliseconds; the answer is an EndingResult.
    int Run(float dt);
    // Back to the first state (the next run enters it).
    void Restart();

    float GetStep() const { return m_step; }
    void SetResult(int result) { m_result = result; }
    IEndingStage* GetStage() const { return m_stage; }

private:
    IEndingStage* m_stage;
    float m_step = 0.0f;
    int m_result = ENDING_GO_ON;
};

// The states, reachable by index for their tunable values.
class CEndingState : public CMachineState {
public:
    CEndingState(const char* name, CEndingSequence* owner) : CMachineState(name), m_owner(owner) {}

protected:
    IEndingStage& Stage() const { return *m_owner->GetStage(); }
    float Step() const { return m_owner->GetStep(); }

    CEndingSequence* m_owner;
};

class CEndingEntryState : public CEndingState {
public:
    explicit CEndingEntryState(CEndingSequence* owner) : CEndingState(ENDING_ENTRY_STATE_NAME, owner) {}
    bool Update(CStateMachine& machine) override;
};

class CEndingInitState : public CEndingState {
public:
    CEndingInitState(CEndingSequence* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;

    float cameraDist = 1000.0f;
    float counterConst = 21000.0f;
    float counter = 0.0f;

private:
    CFloatPropertyObject m_console;
};

class CEndingFadeOutState : public CEndingState {
public:
    CEndingFadeOutState(CEndingSequence* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;
    void Exit() override;

    float maskStartTime = 3000.0f;
    float maskEndTime = 10000.0f;
    float endTime = 10000.0f;
    float timer = 0.0f;

private:
    CFloatPropertyObject m_console;
};

class CEndingEndRollState : public CEndingState {
public:
    CEndingEndRollState(CEndingSequence* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;
    void Exit() override;

    float animParam = 1.116f;
    int count = 0;

private:
    CFloatPropertyObject m_console;
};

class CEndingFadeInState : public CEndingState {
public:
    CEndingFadeInState(CEndingSequence* owner, const std::string& consoleName);
    void Enter() override;
    bool Update(CStateMachine& machine) override;
    void Exit() override;

    float maskStartTime = 1000.0f;
    float maskEndTime = 4000.0f;
    float timer = 0.0f;

private:
    CFloatPropertyObject m_console;
};

class CEndingExitState : public CEndingState {
public:
    explicit CEndingExitState(CEndingSequence* owner) : CEndingState("Exit", owner) {}
    void Enter() override { count = 0; }
    bool Update(CStateMachine& machine) override;
    void Exit() override;

    int count = 0;
};
