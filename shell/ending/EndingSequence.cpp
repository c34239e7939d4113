#include "shell/ending/EndingSequence.h"

#include <algorithm>

#include "shell/ending/EndingStage.h"

namespace {

const Vec3 LOCK_POINT(0.0f, 100.0f, -100.0f);
// From this update of the staff roll on, its picture covers the room.
const int END_ROLL_COVER_UPDATE = 4;
// Updates after the fade-in before the camera is released.
const int EXIT_UPDATES = 5;

// Share of the way from start to end (a span of nothing is done at once).
float Ramp(float timer, float start, float end) {
    float span = end - start;
    if (span <= 0.0f)
        return 1.0f;
    return (timer - start) / span;
}

} // namespace

CEndingSequence::CEndingSequence(const std::string& name, IEndingStage* stage) : m_stage(stage) {
    AddState(new CEndingEntryState(this));
    AddState(new CEndingInitState(this, name + "_init"));
    AddState(new CEndingFadeOutState(this, name + "_fadeout"));
    AddState(new CEndingEndRollState(this, name + "_endroll"));
    AddState(new CEndingFadeInState(this, name + "_fadein"));
    AddState(new CEndingExitState(this));
    Goto(ENDING_ENTRY_STATE_NAME);
}

int CEndingSequence::Run(float dt) {
    m_step = dt;
    m_result = ENDING_GO_ON;
    if (!Step()) {
        Stop();
        m_result = ENDING_FINISHED;
    }
    return m_result;
}

void CEndingSequence::Restart() { Goto(ENDING_ENTRY_STATE_NAME); }

bool CEndingEntryState::Update(CStateMachine& machine) {
    machine.Next();
    return false;
}

CEndingInitState::CEndingInitState(CEndingSequence* owner, const std::string& consoleName)
    : CEndingState("Init", owner),
      m_console(consoleName, {{"cameraDist", &cameraDist}, {"counterConst", &counterConst}}) {}

void CEndingInitState::Enter() {
    Stage().LockCamera(LOCK_POINT, cameraDist);
    Stage().ResetSmoke();
    Stage().LoadMusic();
    counter = 0.0f;
}

bool CEndingInitState::Update(CStateMachine& machine) {
    counter += Step();
    Stage().DrawSmoke();
    if (counter >= counterConst)
        machine.Next();
    return true;
}

CEndingFadeOutState::CEndingFadeOutState(CEndingSequence* owner, const std::string& consoleName)
    : CEndingState("FadeOut", owner),
      m_console(consoleName,
                {{"maskStartTime", &maskStartTime}, {"maskEndTime", &maskEndTime}, {"endTime", &endTime}}) {}

void CEndingFadeOutState::Enter() {
    Stage().SetRootVisible(true);
    Stage().SetMaskVisible(true);
    Stage().SetMaskAlpha(0.0f);
    Stage().PlayMusic();
    timer = 0.0f;
}

bool CEndingFadeOutState::Update(CStateMachine& machine) {
    timer += Step();
    Stage().DrawSmoke();
    if (timer >= maskStartTime) {
        Stage().SetMaskAlpha(std::min(Ramp(timer, maskStartTime, maskEndTime), 1.0f));
        if (timer >= endTime) {
            machine.Next();
            return false;
        }
    }
    return true;
}

void CEndingFadeOutState::Exit() { Stage().SetMaskAlpha(1.0f); }

CEndingEndRollState::CEndingEndRollState(CEndingSequence* owner, const std::string& consoleName)
    : CEndingState("EndRoll", owner),
      m_console(consoleName, {{"animParam", &animParam}}) {}

void CEndingEndRollState::Enter() {
    Stage().SetActorVisible(true);
    Stage().RequestEndRoll();
    count = 0;
}

bool CEndingEndRollState::Update(CStateMachine& machine) {
    ++count;
    if (count >= END_ROLL_COVER_UPDATE) {
        Stage().SetMaskVisible(false);
        m_owner->SetResult(ENDING_DRAW_ONLY);
    }
    Stage().ScaleActor(Stage().GetWindowHeight());
    Stage().UpdateEndRoll(Step() * animParam);
    if (!Stage().IsEndRollPlaying()) {
        machine.Next();
        return false;
    }
    return true;
}

void CEndingEndRollState::Exit() {
    Stage().SetActorVisible(false);
    Stage().ResetEndRoll();
    Stage().StopMusic();
}

CEndingFadeInState::CEndingFadeInState(CEndingSequence* owner, const std::string& consoleName)
    : CEndingState("FadeIn", owner),
      m_console(consoleName, {{"maskStartTime", &maskStartTime}, {"maskEndTime", &maskEndTime}}) {}

void CEndingFadeInState::Enter() {
    Stage().SetMaskVisible(true);
    Stage().SetMaskAlpha(1.0f);
    timer = 0.0f;
}

bool CEndingFadeInState::Update(CStateMachine& machine) {
    timer += Step();
    if (timer >= maskStartTime) {
        Stage().SetMaskAlpha(std::max(1.0f - Ramp(timer, maskStartTime, maskEndTime), 0.0f));
        if (timer >= maskEndTime) {
            machine.Next();
            return false;
        }
    }
    return true;
}

void CEndingFadeInState::Exit() { Stage().SetRootVisible(false); }

bool CEndingExitState::Update(CStateMachine& machine) {
    ++count;
    if (count > EXIT_UPDATES)
        machine.Next();
    return true;
}

void CEndingExitState::Exit() { Stage().UnlockCamera(); }
