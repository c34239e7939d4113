#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "character/hair/HairRig.h"
#include "engine/core/FrameStamp.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Bone.h"
#include "engine/scene/Transform.h"
#include "engine/spring/SpringGravity.h"

namespace {

constexpr const char* SCOPE = "::s";

// A head with her seven strands, each bone 0.3 from its parent and pointing
// sideways (+x for the left, -x for the right, -z for the back), so that
// gravity has something to do. Names in skip are left out.
struct HairScene {
    explicit HairScene(std::set<std::string> skip = {}, float endLength = 0.3f) : saved(CurrentResourceManager) {
        CurrentResourceManager = &registry;
        SetDefaultParent(nullptr);
        body = new CTransform((std::string("body") + SCOPE).c_str());
        body->SetTranslation(0.0f, 100.0f, 0.0f);
        CTransform* head = skip.count("head") ? body : Bone("head", body, 0.0f, 10.0f, 0.0f);
        struct Strand {
            std::vector<const char*> bones;
            float x, z;
        } strands[] = {
            {{"hairMomiL", "hairMomiLm", "hairMomiLe"}, 0.3f, 0.0f},
            {{"hairMomiR", "hairMomiRm", "hairMomiRe"}, -0.3f, 0.0f},
            {{"hairBackLA", "hairBackLAe"}, 0.0f, -0.3f},
            {{"hairBackRA", "hairBackRAe"}, 0.0f, -0.3f},
            {{"hairBackLB", "hairBackLBe"}, 0.0f, -0.3f},
            {{"hairBackRB", "hairBackRBe"}, 0.0f, -0.3f},
            {{"hairBackC", "hairBackCe"}, 0.0f, -0.3f},
        };
        for (const Strand& strand : strands) {
            CTransform* parent = head;
            for (const char* name : strand.bones) {
                if (skip.count(name))
                    break;
                const bool root = parent == head;
                const bool end = name[std::strlen(name) - 1] == 'e';
                const float scale = end ? endLength / 0.3f : 1.0f;
                parent = Bone(name, parent, root ? 0.1f : strand.x * scale, root ? 0.5f : 0.0f,
                              root ? 0.0f : strand.z * scale);
            }
        }
        AdvanceFrameStamp();
    }
    ~HairScene() {
        SetDefaultParent(nullptr);
        CurrentResourceManager = saved;
    }
    CTransform* Bone(const char* name, CTransform* parent, float x, float y, float z) {
        auto* bone = new CBone((std::string(name) + SCOPE).c_str());
        parent->AddChild(bone);
        bone->SetTranslation(x, y, z);
        return bone;
    }
    CTransform* Find(const char* name) {
        return dynamic_cast<CTransform*>(registry.Find((std::string(name) + SCOPE).c_str(), RT_BONE));
    }
    void Step(HairRig& rig, int frames) {
        for (int i = 0; i < frames; ++i) {
            AdvanceFrameStamp();
            ResetSpringGravity();
            rig.Update();
        }
    }

    CResourceManager* saved;
    CResourceManager registry;
    CTransform* body;
};

int Index(const char* name) {
    for (int i = 0; i < HairRig::BONE_COUNT; ++i)
        if (std::string(HairRig::BoneName(i)) == name)
            return i;
    return -1;
}

float Horizontal(const Vec3& a, const Vec3& b) { return std::hypot(a.x - b.x, a.z - b.z); }

} // namespace

TEST(HairRig, SetUpBindsSixteenPointsAndNineLinks) {
    HairScene scene;
    HairRig rig;
    ASSERT_TRUE(rig.SetUp(SCOPE));
    EXPECT_EQ(rig.GetSprings().GetPointCount(), 16);
    EXPECT_EQ(rig.GetSprings().GetLinkCount(), 9);
    EXPECT_FLOAT_EQ(rig.GetSprings().GetDamping(), 0.4f);
    EXPECT_EQ(rig.GetSprings().GetSubsteps(), CSpringSystem::DEFAULT_SUBSTEPS);
    // Points start at the bones' world places; links rest at their distances.
    const Vec3& tip = rig.GetPoint(Index("hairMomiLe"));
    EXPECT_NEAR(tip.x, 0.1f + 0.6f, 1e-4f);
    EXPECT_NEAR(tip.y, 110.5f, 1e-4f);
    EXPECT_NEAR(rig.GetSprings().GetLink(0).restLength, 0.3f, 1e-4f);
}

