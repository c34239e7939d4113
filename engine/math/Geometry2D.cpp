#include "engine/math/Geometry2D.h"

#include <cmath>

void DirectionToPitchYaw(float& pitch, float& yaw, const Vec3& d) {
    pitch = std::atan2(-d.y, std::sqrt(d.x * d.x + d.z * d.z));
    yaw = std::atan2(d.x, d.z);
}

bool PlanarDetourPoint(Vec3* out, const Vec3& from, const Vec3& to, const Vec3& centre, float radius) {
    float dx = to.x - from.x, dz = to.z - from.z;
    float len = std::sqrt(dx * dx + dz * dz);
    if (!(len >= 1.0f))
        return false;
    float ux = dx / len, uz = dz / len;
    float vx = centre.x - from.x, vz = centre.z - from.z;
    float g = ux * vx + uz * vz;
    float nx = from.x + g * ux - centre.x;
    float nz = from.z + g * uz - centre.z;
    float l = std::sqrt(nx * nx + nz * nz);
    if (!(l < radius))
        return false;
    float h = std::sqrt(radius * radius - l * l);
    if (g - h <= 0.0f)
        return false;
    if (len <= g + h)
        return false;
    if (out) {
        if (l > 0.0f) {
            float k = 1.2f * radius / l;
            *out = Vec3(centre.x + nx * k, 0.0f, centre.z + nz * k);
        } else {
            *out = Vec3(centre.x + uz * 1.2f * radius, 0.0f, centre.z - ux * 1.2f * radius);
        }
    }
    return true;
}
