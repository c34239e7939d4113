#include "character/show/DialWheel.h"

#include <cmath>

float DialWheel::Step(float value, float dt) {
    float result = value;
    if (value < lastValue) {
        settleTime = 0.0f;
    } else {
        const float t = settleTime * 0.030003f;
        if (t >= 0.0f && t < 3.5f) {
            const float c = std::cos(3.14159265f * t);
            result = value - c * c * c * (0.3f - 0.05f * t);
            settleTime += dt;
        }
    }
    lastValue = value;
    return std::fmod(result, 10.0f);
}

float Tenth(float value) { return std::trunc(value * 0.1f); }