TEST(HairRig, StandingStillTheStrandsSettleBelowTheirRootsAndTheBonesHangDown) {
    HairScene scene;
    HairRig rig;
    ASSERT_TRUE(rig.SetUp(SCOPE));
    scene.Step(rig, 40);
    struct Case {
        const char* root;
        const char* end;
        float length;
    } cases[] = {{"hairMomiL", "hairMomiLe", 0.6f},
                 {"hairMomiR", "hairMomiRe", 0.6f},
                 {"hairBackLA", "hairBackLAe", 0.3f},
                 {"hairBackC", "hairBackCe", 0.3f}};
    for (const Case& c : cases) {
        // Below where the animation holds the root (the root's point itself
        // is pinned there at the start of every sub-step).
        const CMatrix& world = scene.Find(c.root)->GetWorldMatrix();
        const Vec3 root(world(3, 0), world(3, 1), world(3, 2));
        const Vec3& end = rig.GetPoint(Index(c.end));
        EXPECT_LT(end.y, root.y - 0.85f * c.length) << c.end;
        EXPECT_LT(Horizontal(end, root), 0.1f * c.length) << c.end;
    }
    // A turned root carries its child's rest direction (+x) onto straight down.
    CMatrix local = scene.Find("hairMomiL")->GetLocalMatrix();
    Vec3 rest(1.0f, 0.0f, 0.0f);
    rest.TransformNormal(local);
    EXPECT_NEAR(rest.y, -1.0f, 0.02f);
    // Its translation stays its rest offset.
    EXPECT_NEAR(local(3, 0), 0.1f, 1e-5f);
    EXPECT_NEAR(local(3, 1), 0.5f, 1e-5f);
    // The end bones are never turned.
    const CMatrix& end = scene.Find("hairMomiLe")->GetLocalMatrix();
    EXPECT_FLOAT_EQ(end(0, 0), 1.0f);
    EXPECT_FLOAT_EQ(end(1, 1), 1.0f);
}

TEST(HairRig, AQuickMoveSwingsTheLocksBehindAndTheyComeBack) {
    HairScene scene;
    HairRig rig;
    ASSERT_TRUE(rig.SetUp(SCOPE));
    scene.Step(rig, 40);
    const int root = Index("hairMomiL");
    const int end = Index("hairMomiLe");
    const float before = Horizontal(rig.GetPoint(end), rig.GetPoint(root));
    scene.body->SetTranslation(3.0f, 100.0f, 0.0f);
    scene.Step(rig, 1);
    // The tip lags: it is left behind on the side she came from.
    EXPECT_LT(rig.GetPoint(end).x, rig.GetPoint(root).x - 0.1f);
    EXPECT_GT(Horizontal(rig.GetPoint(end), rig.GetPoint(root)), before + 0.1f);
    scene.Step(rig, 60);
    EXPECT_LT(Horizontal(rig.GetPoint(end), rig.GetPoint(root)), 0.06f);
    EXPECT_LT(rig.GetPoint(end).y, rig.GetPoint(root).y - 0.5f);
}

TEST(HairRig, AVeryShortLinkPutsItsFirstPointOntoItsSecond) {
    HairScene scene({}, 0.005f);
    HairRig rig;
    ASSERT_TRUE(rig.SetUp(SCOPE));
    scene.Step(rig, 3);
    const Vec3& middle = rig.GetPoint(Index("hairMomiLm"));
    const Vec3& tip = rig.GetPoint(Index("hairMomiLe"));
    EXPECT_FLOAT_EQ(middle.x, tip.x);
    EXPECT_FLOAT_EQ(middle.y, tip.y);
    EXPECT_FLOAT_EQ(middle.z, tip.z);
}

TEST(HairRig, MissingBonesAreSkippedAndAMissingHeadLeavesTheRigIdle) {
    {
        HairScene scene({"head"});
        HairRig rig;
        EXPECT_FALSE(rig.SetUp(SCOPE));
        rig.Update();
        EXPECT_FALSE(rig.IsSetUp());
    }
    HairScene scene({"hairMomiRm", "hairBackCe"});
    HairRig rig;
    ASSERT_TRUE(rig.SetUp(SCOPE));
    // R–Rm, Rm–Re and C–Ce are gone.
    EXPECT_EQ(rig.GetSprings().GetLinkCount(), 6);
    const CMatrix untouched = scene.Find("hairBackC")->GetLocalMatrix();
    scene.Step(rig, 40);
    const Vec3& root = rig.GetPoint(Index("hairMomiL"));
    EXPECT_LT(rig.GetPoint(Index("hairMomiLe")).y, root.y - 0.5f);
    const CMatrix& after = scene.Find("hairBackC")->GetLocalMatrix();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_FLOAT_EQ(after(r, c), untouched(r, c));
    // The lone root of a broken strand is not left falling.
    EXPECT_TRUE(std::isfinite(rig.GetPoint(Index("hairMomiRm")).y));
}
