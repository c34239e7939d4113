#include "character/collision/CollisionCapsule.h"

#include <cstring>

#include "character/collision/CollisionNode.h"
#include "engine/scene/Transform.h"
#include "engine/spring/SpringGravity.h"

namespace {

// A third of the default pull, along the capsule's axis.
constexpr float TILTED_GRAVITY = 0.27222222f;

void PutPlacement(float* out, const Vec3& a, const Vec3& b, const Vec3& axis, const Vec3& centre) {
    const Vec3* parts[4] = {&a, &b, &axis, &centre};
    for (int i = 0; i < 4; ++i) {
        out[3 * i] = parts[i]->x;
        out[3 * i + 1] = parts[i]->y;
        out[3 * i + 2] = parts[i]->z;
    }
}

Vec3 Carried(const CMatrix& w, float x, float y, float z) {
    Vec3 p(x, y, z);
    p.TransformCoord(w);
    return p;
}

float Distance(const Vec3& a, const Vec3& b) { return Vec3(a.x - b.x, a.y - b.y, a.z - b.z).Length(); }

} // namespace

CCollisionCapsule::CCollisionCapsule(const char* name, float radius, float length, unsigned char gravityFlag)
    : CNode(name, RT_COLLISION),
      m_radius(radius),
      m_length(length),
      m_gravityFlag(gravityFlag) {
    std::memset(&m_record, 0, sizeof m_record);
    m_record.type = COLLIDER_CAPSULE;
}

void CCollisionCapsule::Render() {
    if (CollisionReportAllowed())
        Report();
}

CNode* CCollisionCapsule::Clone(const std::string& scope) {
    auto* copy = new CCollisionCapsule((GetName() + scope).c_str(), m_radius, m_length, m_gravityFlag);
    if (CTransform* parent = GetParent())
        copy->SetParent(parent);
    return copy;
}

bool CCollisionCapsule::Report() {
    CMatrix w;
    if (CTransform* parent = GetParent())
        w = parent->GetWorldMatrix();
    const Vec3 origin = Carried(w, 0.0f, 0.0f, 0.0f);
    const float radius = Distance(Carried(w, m_radius, 0.0f, 0.0f), origin);
    const float length = Distance(Carried(w, m_length, 0.0f, 0.0f), origin);
    m_record.radius = radius;
    m_record.lengthOrRadiusSq = length;
    m_record.boundRadiusSq = length * length + radius * radius;

    const Vec3 a = Carried(w, 0.0f, m_length * 0.5f, 0.0f);
    const Vec3 b = Carried(w, 0.0f, m_length * -0.5f, 0.0f);
    Vec3 axis(b.x - a.x, b.y - a.y, b.z - a.z);
    axis.Normalize();
    const Vec3 centre((a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f);

    if (m_gravityFlag && b.y - a.y > 0.0f)
        SetSpringGravity(Vec3(TILTED_GRAVITY * axis.x, -TILTED_GRAVITY, TILTED_GRAVITY * axis.z));

    PutPlacement(m_record.previous, m_a, m_b, m_axis, m_centre);
    m_a = a, m_b = b, m_axis = axis, m_centre = centre;
    PutPlacement(m_record.current, a, b, axis, centre);
    return AddCollider(m_record);
}
