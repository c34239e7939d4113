#include <gtest/gtest.h>

#include "character/collision/CollisionCapsule.h"
#include "character/collision/CollisionNode.h"
#include "character/collision/CollisionSphere.h"
#include "engine/core/FrameStamp.h"
#include "engine/spring/SpringGravity.h"
#include "tests/engine/scene/SceneTestNodes.h"

namespace {

struct CollisionFixture : ::testing::Test {
    CollisionFixture() {
        ClearColliders();
        ResetSpringGravity();
    }
    ~CollisionFixture() override {
        ClearColliders();
        ResetSpringGravity();
        SetCollisionFirstUpdateQuery(nullptr);
    }
    SceneRegistry scene;
};

TEST_F(CollisionFixture, SphereReportsItsWorldCentreAndKeepsTheLastOne) {
    auto* bone = new CTransform("koshi");
    bone->SetTranslation(1.0f, 2.0f, 3.0f);
    bone->SetScale(2.0f, 2.0f, 2.0f);
    auto* sphere = new CCollisionSphere("ccLs", 0.5f);
    sphere->SetParent(bone);
    EXPECT_EQ(sphere->GetKind(), RT_COLLISION);
    AdvanceFrameStamp();
    ASSERT_TRUE(sphere->Report());
    ASSERT_EQ(GetColliderCount(), 1);
    const ColliderRecord& first = GetCollider(0);
    EXPECT_EQ(first.type, COLLIDER_SPHERE);
    EXPECT_FLOAT_EQ(first.radius, 1.0f);
    EXPECT_FLOAT_EQ(first.lengthOrRadiusSq, 1.0f);
    EXPECT_FLOAT_EQ(first.current[0], 1.0f);
    EXPECT_FLOAT_EQ(first.current[2], 3.0f);
    EXPECT_FLOAT_EQ(first.previous[0], 0.0f) << "the first frame starts from zero";

    bone->SetTranslation(4.0f, 2.0f, 3.0f);
    AdvanceFrameStamp();
    ASSERT_TRUE(sphere->Report());
    EXPECT_FLOAT_EQ(GetCollider(1).previous[0], 1.0f);
    EXPECT_FLOAT_EQ(GetCollider(1).current[0], 4.0f);
}

TEST_F(CollisionFixture, RaisedFlaggedCapsuleTiltsTheGravity) {
    struct Case {
        float rotationZ; // of the bone
        unsigned char flag;
        bool tilts;
    };
    // Local y (A to B is -y) turned about z: past a quarter turn B rises.
    const Case cases[] = {
        {0.0f, 1, false}, // B below A
        {3.0f, 1, true},  // B above A
        {3.0f, 0, false}, // not a thigh
        {1.4f, 1, false}, // just short of level: B still lower
        {1.8f, 1, true},  // just past level
    };
    for (const Case& c : cases) {
        ClearColliders();
        ResetSpringGravity();
        auto* bone = new CTransform("thigh");
        bone->SetRotation(0.0f, 0.0f, c.rotationZ);
        auto* capsule = new CCollisionCapsule("ccThigh", 0.3f, 2.0f, c.flag);
        capsule->SetParent(bone);
        AdvanceFrameStamp();
        ASSERT_TRUE(capsule->Report());
        const ColliderRecord& record = GetCollider(0);
        EXPECT_EQ(record.type, COLLIDER_CAPSULE);
        EXPECT_NEAR(record.radius, 0.3f, 1e-5f);
        EXPECT_NEAR(record.lengthOrRadiusSq, 2.0f, 1e-5f);
        EXPECT_NEAR(record.boundRadiusSq, 4.0f + 0.09f, 1e-4f);
        Vec3 axis(record.current[6], record.current[7], record.current[8]);
        const Vec3& g = GetSpringGravity();
        if (c.tilts) {
            EXPECT_NEAR(g.x, 0.27222222f * axis.x, 1e-6f) << c.rotationZ;
            EXPECT_NEAR(g.y, -0.27222222f, 1e-6f);
            EXPECT_NEAR(g.z, 0.27222222f * axis.z, 1e-6f);
            EXPECT_GT(std::abs(g.x), 0.01f);
        } else {
            EXPECT_FLOAT_EQ(g.x, 0.0f) << c.rotationZ << " " << (int)c.flag;
            EXPECT_FLOAT_EQ(g.y, SPRING_GRAVITY_DEFAULT_Y);
        }
        // Centre halfway between the ends.
        EXPECT_NEAR(record.current[9], (record.current[0] + record.current[3]) * 0.5f, 1e-6f);
        delete capsule;
        delete bone;
    }
}

TEST_F(CollisionFixture, TheListRefusesA256thRecord) {
    ColliderRecord filler{};
    for (int i = 0; i < MAX_COLLIDERS; ++i)
        ASSERT_TRUE(AddCollider(filler)) << i;
    CCollisionSphere sphere("ccCs2", 0.45f);
    EXPECT_FALSE(sphere.Report());
    CCollisionCapsule capsule("ccCc", 0.41f, 1.0f, 0);
    EXPECT_FALSE(capsule.Report());
    EXPECT_EQ(GetColliderCount(), MAX_COLLIDERS);
}

TEST_F(CollisionFixture, NodesReportOnlyInTheFirstUpdateOfAFrame) {
    static bool firstUpdate = false;
    SetCollisionFirstUpdateQuery([] { return firstUpdate; });
    CCollisionSphere sphere("ccRs", 0.637f);
    CCollisionCapsule capsule("ccCc", 0.41f, 1.0f, 0);
    for (bool first : {true, false, false}) {
        firstUpdate = first;
        sphere.Render();
        capsule.Render();
    }
    EXPECT_EQ(GetColliderCount(), 2);
}

} // namespace
