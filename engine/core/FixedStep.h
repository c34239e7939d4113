#pragma once

// The catch-up rule of the frame loop. Each pass adds the time that the
// previous pass took; the step then runs at least once and again while more
// than one period remains, at most MAX_STEPS_PER_PASS times. Time beyond the
// last step is dropped, so a long stall slows the world down instead of
// making it spiral; a fast pass still runs one step and owes nothing.
class CFixedStep {
public:
    static constexpr int MAX_STEPS_PER_PASS = 4;

    // One pass: step(periodMs) for each update; firstUpdate is true exactly
    // while the first one runs. Answers the number of steps run.
    template <class F>
    int RunPass(float lastFrameMs, float periodMs, bool& firstUpdate, F&& step) {
        m_accumulator += lastFrameMs;
        firstUpdate = true;
        int count = 0;
        for (;;) {
            step(periodMs);
            ++count;
            m_accumulator -= periodMs;
            firstUpdate = false;
            if (count >= MAX_STEPS_PER_PASS) {
                m_accumulator = 0;
                break;
            }
            if (!(m_accumulator > periodMs))
                break;
        }
        if (m_accumulator < 0)
            m_accumulator = 0;
        return count;
    }

    float GetAccumulator() const { return m_accumulator; }
    void Reset() { m_accumulator = 0; }

private:
    float m_accumulator = 0;
};
