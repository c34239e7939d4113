#include "character/act/ActWait.h"

#include <cstdlib>

CActWait::CActWait(const std::string& name, CBoneChainNode* owner) : CAct(name, owner, 0), m_time(0.0f), m_length(0) {}

const char* CActWait::GetClassName() const { return "CActWait"; }

bool CActWait::Start(const std::vector<std::string>& words) {
    if (words.empty())
        return false;
    m_length = (int)std::atof(words[0].c_str());
    m_time = 0.0f;
    return true;
}

void CActWait::End() {}

bool CActWait::Update(float step, bool, float) {
    m_time += step / FRAMES_PER_MILLISECOND;
    if (m_time < 0.0f) {
        m_time = 0.0f;
        return false;
    }
    if (m_time >= (float)m_length) {
        m_time = (float)m_length;
        return false;
    }
    return true;
}

int CActWait::GetLength() { return m_length; }

int CActWait::GetTime() { return (int)m_time; }
