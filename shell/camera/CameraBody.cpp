#include "shell/camera/CameraBody.h"

#include <cmath>

#include "engine/console/PropertyParser.h"

namespace {

const Vec3 DEFAULT_EYE(950.0f, 0.0f, 850.0f);
const float DEFAULT_DISTANCE = 1200.0f;

} // namespace

CCameraBody::CCameraBody(const std::string& name) : CConsoleObject(name), m_view(name + "_camera"), m_eye(DEFAULT_EYE) {
    SetTarget(Vec3(0.0f, 0.0f, 0.0f), DEFAULT_DISTANCE);
}

bool CCameraBody::HandleCommand(std::ostream& out, const std::string& command, const std::vector<std::string>& args) {
    const FloatProperty properties[] = {
        {"minD", &m_minD},
        {"dH", &m_dH},
        {"h", &m_h},
        {"fovYPerDist", &m_fovYPerDist},
    };
    return ParseFloatProperties(out, properties, command, args);
}

void CCameraBody::SetTarget(const Vec3& target, float distance) {
    const float dx = target.x - m_eye.x;
    const float dz = target.z - m_eye.z;
    float b = std::sqrt(dx * dx + dz * dz);
    if (b <= m_minD)
        b = m_minD;
    m_eye.y = m_dH / b + m_h;
    m_view.LookAt(m_eye, target, Vec3(0.0f, 1.0f, 0.0f));
    m_view.SetPerspective(distance * m_fovYPerDist, m_view.GetAspect(), m_view.GetNear(), m_view.GetFar());
    m_target = target;
    m_distance = distance;
}

void CCameraBody::SetLens(float aspect, float zNear, float zFar) {
    m_view.SetPerspective(m_distance * m_fovYPerDist, aspect, zNear, zFar);
}
