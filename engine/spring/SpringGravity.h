#pragma once
#include "engine/math/Vec3.h"

// The gravity that every spring system falls under, in world units per frame
// step. The render pass puts it back to the default each frame; collision
// nodes may tilt it afterwards for that frame.

constexpr float SPRING_GRAVITY_DEFAULT_Y = -0.8166667f;

void SetSpringGravity(const Vec3& gravity);
const Vec3& GetSpringGravity();
// Back to (0, SPRING_GRAVITY_DEFAULT_Y, 0).
void ResetSpringGravity();
