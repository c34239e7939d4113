#include "character/ai/RoomWalkTest.h"

#include <cmath>

#include "character/item/Item.h"
#include "character/item/ItemRegistry.h"
#include "engine/math/Geometry2D.h"

namespace {

struct Obstacle {
    Vec3 centre;
    float radius;
};

bool IsFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

} // namespace

CRoomWalkTest::CRoomWalkTest(CItemRegistry* items) : m_items(items) {}

bool CRoomWalkTest::Test(Vec3& detour, const Vec3& from, const Vec3& to) {
    if (!IsFinite(from) || !IsFinite(to))
        return false;
    CItem* kotatsu = m_items ? m_items->Find("kotatsu") : nullptr;
    const Obstacle obstacles[] = {
        {Vec3(0.0f, 0.0f, 0.0f), 80.0f},
        {Vec3(-260.0f, 0.0f, -45.0f), 40.0f},
        {Vec3(6.0f, 0.0f, -230.0f), 95.0f},
    };
    for (int i = 0; i < 3; ++i) {
        if (i == 0 && !(kotatsu && kotatsu->IsOwned()))
            continue;
        Vec3 point;
        if (PlanarDetourPoint(&point, from, to, obstacles[i].centre, obstacles[i].radius)) {
            if (!IsFinite(point))
                return false;
            detour = point;
            return true;
        }
    }
    return false;
}
