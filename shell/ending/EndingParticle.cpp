#include "shell/ending/EndingParticle.h"

#include "engine/core/Random.h"

namespace {

const float DEGREES_TO_RADIANS = 0.017453289f;

// 1 .. 1023, the generator's way of avoiding an exact zero.
float NonZeroDraw() { return (float)(Rand() % 1023 + 1); }

} // namespace

void CEndingParticle::Respawn(const SmokeEmitter& emitter) {
    Rand(); // the first value is thrown away

    float f = (float)(Rand() % 1024) / 1024.0f;
    position = Vec3(emitter.start.x + f * (emitter.end.x - emitter.start.x),
                    emitter.start.y + f * (emitter.end.y - emitter.start.y),
                    emitter.start.z + f * (emitter.end.z - emitter.start.z));

    float dx = NonZeroDraw() / 1024.0f - 0.5f;
    float dy = NonZeroDraw() / 2048.0f - 0.5f;
    float dz = NonZeroDraw() / 1024.0f - 0.5f;
    Vec3 d(dx, dy, dz);
    d.Normalize();
    position.x += d.x * 10.0f;
    position.y += d.y * 10.0f;
    position.z += d.z * 10.0f;

    float vx = NonZeroDraw() / 1024.0f - 0.5f;
    float vz = NonZeroDraw() / 1024.0f - 0.5f;
    velocity = Vec3(vx, 2.0f, vz);
    velocity.Normalize();
    velocity.x *= 0.1f;
    velocity.y *= 0.1f;
    velocity.z *= 0.1f;

    age = -NonZeroDraw() * 0.009765625f;
    growth = ((float)(Rand() % 1024) / 1024.0f + 0.5f) * 0.02222f;
    rotation = (float)(Rand() % 360);
    spin = NonZeroDraw() / 512.0f - 1.0f;
}

SmokePuff CEndingParticle::Step(const SmokeEmitter& emitter) {
    if (age > MAX_AGE)
        Respawn(emitter);
    age += growth;
    rotation += spin;
    SmokePuff puff;
    puff.translation = position;
    if (age > 0.0f) {
        position += velocity;
        puff.scale = age;
    } else {
        puff.scale = 0.0001f;
    }
    puff.rotation = rotation * DEGREES_TO_RADIANS;
    puff.alpha = (MAX_AGE - age) * 0.1f;
    return puff;
}
