#include "engine/core/PresentPacer.h"

#include <algorithm>

void CPresentPacer::NotePresent(float presentMs) {
    // A time that is not a number (a broken clock) changes nothing.
    if (!(presentMs >= 0.0f))
        return;
    if (presentMs > BLOCKED_MS)
        m_wait += presentMs;
    else
        m_wait -= EASE_MS;
    m_wait = std::min(std::max(m_wait, 0.0f), MAX_WAIT_MS);
}
