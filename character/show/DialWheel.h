#pragma once

// One wheel of the show's money counter. It follows a falling value at once
// and, once the value stops falling, swings about it with a shrinking
// amplitude before it rests.
struct DialWheel {
    // Settle time given at the start of a show: no swing until the value has
    // first fallen.
    static constexpr float SETTLED = 1000.0f;

    float lastValue = 0.0f;
    float settleTime = SETTLED;

    // The digit position to show for value after a step of dt time units:
    // the swung value modulo 10 (fmod, so a swing about 0 dips below it).
    float Step(float value, float dt);
};

// The integer part of value × 0.1, toward zero: the value the next wheel shows.
float Tenth(float value);
