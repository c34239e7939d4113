#pragma once
#include "engine/math/Vec3.h"
#include "engine/scene/Node.h"
#include "engine/spring/ColliderList.h"

// A sphere hung under a bone that reports its world centre and radius to the
// collider list each drawn frame.
class CCollisionSphere : public CNode {
public:
    CCollisionSphere(const char* name, float radius);

    void Render() override;
    CNode* Clone(const std::string& scope) override;

    // False when the collider list had no room.
    bool Report();
    const ColliderRecord& GetRecord() const { return m_record; }

private:
    float m_radius;
    ColliderRecord m_record;
    Vec3 m_centre;
};
