#include "character/collision/CollisionSphere.h"

#include <cstring>

#include "character/collision/CollisionNode.h"
#include "engine/scene/Transform.h"

CCollisionSphere::CCollisionSphere(const char* name, float radius) : CNode(name, RT_COLLISION), m_radius(radius) {
    std::memset(&m_record, 0, sizeof m_record);
    m_record.type = COLLIDER_SPHERE;
}

void CCollisionSphere::Render() {
    if (CollisionReportAllowed())
        Report();
}

CNode* CCollisionSphere::Clone(const std::string& scope) {
    auto* copy = new CCollisionSphere((GetName() + scope).c_str(), m_radius);
    if (CTransform* parent = GetParent())
        copy->SetParent(parent);
    return copy;
}

bool CCollisionSphere::Report() {
    CMatrix w;
    if (CTransform* parent = GetParent())
        w = parent->GetWorldMatrix();
    Vec3 centre(0.0f, 0.0f, 0.0f);
    centre.TransformCoord(w);
    Vec3 edge(m_radius, 0.0f, 0.0f);
    edge.TransformCoord(w);
    const float r = Vec3(edge.x - centre.x, edge.y - centre.y, edge.z - centre.z).Length();
    m_record.radius = r;
    m_record.lengthOrRadiusSq = r * r;
    m_record.previous[0] = m_centre.x, m_record.previous[1] = m_centre.y, m_record.previous[2] = m_centre.z;
    m_centre = centre;
    m_record.current[0] = centre.x, m_record.current[1] = centre.y, m_record.current[2] = centre.z;
    return AddCollider(m_record);
}
