#include "shell/camera/CameraLimiter.h"

namespace {

// Written so that a NaN lands on the lower bound instead of slipping through.
bool Clamp(float& value, float low, float high) {
    if (value >= low && value <= high)
        return true;
    value = value > high ? high : low;
    return false;
}

} // namespace

bool CCameraLimiter::ClampTarget(Vec3& target) const {
    const bool x = Clamp(target.x, m_minX, m_maxX);
    const bool y = Clamp(target.y, m_minY, m_maxY);
    const bool z = Clamp(target.z, m_minZ, m_maxZ);
    return x && y && z;
}

bool CCameraLimiter::ClampDistance(float& distance) const { return Clamp(distance, m_minDist, m_maxDist); }

bool CCameraLimiter::Contains(const Vec3& point) const {
    Vec3 copy = point;
    return ClampTarget(copy);
}
