#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/math/Matrix.h"
#include "engine/spring/ColliderList.h"
#include "engine/spring/DynamicSkin.h"
#include "engine/spring/SpringGravity.h"

namespace {

constexpr float FALL = -0.8166667f / 5.0f; // one sub-step of default gravity
constexpr float FRAME_MS = 12.0f;          // a frame of four sub-steps (12 / 3.333 + 1)

// Two-weight vertices: position, normal, 2 weights, 4 indices, uv (14 floats).
struct Mesh {
    std::vector<float> bind;
    std::vector<float> work;
    int count = 0;

    void Add(float x, float y, float z, int bone0, float w0, int bone1 = 0, float w1 = 0.0f) {
        float v[14] = {x, y, z, 0, 1, 0, w0, w1, 3.0f * bone0, 3.0f * bone1, 0, 0, 0, 0};
        bind.insert(bind.end(), v, v + 14);
        work.insert(work.end(), v, v + 14);
        ++count;
    }
    const float* Pos(int v) const { return &work[size_t(v) * 14]; }
    const float* Normal(int v) const { return &work[size_t(v) * 14 + 3]; }
};

CMatrix Translate(float x, float y, float z) {
    CMatrix m;
    m.SetTranslation(x, y, z);
    return m;
}

void ExpectPos(const float* p, float x, float y, float z, const char* what) {
    EXPECT_NEAR(p[0], x, 1e-4f) << what;
    EXPECT_NEAR(p[1], y, 1e-4f) << what;
    EXPECT_NEAR(p[2], z, 1e-4f) << what;
}

class DynamicSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSpringGravity();
        ClearColliders();
    }
    void TearDown() override { ClearColliders(); }
};

TEST_F(DynamicSkinTest, WithoutDynamicsBoneItIsRigidSkinning) {
    Mesh mesh;
    mesh.Add(1, 0, 0, 0, 1.0f);
    mesh.Add(0, 1, 0, 0, 0.5f, 1, 0.5f);
    CDynamicSkin skin(2);
    CMatrix bones[2] = {Translate(0, 10, 0), Translate(4, 0, 0)};
    CMatrix turn;
    turn.SetRotationZ(3.14159265f / 2);
    bones[1] = turn;
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
        ExpectPos(mesh.Pos(0), 1, 10, 0, "on bone 0");
        // Half of (0, 11, 0) and half of (0, 1, 0) turned a quarter about z (-1, 0, 0).
        ExpectPos(mesh.Pos(1), -0.5f, 5.5f, 0, "shared");
        ExpectPos(mesh.Normal(1), -0.5f, 0.5f, 0, "normal, not renormalised");
    }
    EXPECT_TRUE(skin.IsInitialised());
}

TEST_F(DynamicSkinTest, DynamicVertexFallsPerSubstepAndTheCapHolds) {
    struct Case {
        float frameMs;
        int substeps;
    } cases[] = {{FRAME_MS, 4}, {0.0f, 1}, {200.0f, 15}};
    for (const Case& c : cases) {
        Mesh mesh;
        mesh.Add(0, 0, 0, 0, 1.0f);
        mesh.Add(2, 5, 0, 1, 1.0f);
        CDynamicSkin skin(3 - 1); // two weights
        skin.SetDynamicsBone(1);
        CMatrix bones[2] = {CMatrix(), CMatrix()};
        // The first frame binds the solver; its targets hold the whole skinned
        // place, so a vertex far from the body part's own place reads as a jump.
        ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, c.frameMs));
        ExpectPos(mesh.Pos(1), 2, 5, 0, "bound in its rigid place");
        for (int frame = 1; frame <= 2; ++frame) {
            ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, c.frameMs));
            ExpectPos(mesh.Pos(0), 0, 0, 0, "rigid vertex stays");
            ExpectPos(mesh.Pos(1), 2, 5 + frame * c.substeps * FALL, 0, "free vertex falls, no acceleration");
        }
    }
}

TEST_F(DynamicSkinTest, JumpFrameSnapsToTheRigidPose) {
    Mesh mesh;
    mesh.Add(0, 0, 0, 0, 1.0f);
    mesh.Add(0, -1, 0, 0, 0.5f, 1, 0.5f);
    CDynamicSkin skin(2);
    skin.SetDynamicsBone(1);
    CMatrix bones[2] = {CMatrix(), CMatrix()};
    ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    // Half on the body: pulled back towards its place, sagging a little.
    EXPECT_NEAR(mesh.Pos(1)[1], -1.0f, 0.25f);
    EXPECT_NEAR(mesh.Pos(1)[0], 0.0f, 1e-5f);

    // The body moves 3 units in one frame (body bone and dynamics bone alike).
    bones[0] = Translate(3, 0, 0);
    bones[1] = Translate(3, 0, 0);
    ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    ExpectPos(mesh.Pos(0), 3, 0, 0, "rigid");
    ExpectPos(mesh.Pos(1), 3, -1, 0, "dynamic part in its rigid skinned place");

    // A move just under 3 units is no jump: the dynamic part lags.
    bones[0] = Translate(5.9f, 0, 0);
    bones[1] = Translate(5.9f, 0, 0);
    ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    ExpectPos(mesh.Pos(0), 5.9f, 0, 0, "rigid");
    EXPECT_GT(std::abs(mesh.Pos(1)[0] - 5.9f), 0.01f);
}

