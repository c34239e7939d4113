#pragma once
#include <cstdint>

// The process-wide list of capsules and spheres that the character's collision
// nodes report each frame and that the dynamic-bone skinning pushes vertices
// out of. The render pass empties it every frame; the nodes append copies.

enum ColliderType : int32_t {
    COLLIDER_CAPSULE = 0,
    COLLIDER_SPHERE = 1,
};

// Forty 32-bit fields, the layout the collision nodes write. A placement is
// end A, end B, axis, centre (three floats each); a sphere keeps its centre in
// the first three.
struct ColliderRecord {
    int32_t type;
    float scratch[12]; // the placement of the current sub-step, written by the reader
    float radius;
    float lengthOrRadiusSq; // capsule: |B - A|; sphere: radius squared
    float boundRadiusSq;    // capsule: squared radius of a sphere round it
    float previous[12];
    float current[12];
};
static_assert(sizeof(ColliderRecord) == 40 * 4, "collider record is forty 32-bit fields");

constexpr int MAX_COLLIDERS = 255;

// False (and nothing stored) once the list holds MAX_COLLIDERS records.
bool AddCollider(const ColliderRecord& record);
void ClearColliders();
int GetColliderCount();
const ColliderRecord& GetCollider(int index);

// Writes every record's placement at fraction f of the way from the previous
// frame to this one into its scratch area (the axis renormalised).
void PlaceColliders(float f);
// Moves a position out of every placed collider, in list order.
void PushOutOfColliders(float* position);
// The same for count positions stride floats apart, with the same results,
// taken in blocks of neighbours: a collider that cannot hold any position of
// a block is passed over for it, and only a position that a push takes
// outside the box round its block meets the colliders after that one.
void PushAllOutOfColliders(float* positions, int count, int stride);
