#include "character/act/ActCallback.h"

CActCallback::CActCallback(const std::string& name, CBoneChainNode* owner, IActCallbackTarget* target,
                           Operation operation)
    : CAct(name, owner, 1),
      m_target(target),
      m_operation(operation) {}

const char* CActCallback::GetClassName() const { return "CActCallback"; }

bool CActCallback::Start(const std::vector<std::string>& words) {
    if (m_target && m_operation)
        (m_target->*m_operation)(words);
    return true;
}

void CActCallback::End() {}

bool CActCallback::Update(float, bool, float) { return false; }

int CActCallback::GetLength() { return 0; }

int CActCallback::GetTime() { return 0; }
