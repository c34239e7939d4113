#include "character/act/ActFadeColor.h"

#include <cstdlib>

namespace {

constexpr float FADE_DEFAULT = 0.8f;

} // namespace

CActFadeColor::CActFadeColor(const std::string& name, CBoneChainNode* owner, IModulateColorTarget* renderer)
    : CAct(name, owner, 0),
      m_renderer(renderer),
      m_fromR(FADE_DEFAULT),
      m_fromG(FADE_DEFAULT),
      m_fromB(FADE_DEFAULT),
      m_toR(FADE_DEFAULT),
      m_toG(FADE_DEFAULT),
      m_toB(FADE_DEFAULT),
      m_time(0.0f),
      m_length(0) {}

const char* CActFadeColor::GetClassName() const { return "CActFadeColor"; }

bool CActFadeColor::Start(const std::vector<std::string>& words) {
    if (words.size() < 7)
        return false;
    float v[6];
    for (int i = 0; i < 6; ++i)
        v[i] = (float)std::atof(words[i].c_str());
    m_fromR = v[0], m_fromG = v[1], m_fromB = v[2];
    m_toR = v[3], m_toG = v[4], m_toB = v[5];
    m_length = (int)std::atof(words[6].c_str());
    m_time = 0.0f;
    return true;
}

void CActFadeColor::End() {}

bool CActFadeColor::Update(float step, bool, float) {
    m_time += step / FRAMES_PER_MILLISECOND;
    bool running = true;
    if (m_time < 0.0f) {
        m_time = 0.0f;
        running = false;
    } else if (m_time >= (float)m_length) {
        m_time = (float)m_length;
        running = false;
    }
    // A fade of no length shows its end colour.
    const float d = m_length > 0 ? m_time / (float)m_length : 1.0f;
    if (m_renderer)
        m_renderer->SetModulateColor(ColorRGBA((1.0f - d) * m_fromR + d * m_toR, (1.0f - d) * m_fromG + d * m_toG,
                                               (1.0f - d) * m_fromB + d * m_toB, 1.0f));
    return running;
}

int CActFadeColor::GetLength() { return m_length; }

int CActFadeColor::GetTime() { return (int)m_time; }
