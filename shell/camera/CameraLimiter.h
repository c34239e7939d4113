#pragma once
#include <string>

#include "engine/console/ConsoleObject.h"
#include "engine/math/Vec3.h"

// Keeps the room camera's target inside the room's box and its distance
// inside its range. Answers only "select".
class CCameraLimiter : public CConsoleObject {
public:
    explicit CCameraLimiter(const std::string& name) : CConsoleObject(name) {}

    // Each clamps in place (bounds inclusive) and is true when nothing had
    // to change.
    bool ClampTarget(Vec3& target) const;
    bool ClampDistance(float& distance) const;
    bool Contains(const Vec3& point) const;

private:
    float m_minX = -500.0f;
    float m_minY = -100.0f;
    float m_minZ = -200.0f;
    float m_maxX = 450.0f;
    float m_maxY = 300.0f;
    float m_maxZ = 350.0f;
    float m_minDist = 800.0f;
    float m_maxDist = 2700.0f;
};
