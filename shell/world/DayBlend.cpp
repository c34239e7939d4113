#include "shell/world/DayBlend.h"

#include "shell/lighting/LightPresets.h"

namespace {

void Set(float out[DP_COUNT], float day, float evening, float night) {
    out[DP_DAY] = day;
    out[DP_EVENING] = evening;
    out[DP_NIGHT] = night;
}

void Presets(DayBlend& blend, int a, float wa, int b, float wb) {
    blend.presetA = a;
    blend.weightA = wa;
    blend.presetB = b;
    blend.weightB = wb;
}

} // namespace

DayBlend BlendForClock(const CClockTime& time, bool roomLightOn) {
    int hour = time.hours % 24;
    if (hour < 0)
        hour += 24;
    const bool transition = hour == 11 || hour == 15 || hour == 17 || hour == 6;
    const float t = static_cast<float>(time.minutes * 60 + time.seconds);
    const float f = transition ? 1.0f - t / 3600.0f : 1.0f;
    // Hidden at the first second of the fade-in, then at full weight.
    const float fadeStarted = f == 1.0f ? 0.0f : 1.0f;

    DayBlend blend;
    if (hour >= 7 && hour <= 11) {
        Set(blend.sky, 1, 0, 0);
        Set(blend.window, 1, 0, 0);
        Presets(blend, LP_MORNING, f, LP_AFTERNOON, 1 - f);
    } else if (hour >= 12 && hour <= 15) {
        Set(blend.sky, 1, 1 - f, 0);
        Set(blend.window, f, fadeStarted, 0);
        Presets(blend, LP_AFTERNOON, f, LP_EVENING, 1 - f);
    } else if (hour >= 16 && hour <= 17) {
        Set(blend.sky, 0, 1, 1 - f);
        Set(blend.window, 0, 1, 1 - f);
        Presets(blend, LP_EVENING, f, LP_NIGHT_LIGHT_ON, 1 - f);
    } else {
        Set(blend.sky, fadeStarted, 0, f);
        Set(blend.window, 1 - f, 0, 1);
        Presets(blend, roomLightOn ? LP_NIGHT_LIGHT_ON : LP_NIGHT_LIGHT_OFF, f, LP_MORNING, 1 - f);
    }
    return blend;
}
