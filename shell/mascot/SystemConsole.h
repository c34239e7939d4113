#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"

// The system object's named part "system": a stop flag and a time ratio
// that the console words set. Nothing else in the program reads them.
class CSystemConsole : public CConsoleObject {
public:
    explicit CSystemConsole(const char* name) : CConsoleObject(name) {}

    // "stop", "start", "timeratio value" and "rendering" (which does nothing);
    // other words go to the base.
    bool HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) override;

    bool IsStopped() const { return m_stopped; }
    float GetTimeRatio() const { return m_timeRatio; }

private:
    bool m_stopped = false;
    float m_timeRatio = 1.0f;
};

// The first ten updates after set-up take a step of 16.66 ms whatever the
// loop passes; the loop's own timing has not settled yet.
class CStartSteps {
public:
    static constexpr int COUNT = 10;
    static constexpr float STEP_MS = 16.66f;

    float Next(float stepMs) {
        if (m_count >= COUNT)
            return stepMs;
        ++m_count;
        return STEP_MS;
    }

private:
    int m_count = 0;
};
