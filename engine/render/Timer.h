#pragma once
#include <cstdint>

// A millisecond timer over timeGetTime. While any timer lives the system
// timer resolution is 1 ms, so that Sleep and timeGetTime keep step with
// the frame loop.
class CTimer {
public:
    CTimer();
    virtual ~CTimer();

    void Reset();
    // Milliseconds since the last reset (or construction).
    float Elapsed() const;

    // Timers alive in the process.
    static int LiveCount();

    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

private:
    // Kept as the full 32-bit count so that elapsed times stay exact after
    // the system has run for hours (a float would round the start).
    uint32_t m_start;
};
