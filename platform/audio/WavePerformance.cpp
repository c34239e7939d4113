#include "platform/audio/WavePerformance.h"

#include <utility>

#include "platform/audio/WaveSegment.h"

CWavePerformance::CWavePerformance(std::unique_ptr<IWaveOutput> output) : m_output(std::move(output)) {}

CWavePerformance::~CWavePerformance() { CloseDown(); }

bool CWavePerformance::InitAudio() { return m_output != nullptr; }

bool CWavePerformance::Supports(const WaveFormat& format) const { return m_output && m_output->Supports(format); }

bool CWavePerformance::PlaySegmentEx(const CWaveSegment* segment) {
    if (!m_output || !segment || segment->GetPerformance() != this)
        return false;
    const WaveData& wave = segment->GetWave();
    if (!m_output->Play(wave.format, wave.samples, wave.size)) {
        m_playing = nullptr;
        return false;
    }
    m_playing = segment;
    return true;
}

void CWavePerformance::Stop(const CWaveSegment* segment) {
    if (!m_output || (segment && segment != m_playing))
        return;
    m_output->Stop();
    m_playing = nullptr;
}

const CWaveSegment* CWavePerformance::GetPlaying() {
    if (m_playing && !(m_output && m_output->IsPlaying()))
        m_playing = nullptr;
    return m_playing;
}

void CWavePerformance::CloseDown() {
    Stop();
    m_output.reset();
}
