#include "engine/spring/ColliderList.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Positions pushed against one list of near colliders.
constexpr int PUSH_BLOCK = 32;

ColliderRecord g_colliders[MAX_COLLIDERS];
int g_colliderCount = 0;

float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Each answers whether it moved the position.
bool PushOutOfSphere(const ColliderRecord& c, float* p) {
    const float* centre = c.scratch;
    float d[3] = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
    float lenSq = Dot(d, d);
    if (!(lenSq < c.lengthOrRadiusSq) || lenSq == 0.0f)
        return false;
    float scale = c.radius / std::sqrt(lenSq);
    for (int i = 0; i < 3; ++i)
        p[i] = centre[i] + d[i] * scale;
    return true;
}

bool PushOutOfCapsule(const ColliderRecord& c, float* p) {
    const float* a = c.scratch;
    const float* b = c.scratch + 3;
    const float* axis = c.scratch + 6;
    const float* centre = c.scratch + 9;
    float fromCentre[3] = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
    if (!(Dot(fromCentre, fromCentre) < c.boundRadiusSq) || !(c.lengthOrRadiusSq > 0.0f))
        return false;
    float ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    float fromA[3] = {p[0] - a[0], p[1] - a[1], p[2] - a[2]};
    float fromB[3] = {p[0] - b[0], p[1] - b[1], p[2] - b[2]};
    // Only a point that projects strictly between the ends is pushed.
    if (!(-Dot(ab, fromB) > 0.0f) || !(Dot(ab, fromA) > 0.0f))
        return false;
    float along = Dot(ab, fromA) / c.lengthOrRadiusSq;
    float onAxis[3] = {a[0] + axis[0] * along, a[1] + axis[1] * along, a[2] + axis[2] * along};
    float e[3] = {p[0] - onAxis[0], p[1] - onAxis[1], p[2] - onAxis[2]};
    float eSq = Dot(e, e);
    if (eSq == 0.0f || !(eSq <= c.radius * c.radius))
        return false;
    float scale = c.radius / std::sqrt(eSq);
    for (int i = 0; i < 3; ++i)
        p[i] = onAxis[i] + e[i] * scale;
    return true;
}

bool Push(const ColliderRecord& c, float* p) {
    if (c.type == COLLIDER_SPHERE)
        return PushOutOfSphere(c, p);
    if (c.type == COLLIDER_CAPSULE)
        return PushOutOfCapsule(c, p);
    return false;
}

struct Box {
    float lo[3];
    float hi[3];
};

// The box outside which the collider's test never passes: a sphere tests
// the distance from its centre against its squared radius, a capsule first
// that from its centre against its squared bound. It is widened by a little
// more than rounding can move a comparison. False when a value is not a
// number or the collider is of no known type: such a one is never passed over.
bool TestBox(const ColliderRecord& c, Box& box) {
    const float* centre;
    float reachSq;
    if (c.type == COLLIDER_SPHERE) {
        centre = c.scratch;
        reachSq = c.lengthOrRadiusSq;
    } else if (c.type == COLLIDER_CAPSULE) {
        centre = c.scratch + 9;
        reachSq = c.boundRadiusSq;
    } else {
        return false;
    }
    if (!(reachSq <= 0.0f || reachSq > 0.0f))
        return false;
    const float reach = std::sqrt(std::max(reachSq, 0.0f));
    for (int k = 0; k < 3; ++k) {
        if (!std::isfinite(centre[k]))
            return false;
        const float margin = 1e-4f * (reach + std::fabs(centre[k])) + 1e-18f;
        box.lo[k] = centre[k] - reach - margin;
        box.hi[k] = centre[k] + reach + margin;
    }
    return true;
}

bool Overlaps(const Box& a, const Box& b) {
    for (int k = 0; k < 3; ++k)
        if (a.hi[k] < b.lo[k] || b.hi[k] < a.lo[k])
            return false;
    return true;
}

bool Inside(const Box& box, const float* p) {
    for (int k = 0; k < 3; ++k)
        if (!(p[k] >= box.lo[k] && p[k] <= box.hi[k]))
            return false;
    return true;
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
    for (int i = 0; i < g_colliderCount; ++i)
        Push(g_colliders[i], position);
}

void PushAllOutOfColliders(float* positions, int count, int stride) {
    if (!positions || count <= 0 || stride < 3 || g_colliderCount == 0)
        return;
    // Each collider's box once; one that cannot be boxed is met by every block.
    Box boxes[MAX_COLLIDERS];
    bool boxed[MAX_COLLIDERS];
    for (int i = 0; i < g_colliderCount; ++i)
        boxed[i] = TestBox(g_colliders[i], boxes[i]);
    // Neighbouring vertices lie close together, so a block of them meets
    // few colliders. A position that is not a number is never pushed, so it
    // needs no place in its block's box.
    const float big = std::numeric_limits<float>::infinity();
    for (int first = 0; first < count; first += PUSH_BLOCK) {
        const int last = std::min(count, first + PUSH_BLOCK);
        Box around = {{big, big, big}, {-big, -big, -big}};
        for (int v = first; v < last; ++v) {
            const float* p = positions + size_t(v) * size_t(stride);
            for (int k = 0; k < 3; ++k) {
                if (p[k] < around.lo[k])
                    around.lo[k] = p[k];
                if (p[k] > around.hi[k])
                    around.hi[k] = p[k];
            }
        }
        // The colliders whose test can pass somewhere in that box, in list order.
        int near[MAX_COLLIDERS];
        int nearCount = 0;
        for (int i = 0; i < g_colliderCount; ++i)
            if (!boxed[i] || Overlaps(boxes[i], around))
                near[nearCount++] = i;
        for (int v = first; v < last; ++v) {
            float* p = positions + size_t(v) * size_t(stride);
            for (int n = 0; n < nearCount; ++n) {
                const int i = near[n];
                if (!Push(g_colliders[i], p) || Inside(around, p))
                    continue;
                // Pushed out of the box: from here on every collider may hold it.
                for (int j = i + 1; j < g_colliderCount; ++j)
                    Push(g_colliders[j], p);
                break;
            }
        }
    }
}
