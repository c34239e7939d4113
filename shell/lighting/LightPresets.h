#pragma once
#include "engine/math/Color.h"

// The four colours a light preset gives: the room's point light and ambient,
// and the item presentation's point light and ambient.
struct LightPreset {
    ColorRGBA roomLight;
    ColorRGBA roomAmbient;
    ColorRGBA itemLight;
    ColorRGBA itemAmbient;
};

// The presets of the day, in the order the world clock steps through them.
enum LightPresetIndex {
    LP_MORNING,
    LP_AFTERNOON,
    LP_EVENING,
    LP_NIGHT_LIGHT_ON,
    LP_NIGHT_LIGHT_OFF,
    LP_COUNT
};

// False (and `preset` untouched) for an index outside the table.
bool GetLightPreset(int index, LightPreset& preset);

// wa x preset a + wb x preset b, every component (alpha included). False,
// with `blend` untouched, when either index is outside the table.
bool BlendLightPresets(int presetA, float weightA, int presetB, float weightB, LightPreset& blend);
