#include "shell/indicator/IndicatorSchedule.h"

#include <cmath>

bool CIndicatorSchedule::Step(float stepMs) {
    bool show = false;
    if (m_timer < 0.0f) {
        show = true;
        m_timer = SHOWING_PERIOD_MS;
    }
    m_timer -= stepMs;
    return show;
}

float IndicatorLogoAlpha(float timeFrames, int lengthFrames) {
    float t = lengthFrames > 0 ? std::fmod(timeFrames, (float)lengthFrames) : timeFrames;
    float a = t / 130.0f;
    if (a >= 0.0f && a < 1.0f)
        return a;
    float b = (t - 540.0f) / 60.0f;
    if (b >= 0.0f && b < 1.0f)
        return 1.0f - b;
    if (a >= 1.0f && b < 0.0f)
        return 1.0f;
    return 0.0f;
}

IndicatorPlacement PlaceIndicatorLogo(int width, int height) {
    float c = (float)width * 0.5f;
    float d = c * 0.003125f;
    float halfHeight = (float)height * 0.5f;
    IndicatorPlacement placement;
    placement.translation =
        Vec3((d * 30.0f - c) * 100.0f, (halfHeight * 0.004166667f * -45.0f + d * 75.0f - halfHeight) * 100.0f, -200.0f);
    placement.scale = d * 0.75f * 100.0f;
    return placement;
}
