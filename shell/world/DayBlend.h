#pragma once
#include "shell/world/World.h"

// Day, evening and night: the order of the skies and window panes.
enum DayPart {
    DP_DAY,
    DP_EVENING,
    DP_NIGHT,
    DP_COUNT
};

// How the hour shows: the weight of each sky and each window pane (a node is
// shown when its weight is above 0, its materials take the weight as alpha)
// and the two light presets blended, with their weights.
struct DayBlend {
    float sky[DP_COUNT] = {0, 0, 0};
    float window[DP_COUNT] = {0, 0, 0};
    int presetA = 0;
    float weightA = 1;
    int presetB = 0;
    float weightB = 0;
};

// The blend for a clock reading. The last hour of each band (11, 15, 17 and
// 6) cross-fades into the next band over its 3600 seconds; the night uses the
// preset of the room light's state. Hours outside 0-23 are read modulo a day.
DayBlend BlendForClock(const CClockTime& time, bool roomLightOn);
