#include "shell/statemachine/StateMachine.h"

CStateMachine::~CStateMachine() {
    for (CMachineState* state : m_states)
        delete state;
}

void CStateMachine::AddState(CMachineState* state) { m_states.push_back(state); }

CMachineState* CStateMachine::GetState(int index) const {
    if (index < 0 || index >= (int)m_states.size())
        return nullptr;
    return m_states[index];
}

bool CStateMachine::Step() {
    for (int updates = 0;; ++updates) {
        if (m_current != m_requested) {
            if (CMachineState* old = GetState(m_current))
                old->Exit();
            m_current = m_requested;
            if (CMachineState* entered = GetState(m_current))
                entered->Enter();
            m_timeInState = 0.0f;
        }
        CMachineState* state = GetState(m_requested);
        if (!state)
            return false;
        if (updates == MAX_UPDATES_PER_STEP)
            return true;
        // An Enter that asked for yet another state: make that one current first.
        if (m_current != m_requested)
            continue;
        if (state->Update(*this))
            return true;
    }
}

void CStateMachine::Stop() {
    if (CMachineState* state = GetState(m_current))
        state->Exit();
    m_current = -1;
    m_requested = -1;
}

void CStateMachine::Next() { ++m_requested; }

void CStateMachine::Previous() { --m_requested; }

bool CStateMachine::Goto(const char* name) {
    if (!name)
        return false;
    for (size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i] && m_states[i]->GetName() == name) {
            m_requested = (int)i;
            return true;
        }
    }
    return false;
}
