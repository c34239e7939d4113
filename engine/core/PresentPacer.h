#pragma once

// Back-pressure for presenting. A device that draws frames more slowly than
// the loop hands them over makes Present block until it has caught up, and
// Direct3D under Wine blocks by spinning. The pacer learns that wait from
// how long each Present blocked and answers a sleep to take before the next
// one instead: it grows by what a present still blocked and shrinks a little
// after each present that did not block, so it follows a device that speeds
// up again.
class CPresentPacer {
public:
    // A present that took longer than this blocked on the device (ms).
    static constexpr float BLOCKED_MS = 1.0f;
    // What the wait gives back after a present that did not block (ms).
    static constexpr float EASE_MS = 0.5f;
    // The longest wait, that of the slowest frame period (ms).
    static constexpr float MAX_WAIT_MS = 100.0f;

    // Milliseconds to sleep before the next present.
    float GetWait() const { return m_wait; }
    // The last present took this long (ms), the wait before it not counted.
    void NotePresent(float presentMs);
    void Reset() { m_wait = 0.0f; }

private:
    float m_wait = 0.0f;
};
