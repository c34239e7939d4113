#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/Random.h"
#include "engine/spring/ColliderList.h"
#include "engine/spring/SpringGravity.h"
#include "engine/spring/SpringSystem.h"

namespace {

struct Pos {
    float v[3];
};

TEST(SpringSystem, FreePointFallsOneFifthOfGravityPerSubstepWithoutAccelerating) {
    CSpringSystem springs;
    ASSERT_TRUE(springs.Allocate(1, 0));
    Pos p{{1, 2, 3}};
    ASSERT_EQ(springs.AddPoint(p.v), 0);
    const float perStep = SPRING_GRAVITY_DEFAULT_Y / 5.0f;
    for (int s = 1; s <= 4; ++s) {
        springs.Integrate();
        EXPECT_NEAR(p.v[1], 2.0f + s * perStep, 1e-5f) << "step " << s;
        EXPECT_FLOAT_EQ(p.v[0], 1.0f);
        EXPECT_FLOAT_EQ(p.v[2], 3.0f);
    }
}

TEST(SpringSystem, DampingCarriesThatShareOfTheVelocity) {
    CSpringSystem springs;
    springs.Allocate(1, 0);
    springs.SetDamping(0.5f);
    SetSpringGravity(Vec3(0, 0, 0));
    Pos p{{0, 0, 0}};
    springs.AddPoint(p.v);
    p.v[0] = 4; // moved by its owner: velocity 4
    springs.Integrate();
    EXPECT_FLOAT_EQ(p.v[0], 6.0f);
    springs.Integrate();
    EXPECT_FLOAT_EQ(p.v[0], 7.0f);
    ResetSpringGravity();
}

TEST(SpringSystem, ConstructionPutsGravityBackToDefault) {
    SetSpringGravity(Vec3(1, 1, 1));
    CSpringSystem springs;
    EXPECT_FLOAT_EQ(GetSpringGravity().x, 0.0f);
    EXPECT_FLOAT_EQ(GetSpringGravity().y, SPRING_GRAVITY_DEFAULT_Y);
    EXPECT_FLOAT_EQ(GetSpringGravity().z, 0.0f);
    EXPECT_EQ(springs.GetSubsteps(), 5);
    EXPECT_FLOAT_EQ(springs.GetDamping(), 0.0f);
}

TEST(SpringSystem, StretchedLinkReturnsToRestInOneRelaxation) {
    CSpringSystem springs;
    springs.Allocate(2, 1);
    Pos a{{0, 0, 0}}, b{{2, 0, 0}};
    springs.AddPoint(a.v);
    springs.AddPoint(b.v);
    ASSERT_TRUE(springs.AddLink(0, 1, 1.0f));
    EXPECT_FLOAT_EQ(springs.GetLink(0).restLength, 2.0f);
    EXPECT_FLOAT_EQ(springs.GetLink(0).stiffness, 0.5f);
    a.v[0] = -1;
    b.v[0] = 3; // 4 apart
    springs.RelaxLinks();
    EXPECT_FLOAT_EQ(a.v[0], 0.0f); // each end takes half the error
    EXPECT_FLOAT_EQ(b.v[0], 2.0f);
}

TEST(SpringSystem, LaterLinksSeeEarlierCorrections) {
    CSpringSystem springs;
    springs.Allocate(3, 2);
    Pos a{{0, 0, 0}}, b{{1, 0, 0}}, c{{2, 0, 0}};
    springs.AddPoint(a.v);
    springs.AddPoint(b.v);
    springs.AddPoint(c.v);
    springs.AddLink(0, 1, 1.0f);
    springs.AddLink(1, 2, 1.0f);
    b.v[0] = 2;
    c.v[0] = 3; // link 0 stretched to 2, link 1 at rest
    springs.RelaxLinks();
    EXPECT_FLOAT_EQ(a.v[0], 0.5f);
    // Link 1 sees b at 1.5 (not 2) and c at 3: it closes 1.5 towards 1.
    EXPECT_FLOAT_EQ(b.v[0], 1.75f);
    EXPECT_FLOAT_EQ(c.v[0], 2.75f);
}

TEST(SpringSystem, ZeroLengthLinkIsSkipped) {
    CSpringSystem springs;
    springs.Allocate(2, 1);
    Pos a{{0, 0, 0}}, b{{1, 0, 0}};
    springs.AddPoint(a.v);
    springs.AddPoint(b.v);
    springs.AddLink(0, 1, 1.0f);
    b.v[0] = 0;
    springs.RelaxLinks();
    EXPECT_FALSE(std::isnan(a.v[0]));
    EXPECT_FLOAT_EQ(a.v[0], 0.0f);
    EXPECT_FLOAT_EQ(b.v[0], 0.0f);
}

TEST(SpringSystem, SnapPinsOnlyLinksAtMostOneHundredthLong) {
    struct Case {
        float rest;
        bool pinned;
    } cases[] = {{0.0f, true}, {0.01f, true}, {0.011f, false}, {1.0f, false}};
    for (const Case& c : cases) {
        CSpringSystem springs;
        springs.Allocate(2, 1);
        Pos a{{0, 0, 0}}, b{{c.rest, 0, 0}};
        springs.AddPoint(a.v);
        springs.AddPoint(b.v);
        springs.AddLink(0, 1, 1.0f);
        a.v[1] = -5;
        b.v[2] = 7;
        springs.SnapShortLinks();
        if (c.pinned) {
            EXPECT_FLOAT_EQ(a.v[0], b.v[0]) << c.rest;
            EXPECT_FLOAT_EQ(a.v[1], b.v[1]) << c.rest;
            EXPECT_FLOAT_EQ(a.v[2], b.v[2]) << c.rest;
        } else {
            EXPECT_FLOAT_EQ(a.v[1], -5.0f) << c.rest;
        }
        EXPECT_FLOAT_EQ(b.v[2], 7.0f);
    }
}

TEST(SpringSystem, LinkAddedBeforeItsPointsTakesRestLengthOnReset) {
    CSpringSystem springs;
    springs.AllocateLinks(1);
    ASSERT_TRUE(springs.AddLink(0, 1, 1.0f)); // the model's table is read first
    EXPECT_FLOAT_EQ(springs.GetLink(0).restLength, 0.0f);
    // Not yet backed by points: neither relaxing nor snapping may touch it.
    springs.RelaxLinks();
    springs.SnapShortLinks();
    springs.AllocatePoints(2);
    Pos a{{0, 0, 0}}, b{{0, 3, 0}};
    springs.AddPoint(a.v);
    springs.AddPoint(b.v);
    springs.ResetRestLengths();
    EXPECT_FLOAT_EQ(springs.GetLink(0).restLength, 3.0f);
    EXPECT_FLOAT_EQ(springs.GetLink(0).stiffness, 0.5f);
}

TEST(SpringSystem, LinksNamingMissingPointsAreInertAndReported) {
    CSpringSystem springs;
    springs.Allocate(2, 3);
    Pos a{{0, 0, 0}}, b{{5, 0, 0}};
    springs.AddPoint(a.v);
    springs.AddPoint(b.v);
    springs.AddLink(0, 1, 1.0f);
    springs.AddLink(0, 7, 1.0f); // beyond the points: rest 0, would pin onto garbage
    EXPECT_FLOAT_EQ(springs.GetLink(1).restLength, 0.0f);
    EXPECT_TRUE(springs.LinksWithin(8));
    EXPECT_FALSE(springs.LinksWithin(7));
    springs.AddLink(-1, 1, 1.0f); // negative
    EXPECT_FALSE(springs.LinksWithin(8));
    springs.SnapShortLinks();
    springs.RelaxLinks();
    EXPECT_FLOAT_EQ(a.v[0], 0.0f);
    EXPECT_FLOAT_EQ(b.v[0], 5.0f);
    springs.ResetRestLengths();
    EXPECT_FLOAT_EQ(springs.GetLink(0).restLength, 5.0f);
    EXPECT_FLOAT_EQ(springs.GetLink(2).restLength, 0.0f);
}

TEST(SpringSystem, AddsBeyondCapacityAreRefused) {
    CSpringSystem springs;
    springs.Allocate(1, 1);
    Pos a{{0, 0, 0}}, b{{1, 0, 0}};
    EXPECT_EQ(springs.AddPoint(a.v), 0);
    EXPECT_EQ(springs.AddPoint(b.v), -1);
    EXPECT_EQ(springs.AddPoint(nullptr), -1);
    EXPECT_EQ(springs.GetPointCount(), 1);
    EXPECT_TRUE(springs.AddLink(0, 0, 1.0f));
    EXPECT_FALSE(springs.AddLink(0, 0, 1.0f));
    EXPECT_EQ(springs.GetLinkCount(), 1);
    EXPECT_FALSE(springs.Allocate(-1, 2));
    CSpringSystem empty;
    EXPECT_EQ(empty.AddPoint(a.v), -1);
    EXPECT_FALSE(empty.AddLink(0, 0, 1.0f));
    empty.Step();
    empty.SnapShortLinks();
}

TEST(SpringSystem, AssignCopiesPointsLinksAndSettings) {
    CSpringSystem springs;
    springs.Allocate(2, 1);
    springs.SetDamping(0.4f);
    Pos a{{0, 0, 0}}, b{{1, 0, 0}};
    springs.AddPoint(a.v);
    springs.AddPoint(b.v);
    springs.AddLink(0, 1, 2.0f);
    CSpringSystem copy;
    copy.Assign(springs);
    springs.Release();
    EXPECT_EQ(springs.GetPointCount(), 0);
    ASSERT_EQ(copy.GetPointCount(), 2);
    ASSERT_EQ(copy.GetLinkCount(), 1);
    EXPECT_EQ(copy.GetPoint(1).position, b.v);
    EXPECT_FLOAT_EQ(copy.GetLink(0).stiffness, 1.0f);
    EXPECT_FLOAT_EQ(copy.GetDamping(), 0.4f);
    b.v[0] = 3;
    copy.RelaxLinks(); // stiffness 1: all the error at once, shared
    EXPECT_FLOAT_EQ(b.v[0] - a.v[0], -1.0f);
}

TEST(SpringSystem, FrameSubstepsAreCappedAtThreeTimesTheNominalCount) {
    struct Case {
        float frameMs;
        int asked;
        int run;
    } cases[] = {
        {0.0f, 1, 1},     {3.0f, 1, 1},  {3.4f, 2, 2},           {16.67f, 6, 6},
        {200.0f, 61, 15}, {-5.0f, 1, 1}, {1.0e30f, 1000001, 15}, {NAN, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CSpringSystem::RequestedSubsteps(c.frameMs, 5), c.asked) << c.frameMs;
        EXPECT_EQ(CSpringSystem::FrameSubsteps(c.frameMs, 5), c.run) << c.frameMs;
    }
}

ColliderRecord Sphere(float x, float y, float z, float r) {
    ColliderRecord c{};
    c.type = COLLIDER_SPHERE;
    c.radius = r;
    c.lengthOrRadiusSq = r * r;
    c.previous[0] = c.current[0] = x;
    c.previous[1] = c.current[1] = y;
    c.previous[2] = c.current[2] = z;
    return c;
}

ColliderRecord CapsuleY(float length, float r) {
    ColliderRecord c{};
    c.type = COLLIDER_CAPSULE;
    c.radius = r;
    c.lengthOrRadiusSq = length;
    float half = length / 2 + r;
    c.boundRadiusSq = half * half;
    float place[12] = {0, 0, 0, 0, length, 0, 0, 1, 0, 0, length / 2, 0};
    for (int i = 0; i < 12; ++i)
        c.previous[i] = c.current[i] = place[i];
    return c;
}

ColliderRecord CapsuleAt(float x, float y, float z, float length, float r) {
    ColliderRecord c = CapsuleY(length, r);
    const float shift[3] = {x, y, z};
    for (int k = 0; k < 3; ++k) {
        c.previous[k] = c.current[k] = c.previous[k] + shift[k];             // end A
        c.previous[3 + k] = c.current[3 + k] = c.previous[3 + k] + shift[k]; // end B
        c.previous[9 + k] = c.current[9 + k] = c.previous[9 + k] + shift[k]; // centre
    }
    return c;
}

// The batch must give every position exactly what pushing it alone gives.
void ExpectBatchMatchesOneByOne(const std::vector<float>& start, int stride) {
    std::vector<float> alone = start, batch = start;
    const int count = int(start.size()) / stride;
    for (int v = 0; v < count; ++v)
        PushOutOfColliders(&alone[size_t(v) * stride]);
    PushAllOutOfColliders(batch.data(), count, stride);
    for (size_t i = 0; i < start.size(); ++i) {
        if (std::isnan(alone[i]))
            EXPECT_TRUE(std::isnan(batch[i])) << "float " << i;
        else
            EXPECT_EQ(batch[i], alone[i]) << "float " << i;
    }
}

TEST(ColliderList, BatchPushGivesWhatOnePositionAtATimeGives) {
    struct Case {
        const char* what;
        unsigned seed;
        float spread; // positions in a cube this wide about the origin
        int stride;
        bool strip; // in order along the cube's diagonal, as a mesh's neighbours lie
    } cases[] = {
        {"a cloud among the colliders", 7, 6.0f, 3, false},
        {"a small cloud, most colliders far off", 11, 1.5f, 3, false},
        {"vertex layout: extra floats between positions", 13, 6.0f, 14, false},
        {"a strip through the colliders, blocks of neighbours", 17, 16.0f, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeedRand(c.seed);
        ClearColliders();
        for (int i = 0; i < 40; ++i) {
            const float x = (RandUnit() - 0.5f) * 16.0f, y = (RandUnit() - 0.5f) * 16.0f;
            const float z = (RandUnit() - 0.5f) * 16.0f, r = 0.3f + RandUnit() * 1.5f;
            ASSERT_TRUE(AddCollider(i % 2 ? Sphere(x, y, z, r) : CapsuleAt(x, y, z, 1.0f + RandUnit() * 3.0f, r)));
        }
        PlaceColliders(0.0f);
        std::vector<float> start(size_t(500) * c.stride);
        for (size_t i = 0; i < start.size(); ++i) {
            const float along = float(i / size_t(c.stride)) / 500.0f - 0.5f;
            start[i] = c.strip ? along * c.spread + (RandUnit() - 0.5f) * 0.5f : (RandUnit() - 0.5f) * c.spread;
        }
        start[5 * size_t(c.stride)] = std::nanf(""); // one position that is not a number
        ExpectBatchMatchesOneByOne(start, c.stride);
    }
    ClearColliders();
}

// A push can carry a position out of the box round all of them and into a
// collider that box never reached: that collider must still move it.
TEST(ColliderList, BatchFollowsAPositionPushedOutOfTheirBox) {
    ClearColliders();
    ASSERT_TRUE(AddCollider(Sphere(0, 0, 0, 2)));    // pushes (0.5, 0, 0) to (2, 0, 0)
    ASSERT_TRUE(AddCollider(Sphere(3, 0, 0, 1.5f))); // holds (2, 0, 0), far from both positions
    PlaceColliders(0.0f);
    std::vector<float> start = {0.5f, 0, 0, -0.5f, 0.2f, 0};
    ExpectBatchMatchesOneByOne(start, 3);
    std::vector<float> batch = start;
    PushAllOutOfColliders(batch.data(), 2, 3);
    EXPECT_NEAR(batch[0], 1.5f, 1e-5f); // out of the second sphere, towards its -x side
    ClearColliders();
}

TEST(ColliderList, HoldsAtMost255Records) {
    ClearColliders();
    ColliderRecord s = Sphere(0, 0, 0, 1);
    for (int i = 0; i < MAX_COLLIDERS; ++i)
        ASSERT_TRUE(AddCollider(s));
    EXPECT_FALSE(AddCollider(s));
    EXPECT_EQ(GetColliderCount(), MAX_COLLIDERS);
    ClearColliders();
    EXPECT_EQ(GetColliderCount(), 0);
}

TEST(ColliderList, PushesPositionsOutOfSpheresAndCapsules) {
    struct Case {
        const char* what;
        ColliderRecord collider;
        float in[3];
        float out[3];
    } cases[] = {
        {"inside sphere", Sphere(0, 0, 0, 2), {1, 0, 0}, {2, 0, 0}},
        {"outside sphere", Sphere(0, 0, 0, 2), {3, 0, 0}, {3, 0, 0}},
        {"sphere centre", Sphere(0, 0, 0, 2), {0, 0, 0}, {0, 0, 0}},
        {"inside capsule", CapsuleY(4, 1), {0.5f, 1, 0}, {1, 1, 0}},
        {"capsule axis", CapsuleY(4, 1), {0, 1, 0}, {0, 1, 0}},
        {"beyond end B", CapsuleY(4, 1), {0.2f, 4.5f, 0}, {0.2f, 4.5f, 0}},
        {"on end A", CapsuleY(4, 1), {0.2f, 0, 0}, {0.2f, 0, 0}},
        {"outside radius", CapsuleY(4, 1), {1.5f, 2, 0}, {1.5f, 2, 0}},
    };
    for (const Case& c : cases) {
        ClearColliders();
        AddCollider(c.collider);
        PlaceColliders(0.0f);
        float p[3] = {c.in[0], c.in[1], c.in[2]};
        PushOutOfColliders(p);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(p[k], c.out[k], 1e-5f) << c.what << " axis " << k;
    }
    ClearColliders();
}

TEST(ColliderList, PlacementIsInterpolatedPerSubstep) {
    ClearColliders();
    ColliderRecord s = Sphere(0, 0, 0, 1);
    s.current[0] = 4;
    AddCollider(s);
    PlaceColliders(0.25f);
    EXPECT_FLOAT_EQ(GetCollider(0).scratch[0], 1.0f);
    float p[3] = {1.5f, 0, 0};
    PushOutOfColliders(p);
    EXPECT_FLOAT_EQ(p[0], 2.0f);

    ClearColliders();
    ColliderRecord cap = CapsuleY(4, 1);
    cap.previous[6] = 1; // axis turning from +x to +y: halfway it is renormalised
    cap.previous[7] = 0;
    AddCollider(cap);
    PlaceColliders(0.5f);
    const float* axis = GetCollider(0).scratch + 6;
    EXPECT_NEAR(std::sqrt(axis[0] * axis[0] + axis[1] * axis[1]), 1.0f, 1e-6f);
    ClearColliders();
}

} // namespace
