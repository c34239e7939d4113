#pragma once
#include "engine/math/Vec3.h"
#include "engine/scene/Node.h"
#include "engine/spring/ColliderList.h"

// A capsule hung under a bone: each drawn frame it reports its world placement
// to the collider list; a flagged one whose lower end rises tilts the spring
// gravity along its axis for that frame.
class CCollisionCapsule : public CNode {
public:
    CCollisionCapsule(const char* name, float radius, float length, unsigned char gravityFlag);

    void Render() override;
    CNode* Clone(const std::string& scope) override;

    // The work of Render without the first-update check; false when the
    // collider list had no room.
    bool Report();
    const ColliderRecord& GetRecord() const { return m_record; }

private:
    float m_radius;
    float m_length;
    Vec3 m_a, m_b, m_axis, m_centre;
    ColliderRecord m_record;
    unsigned char m_gravityFlag;
};
