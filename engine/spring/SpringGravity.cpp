#include "engine/spring/SpringGravity.h"

namespace {
Vec3 g_springGravity(0.0f, SPRING_GRAVITY_DEFAULT_Y, 0.0f);
}

void SetSpringGravity(const Vec3& gravity) { g_springGravity = gravity; }

const Vec3& GetSpringGravity() { return g_springGravity; }

void ResetSpringGravity() { g_springGravity = Vec3(0.0f, SPRING_GRAVITY_DEFAULT_Y, 0.0f); }
