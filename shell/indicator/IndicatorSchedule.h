#pragma once
#include "engine/math/Vec3.h"

// When the screen-saver logo shows: first 10 s after start, then every 30 s
// of update time.
class CIndicatorSchedule {
public:
    static constexpr float FIRST_SHOWING_MS = 10000.0f;
    static constexpr float SHOWING_PERIOD_MS = 30000.0f;

    // One update of stepMs; true when a showing is to start now.
    bool Step(float stepMs);
    float GetTimer() const { return m_timer; }

private:
    float m_timer = FIRST_SHOWING_MS;
};

// The logo's alpha at a time of its motion (frames, taken modulo the length
// in frames): fades in over frames 0-129, stays until 539, fades out over
// 540-599 and is clear after.
float IndicatorLogoAlpha(float timeFrames, int lengthFrames);

// Where the logo sits in the indicator scene for a window of that size: the
// lower left corner, scaled with the width.
struct IndicatorPlacement {
    Vec3 translation;
    float scale;
};
IndicatorPlacement PlaceIndicatorLogo(int width, int height);