// Vertices on the dynamics bone (weight 1 at index 3) except vertex 0.
std::vector<float> Chain(int weights, const float (*points)[3], int count) {
    std::vector<float> bind;
    for (int v = 0; v < count; ++v) {
        float vert[16] = {points[v][0], points[v][1], points[v][2], 0, 1, 0};
        vert[6] = 1.0f;
        vert[6 + weights] = v == 0 ? 0.0f : 3.0f;
        bind.insert(bind.end(), vert, vert + 12 + weights);
    }
    return bind;
}

TEST_F(DynamicSkinTest, LinksHoldTheHangingPart) {
    const float points[2][3] = {{0, 0, 0}, {0, -1, 0}};
    const int32_t table[] = {1, -1, -1};
    for (int weights : {2, 3, 4}) {
        SCOPED_TRACE(weights);
        std::vector<float> bind = Chain(weights, points, 2), work = bind;
        CDynamicSkin skin(weights);
        ASSERT_TRUE(skin.ReadLinkTable(table, 3));
        skin.SetDynamicsBone(1);
        CMatrix bones[2] = {CMatrix(), CMatrix()};
        for (int frame = 0; frame < 30; ++frame)
            ASSERT_TRUE(skin.Update(bind.data(), work.data(), 2, bones, 2, FRAME_MS));
        const float* p1 = &work[size_t(12 + weights)];
        // Free, it would have fallen 30 × 4 sub-steps; the link keeps it close.
        EXPECT_LT(p1[1], -1.0f);
        EXPECT_GT(p1[1], -2.0f);
        EXPECT_FLOAT_EQ(work[1], 0.0f); // the body vertex stays in its place
    }
}

TEST_F(DynamicSkinTest, HangingChainSettles) {
    // A body vertex with three dynamic vertices hanging below it in a chain.
    const float points[4][3] = {{0, 0, 0}, {0, -1, 0}, {0, -2, 0}, {0, -3, 0}};
    const int32_t table[] = {1, -1, 2, -1, 3, -1, -1};
    for (int weights : {2, 3, 4}) {
        SCOPED_TRACE(weights);
        std::vector<float> bind = Chain(weights, points, 4), work = bind;
        const int stride = 12 + weights;
        CDynamicSkin skin(weights);
        ASSERT_TRUE(skin.ReadLinkTable(table, 7));
        skin.SetDynamicsBone(1);
        CMatrix bones[2] = {CMatrix(), CMatrix()};
        std::vector<float> before;
        float moved = 0.0f;
        for (int frame = 0; frame < 300; ++frame) {
            before = work;
            ASSERT_TRUE(skin.Update(bind.data(), work.data(), 4, bones, 2, FRAME_MS));
            moved = 0.0f;
            for (int v = 0; v < 4; ++v)
                for (int c = 0; c < 3; ++c)
                    moved = std::max(moved, std::abs(work[size_t(v * stride + c)] - before[size_t(v * stride + c)]));
        }
        EXPECT_LT(moved, 1e-4f) << "still moving after 300 frames";
        // Straight down, in order, each link stretched a little but not torn.
        float above = 0.0f;
        for (int v = 1; v < 4; ++v) {
            const float* p = &work[size_t(v * stride)];
            EXPECT_NEAR(p[0], 0.0f, 1e-5f);
            EXPECT_NEAR(p[2], 0.0f, 1e-5f);
            EXPECT_LT(p[1], above - 1.0f + 1e-4f);
            EXPECT_GT(p[1], above - 2.0f);
            above = p[1];
        }
    }
}

TEST_F(DynamicSkinTest, PointCreatedOnAnotherIsPinnedToItEveryFrame) {
    const float points[3][3] = {{0, 0, 0}, {0, -1, 0}, {0, -1, 0.005f}};
    const int32_t table[] = {1, -1, 2, -1, -1}; // 0-1, and 1-2 of rest length 0.005
    std::vector<float> bind = Chain(2, points, 3), work = bind;
    CDynamicSkin skin(2);
    ASSERT_TRUE(skin.ReadLinkTable(table, 5));
    skin.SetDynamicsBone(1);
    CMatrix bones[2] = {CMatrix(), CMatrix()};
    for (int frame = 0; frame < 5; ++frame) {
        ASSERT_TRUE(skin.Update(bind.data(), work.data(), 3, bones, 2, FRAME_MS));
        const float* p1 = &work[14];
        const float* p2 = &work[28];
        EXPECT_FLOAT_EQ(p1[0], p2[0]);
        EXPECT_FLOAT_EQ(p1[1], p2[1]);
        EXPECT_FLOAT_EQ(p1[2], p2[2]);
    }
}

