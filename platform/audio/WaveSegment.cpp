#include "platform/audio/WaveSegment.h"

#include "platform/audio/WavePerformance.h"

bool CWaveSegment::Download(CWavePerformance* performance) {
    if (!performance || !performance->Supports(m_wave.format))
        return false;
    m_performance = performance;
    return true;
}

uint32_t CWaveSegment::GetLengthMs() const {
    return uint32_t(uint64_t(m_wave.size) * 1000 / m_wave.format.bytesPerSecond);
}
