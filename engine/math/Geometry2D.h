#pragma once
#include "engine/math/Vec3.h"

// Pitch and yaw of a direction, in radians: pitch = atan2(-y, sqrt(x² + z²)),
// yaw = atan2(x, z).
void DirectionToPitchYaw(float& pitch, float& yaw, const Vec3& direction);

// On the floor plane (x, z): when the way from -> to crosses the circle, writes
// a point 1.2 radii from the centre beside the way (if out is given) and answers
// true. A way through the centre itself detours to the way's right-hand side
// seen from above (its direction turned by +90° about y).
bool PlanarDetourPoint(Vec3* out, const Vec3& from, const Vec3& to, const Vec3& centre, float radius);
