#pragma once
#include <string>
#include <vector>

class CStateMachine;

// One state of a CStateMachine, found by its name. Update answers false right
// after it asked the machine for another state, so that the new one runs in
// the same step.
class CMachineState {
public:
    explicit CMachineState(const char* name) : m_name(name ? name : "") {}
    virtual ~CMachineState() = default;
    virtual void Enter() {}
    virtual void Exit() {}
    virtual bool Update(CStateMachine& machine) = 0;

    const std::string& GetName() const { return m_name; }

    CMachineState(const CMachineState&) = delete;
    CMachineState& operator=(const CMachineState&) = delete;

private:
    std::string m_name;
};

// An ordered list of owned states with a requested and a current index. A
// step first makes the requested state current (Exit of the old one, Enter of
// the new one), then runs it. Used by the automatic camera and the ending.
class CStateMachine {
public:
    // However the states hand over to each other, one step runs at most this
    // many state updates; a pair of states that keep asking for each other
    // would otherwise never let the step end.
    static constexpr int MAX_UPDATES_PER_STEP = 16;

    CStateMachine() = default;
    virtual ~CStateMachine();

    // Takes ownership; a null state is kept in its place and ends any step
    // that reaches it.
    virtual void AddState(CMachineState* state);
    // True when a valid state is requested afterwards.
    virtual bool Step();
    // Exit of the current state; both indices -1.
    virtual void Stop();
    virtual void Next();
    virtual void Previous();
    // Requests the first state of that name; false when there is none.
    virtual bool Goto(const char* name);

    int GetRequestedIndex() const { return m_requested; }
    int GetCurrentIndex() const { return m_current; }
    float GetTimeInState() const { return m_timeInState; }
    int GetStateCount() const { return (int)m_states.size(); }
    // Null outside the list or for a null entry.
    CMachineState* GetState(int index) const;
    CMachineState* GetCurrentState() const { return GetState(m_current); }

    CStateMachine(const CStateMachine&) = delete;
    CStateMachine& operator=(const CStateMachine&) = delete;

private:
    std::vector<CMachineState*> m_states;
    int m_requested = 0;
    int m_current = -1;
    float m_timeInState = 0.0f;
};
