#include "shell/lighting/LightPresets.h"

extern const LightPreset LIGHT_PRESET_TABLE[LP_COUNT];

namespace {

ColorRGBA Mix(const ColorRGBA& a, float wa, const ColorRGBA& b, float wb) {
    return ColorRGBA(wa * a.r + wb * b.r, wa * a.g + wb * b.g, wa * a.b + wb * b.b, wa * a.a + wb * b.a);
}

} // namespace

bool GetLightPreset(int index, LightPreset& preset) {
    if (index < 0 || index >= LP_COUNT)
        return false;
    preset = LIGHT_PRESET_TABLE[index];
    return true;
}

bool BlendLightPresets(int presetA, float weightA, int presetB, float weightB, LightPreset& blend) {
    LightPreset p, q;
    if (!GetLightPreset(presetA, p) || !GetLightPreset(presetB, q))
        return false;
    blend.roomLight = Mix(p.roomLight, weightA, q.roomLight, weightB);
    blend.roomAmbient = Mix(p.roomAmbient, weightA, q.roomAmbient, weightB);
    blend.itemLight = Mix(p.itemLight, weightA, q.itemLight, weightB);
    blend.itemAmbient = Mix(p.itemAmbient, weightA, q.itemAmbient, weightB);
    return true;
}