TEST_F(DynamicSkinTest, CollidersPushDynamicVerticesOut) {
    Mesh mesh;
    mesh.Add(0, 0, 0, 1, 1.0f);
    CDynamicSkin skin(2);
    skin.SetDynamicsBone(1);
    CMatrix bones[2] = {CMatrix(), CMatrix()};
    ColliderRecord sphere{};
    sphere.type = COLLIDER_SPHERE;
    sphere.radius = 2.0f;
    sphere.lengthOrRadiusSq = 4.0f;
    sphere.previous[0] = sphere.current[0] = -1.0f;
    ASSERT_TRUE(AddCollider(sphere));
    ASSERT_TRUE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    // The first sub-step falls, then is pushed out along (1, FALL) from the
    // centre onto the surface; the other three fall freely outside it.
    const float* p = mesh.Pos(0);
    float len = std::sqrt(1.0f + FALL * FALL);
    EXPECT_NEAR(p[0], -1.0f + 2.0f / len, 1e-4f);
    EXPECT_NEAR(p[1], 2.0f * FALL / len + 3 * FALL, 1e-4f);
    float dx = p[0] + 1.0f, dy = p[1];
    EXPECT_GE(dx * dx + dy * dy, 4.0f - 1e-3f);
}

TEST_F(DynamicSkinTest, DataThatDoesNotFitIsRefusedWithoutWriting) {
    Mesh mesh;
    mesh.Add(0, 0, 0, 0, 1.0f);
    mesh.Add(1, 0, 0, 2, 1.0f); // bone 2 of two
    CMatrix bones[2] = {Translate(5, 5, 5), CMatrix()};
    CDynamicSkin skin(2);
    EXPECT_FALSE(skin.Fits(mesh.bind.data(), mesh.count, 2));
    std::vector<float> before = mesh.work;
    EXPECT_FALSE(skin.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    EXPECT_EQ(mesh.work, before);
    EXPECT_TRUE(skin.Fits(mesh.bind.data(), mesh.count, 3));

    Mesh negative;
    negative.Add(0, 0, 0, -1, 1.0f);
    EXPECT_FALSE(skin.Fits(negative.bind.data(), 1, 2));

    CDynamicSkin linked(2);
    const int32_t beyond[] = {5, -1};
    ASSERT_TRUE(linked.ReadLinkTable(beyond, 2));
    Mesh two;
    two.Add(0, 0, 0, 0, 1.0f);
    two.Add(0, 1, 0, 0, 1.0f);
    EXPECT_FALSE(linked.Fits(two.bind.data(), two.count, 1));
    EXPECT_FALSE(linked.Update(two.bind.data(), two.work.data(), two.count, bones, 1, FRAME_MS));

    CDynamicSkin table(2);
    const int32_t bad[] = {1, -2, -1};
    const int32_t open[] = {1, -1, 0};
    EXPECT_FALSE(table.ReadLinkTable(bad, 3));
    EXPECT_FALSE(table.ReadLinkTable(open, 3));
    EXPECT_TRUE(table.ReadLinkTable(nullptr, 0));
}

TEST_F(DynamicSkinTest, AnInstanceDrawnWithItsOwnVerticesBindsToThem) {
    Mesh mesh;
    mesh.Add(0, 0, 0, 0, 1.0f);
    mesh.Add(0, 0, 0, 1, 1.0f);
    CDynamicSkin templ(2);
    templ.SetDynamicsBone(1);
    CMatrix bones[2] = {CMatrix(), CMatrix()};
    ASSERT_TRUE(templ.Update(mesh.bind.data(), mesh.work.data(), mesh.count, bones, 2, FRAME_MS));
    std::vector<float> templateWork = mesh.work;

    CDynamicSkin instance(2);
    instance.Assign(templ);
    EXPECT_EQ(instance.GetDynamicsBone(), 1);
    Mesh own = mesh;
    own.work = own.bind;
    ASSERT_TRUE(instance.Update(own.bind.data(), own.work.data(), own.count, bones, 2, FRAME_MS));
    EXPECT_EQ(mesh.work, templateWork); // the template's vertices are not touched
    EXPECT_LT(own.Pos(1)[1], 0.0f);
}

} // namespace
