#include "shell/lighting/LightPresets.h"

// The compiled light presets: room light, room ambient, item light, item
// ambient; alpha 1 throughout.
extern const LightPreset LIGHT_PRESET_TABLE[LP_COUNT] = {
    // morning, 7-11
    {{0.80f, 0.80f, 0.95f, 1.0f},
     {0.50f, 0.50f, 0.80f, 1.0f},
     {0.35f, 0.35f, 0.35f, 1.0f},
     {0.65f, 0.65f, 0.70f, 1.0f}},
    // afternoon, 12-15
    {{1.00f, 1.00f, 1.00f, 1.0f},
     {0.45f, 0.40f, 0.55f, 1.0f},
     {0.50f, 0.50f, 0.50f, 1.0f},
     {0.70f, 0.70f, 0.70f, 1.0f}},
    // evening, 16-17
    {{0.90f, 0.90f, 0.50f, 1.0f},
     {0.40f, 0.30f, 0.55f, 1.0f},
     {0.50f, 0.40f, 0.30f, 1.0f},
     {0.60f, 0.60f, 0.60f, 1.0f}},
    // night, room light on
    {{0.80f, 0.80f, 0.80f, 1.0f},
     {0.20f, 0.20f, 0.30f, 1.0f},
     {0.75f, 0.70f, 0.60f, 1.0f},
     {0.50f, 0.50f, 0.50f, 1.0f}},
    // night, room light off
    {{0.30f, 0.30f, 0.60f, 1.0f},
     {0.20f, 0.20f, 0.50f, 1.0f},
     {0.30f, 0.30f, 0.30f, 1.0f},
     {0.30f, 0.30f, 0.30f, 1.0f}},
};
