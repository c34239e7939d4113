#pragma once
#include "character/ai/AiEvaluators.h"

class CItemRegistry;

// The room's three round obstacles on the floor: the kotatsu (while she owns
// it) and two fixed pieces of furniture. A straight walk that crosses one
// detours by the point beside it.
class CRoomWalkTest : public IAiWalkTest {
public:
    explicit CRoomWalkTest(CItemRegistry* items);

    // A non-finite start, target or detour point never detours: a walk is
    // never sent towards NaN.
    bool Test(Vec3& detour, const Vec3& from, const Vec3& to) override;

private:
    CItemRegistry* m_items;
};
