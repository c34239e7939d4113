#include "shell/world/World.h"

#include <cmath>
#include <cstdlib>

#include "engine/scene/ModelInstanceNode.h"

CWorld::CWorld(const char* name) : CConsoleObject(name) {}

CWorld::~CWorld() { delete m_room; }

bool CWorld::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    if (IsWord(command, "timeratio")) {
        if (args.empty()) {
            out << "name timeratio value\n";
            out.flush();
            return false;
        }
        m_timeRatio = static_cast<float>(std::atof(args[0].c_str()));
        return true;
    }
    return CConsoleObject::HandleCommand(out, command, args);
}

void CWorld::AdvanceClock(float stepMs) {
    double clock = std::fmod(static_cast<double>(m_clock) + stepMs * static_cast<double>(m_timeRatio) * 0.001,
                             static_cast<double>(DAY_SECONDS));
    // An infinite or undefined ratio would stop the clock for good; keep the time.
    if (!std::isfinite(clock))
        return;
    if (clock < 0.0)
        clock += DAY_SECONDS;
    float next = static_cast<float>(clock);
    // Just below zero plus a day can round up to the full day.
    if (next >= DAY_SECONDS || next < 0.0f)
        next = 0.0f;
    m_clock = next;
}

CClockTime CWorld::GetClock() const {
    CClockTime time;
    time.hours = static_cast<int32_t>(m_clock / 3600.0f);
    time.minutes = static_cast<int32_t>((m_clock - time.hours * 3600.0f) / 60.0f);
    time.seconds = static_cast<int32_t>(m_clock - time.hours * 3600.0f - time.minutes * 60.0f);
    return time;
}

float CWorld::SecondsSince(float stamp) const { return m_clock - stamp; }
