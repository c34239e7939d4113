#pragma once
#include "engine/math/Vec3.h"

// Where the ending's smoke rises: puffs are born along the segment from start
// to end.
struct SmokeEmitter {
    Vec3 start;
    Vec3 end;
};

// What one puff asks of the smoke node and its billboard for one drawing.
struct SmokePuff {
    Vec3 translation;
    float scale;
    float rotation; // radians
    float alpha;
};

// One smoke puff of the ending. Ages from a random delay below zero up to 10,
// growing and fading as it goes, and is reborn on the emitter once past 10.
// Its steps count updates, not time. Chance comes from the program's one
// generator, so a seeded run always draws the same smoke.
class CEndingParticle {
public:
    static constexpr float MAX_AGE = 10.0f;

    // Draws a new birth place, heading, delay, growth and spin.
    void Respawn(const SmokeEmitter& emitter);
    // One update: reborn when too old, then aged, turned and moved. The
    // answer is the puff as it is to be drawn now.
    SmokePuff Step(const SmokeEmitter& emitter);

    Vec3 position;
    Vec3 velocity;
    float age = 11.0f;
    float growth = 0.0f;
    float rotation = 0.0f; // degrees
    float spin = 0.0f;     // degrees an update
};
