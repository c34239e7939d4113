#include "engine/render/Timer.h"

#include <windows.h>
#include <mmsystem.h>

namespace {
int g_liveTimers = 0;
}

CTimer::CTimer() {
    if (g_liveTimers++ == 0)
        timeBeginPeriod(1);
    Reset();
}

CTimer::~CTimer() {
    if (--g_liveTimers == 0)
        timeEndPeriod(1);
}

void CTimer::Reset() { m_start = timeGetTime(); }

// Unsigned subtraction stays right across the 49.7-day wrap of the count.
float CTimer::Elapsed() const { return (float)(uint32_t)(timeGetTime() - m_start); }

int CTimer::LiveCount() { return g_liveTimers; }
