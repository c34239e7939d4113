#include "engine/spring/ColliderList.h"

#include <cmath>

namespace {

ColliderRecord g_colliders[MAX_COLLIDERS];
int g_colliderCount = 0;

float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void PushOutOfSphere(const ColliderRecord& c, float* p) {
    const float* centre = c.scratch;
    float d[3] = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
    float lenSq = Dot(d, d);
    if (!(lenSq < c.lengthOrRadiusSq) || lenSq == 0.0f)
        return;
    float scale = c.radius / std::sqrt(lenSq);
    for (int i = 0; i < 3; ++i)
        p[i] = centre[i] + d[i] * scale;
}

void PushOutOfCapsule(const ColliderRecord& c, float* p) {
    const float* a = c.scratch;
    const float* b = c.scratch + 3;
    const float* axis = c.scratch + 6;
    const float* centre = c.scratch + 9;
    float fromCentre[3] = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
    if (!(Dot(fromCentre, fromCentre) < c.boundRadiusSq) || !(c.lengthOrRadiusSq > 0.0f))
        return;
    float ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    float fromA[3] = {p[0] - a[0], p[1] - a[1], p[2] - a[2]};
    float fromB[3] = {p[0] - b[0], p[1] - b[1], p[2] - b[2]};
    // Only a point that projects strictly between the ends is pushed.
    if (!(-Dot(ab, fromB) > 0.0f) || !(Dot(ab, fromA) > 0.0f))
        return;
    float along = Dot(ab, fromA) / c.lengthOrRadiusSq;
    float onAxis[3] = {a[0] + axis[0] * along, a[1] + axis[1] * along, a[2] + axis[2] * along};
    float e[3] = {p[0] - onAxis[0], p[1] - onAxis[1], p[2] - onAxis[2]};
    float eSq = Dot(e, e);
    if (eSq == 0.0f || !(eSq <= c.radius * c.radius))
        return;
    float scale = c.radius / std::sqrt(eSq);
    for (int i = 0; i < 3; ++i)
        p[i] = onAxis[i] + e[i] * scale;
}

} // namespace

bool AddCollider(const ColliderRecord& record) {
    if (g_colliderCount >= MAX_COLLIDERS)
        return false;
    g_colliders[g_colliderCount++] = record;
    return true;
}

void ClearColliders() { g_colliderCount = 0; }

int GetColliderCount() { return g_colliderCount; }

const ColliderRecord& GetCollider(int index) { return g_colliders[index]; }

void PlaceColliders(float f) {
    for (int i = 0; i < g_colliderCount; ++i) {
        ColliderRecord& c = g_colliders[i];
        int count = c.type == COLLIDER_SPHERE ? 3 : 12;
        for (int k = 0; k < count; ++k)
            c.scratch[k] = (1.0f - f) * c.previous[k] + f * c.current[k];
        if (c.type != COLLIDER_SPHERE) {
            float* axis = c.scratch + 6;
            float len = std::sqrt(Dot(axis, axis));
            if (len > 0.0f)
                for (int k = 0; k < 3; ++k)
                    axis[k] /= len;
        }
    }
}

void PushOutOfColliders(float* position) {
    for (int i = 0; i < g_colliderCount; ++i) {
        const ColliderRecord& c = g_colliders[i];
        if (c.type == COLLIDER_SPHERE)
            PushOutOfSphere(c, position);
        else if (c.type == COLLIDER_CAPSULE)
            PushOutOfCapsule(c, position);
    }
}
