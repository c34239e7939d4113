#pragma once
#include "platform/audio/WavReader.h"

class CWavePerformance;

// A WAV file's samples ready to play, read in place from bytes that someone
// else owns (an archive entry): they must outlive the segment. A segment
// plays only on the performance it was downloaded to. The loader makes
// segments; whoever asked for one owns it.
class CWaveSegment {
public:
    explicit CWaveSegment(const WaveData& wave) : m_wave(wave) {}

    // Readies the segment for the performance; false when its output cannot
    // play this format.
    bool Download(CWavePerformance* performance);
    const CWavePerformance* GetPerformance() const { return m_performance; }
    const WaveData& GetWave() const { return m_wave; }
    // Playing time in milliseconds.
    uint32_t GetLengthMs() const;

    CWaveSegment(const CWaveSegment&) = delete;
    CWaveSegment& operator=(const CWaveSegment&) = delete;

private:
    WaveData m_wave;
    CWavePerformance* m_performance = nullptr;
};
