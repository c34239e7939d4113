#include "shell/camera/CameraSprings.h"

#include <cmath>

namespace {

const float MS_PER_FRAME = 16.666666f;

} // namespace

bool SpringStepScalar(float& cur, float goal, float prevGoal, float dt, float stopDelta, float spring, float damp,
                      float springLen) {
    const float h = cur - goal;
    if (std::fabs(h) < stopDelta)
        return false;
    const float s = (prevGoal - goal) * dt * damp + (springLen - std::fabs(h)) * spring;
    const float sign = h >= 0.0f ? 1.0f : -1.0f;
    cur += sign * s * dt;
    return true;
}

bool SpringStepVector(Vec3& cur, const Vec3& goal, const Vec3& prevGoal, float dt, float stopDelta, float spring,
                      float damp, float springLen) {
    const Vec3 d(cur.x - goal.x, cur.y - goal.y, cur.z - goal.z);
    const float length = d.Length();
    // On the goal there is no direction to push along: arrived, whatever the
    // stop distance says.
    if (length < stopDelta || !(length > 0.0f))
        return false;
    const Vec3 v((prevGoal.x - goal.x) * dt, (prevGoal.y - goal.y) * dt, (prevGoal.z - goal.z) * dt);
    const float s = Vec3::Dot(d, v) / length * damp + (springLen - length) * spring;
    const float k = s * dt / length;
    cur.x += d.x * k;
    cur.y += d.y * k;
    cur.z += d.z * k;
    return true;
}

float HorizontalSpeed(const Vec3& a, const Vec3& b, float dt) {
    if (dt < 1.0f)
        return 0.0f;
    const float dx = a.x - b.x;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dz * dz) / dt * MS_PER_FRAME;
}
