#pragma once
#include <memory>

#include "platform/audio/WaveOutput.h"

class CWaveSegment;

// Plays segments on one output, one at a time: a segment that starts
// replaces the one playing. It owns its output; segments are only referred
// to, and whoever frees a segment that may be playing stops it first.
class CWavePerformance {
public:
    // A null output gives a performance that refuses every segment.
    explicit CWavePerformance(std::unique_ptr<IWaveOutput> output);
    ~CWavePerformance();

    // True when there is an output to play on.
    bool InitAudio();
    bool Supports(const WaveFormat& format) const;
    // Starts the segment from its beginning in place of what is playing;
    // false for a segment not downloaded to this performance.
    bool PlaySegmentEx(const CWaveSegment* segment);
    // Stops the given segment if it is the one playing; null stops whatever plays.
    void Stop(const CWaveSegment* segment = nullptr);
    // The segment last started while it is still heard, else null.
    const CWaveSegment* GetPlaying();
    // Stops and lets the output go; nothing plays after it.
    void CloseDown();

    CWavePerformance(const CWavePerformance&) = delete;
    CWavePerformance& operator=(const CWavePerformance&) = delete;

private:
    std::unique_ptr<IWaveOutput> m_output;
    const CWaveSegment* m_playing = nullptr;
};
