#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"

// Hours, minutes and seconds of the world clock.
struct CClockTime {
    int32_t hours;
    int32_t minutes;
    int32_t seconds;
};

// The world "world": the clock of the character's world, its time ratio and
// the room-light switch. The clock starts at 18:00 every run and by default
// runs 120 times faster than real time; nothing of it is saved. The system
// object owns the world and advances it once per update.
class CWorld : public CConsoleObject {
public:
    static constexpr float DAY_SECONDS = 86400.0f;
    static constexpr float START_CLOCK = 64800.0f; // 18:00
    static constexpr float DEFAULT_TIME_RATIO = 120.0f;

    explicit CWorld(const char* name);

    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    // Moves the clock on by a real-time step, wrapping within the day.
    void AdvanceClock(float stepMs);
    CClockTime GetClock() const;
    // Negative when midnight has passed since the stamp was taken.
    float SecondsSince(float stamp) const;

    // Off at "sleep", on at "wakeup"; chooses between the two night light sets.
    void SetRoomLight(bool on) { m_roomLight = on; }
    bool IsRoomLightOn() const { return m_roomLight; }

    float GetClockSeconds() const { return m_clock; }
    float GetTimeRatio() const { return m_timeRatio; }

private:
    float m_clock = START_CLOCK;
    bool m_roomLight = true;
    float m_timeRatio = DEFAULT_TIME_RATIO;
};
