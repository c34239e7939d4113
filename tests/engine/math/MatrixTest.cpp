#include <gtest/gtest.h>

#include <cmath>

#include "engine/math/Geometry2D.h"
#include "engine/math/Matrix.h"
#include "engine/math/MatrixStack.h"
#include "engine/math/Vec3.h"

namespace {

constexpr float PI = 3.14159265358979f;

void ExpectVec(const Vec3& v, float x, float y, float z, float tol = 1e-5f) {
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

TEST(Matrix, PerspectiveFovRH) {
    CMatrix m;
    m.SetPerspectiveFovRH(PI / 2, 1, 1, 100);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float want = 0;
            if (r == c && r < 2)
                want = 1;
            if ((r == 2 && c == 2) || (r == 3 && c == 2))
                want = -100.0f / 99.0f;
            if (r == 2 && c == 3)
                want = -1;
            EXPECT_NEAR(m(r, c), want, 1e-6) << r << "," << c;
        }
}

TEST(Matrix, RotationXYZAppliesXFirstAndPreMultiplyOrder) {
    CMatrix m;
    m.SetRotationXYZ(PI / 2, PI / 2, 0);
    Vec3 v(0, 1, 0); // x turns +y to +z, then y turns +z to +x
    v.TransformCoord(m);
    ExpectVec(v, 1, 0, 0);

    CMatrix t, s, out;
    t.SetTranslation(1, 0, 0);
    s.SetRotationZ(PI / 2);
    s.PreMultiply(out, t); // t first, then the rotation
    Vec3 o(0, 0, 0);
    o.TransformCoord(out);
    ExpectVec(o, 0, 1, 0);

    CMatrix inv;
    out.GetInverse(inv);
    o.TransformCoord(inv);
    ExpectVec(o, 0, 0, 0);
    out.Invert();
    Vec3 p(0, 1, 0);
    p.TransformCoord(out);
    ExpectVec(p, 0, 0, 0);
}

TEST(Matrix, RotationArcTurnsFromOntoTo) {
    struct Case {
        Vec3 from, to;
    } cases[] = {
        {{1, 0, 0}, {0, 1, 0}},  {{0, 0, 1}, {0.6f, 0, 0.8f}},
        {{0, 1, 0}, {0, 1, 0}},  {{1, 0, 0}, {-1, 0, 0}}, // opposite: a half turn, not NaN
        {{0, 0, -1}, {0, 0, 1}}, {{0.8f, 0.6f, 0}, {-0.8f, -0.6f, 0}},
    };
    for (const Case& c : cases) {
        CMatrix m;
        m.SetRotationArc(c.from, c.to);
        Vec3 v = c.from;
        v.TransformNormal(m);
        ExpectVec(v, c.to.x, c.to.y, c.to.z, 1e-5f);
        // A rotation keeps lengths: rows stay unit.
        for (int r = 0; r < 3; ++r)
            EXPECT_NEAR(m(r, 0) * m(r, 0) + m(r, 1) * m(r, 1) + m(r, 2) * m(r, 2), 1.0f, 1e-5);
    }
}

TEST(Vec3, BasicsAndZeroNormalize) {
    Vec3 a(1, 2, 3), b(4, 5, 6), c;
    EXPECT_FLOAT_EQ(Vec3::Dot(a, b), 32);
    Vec3::Cross(c, a, b);
    ExpectVec(c, -3, 6, -3);
    a += b;
    ExpectVec(a, 5, 7, 9);
    EXPECT_FLOAT_EQ(Vec3(2, 3, 6).Length(), 7);
    Vec3 z;
    z.Normalize();
    ExpectVec(z, 0, 0, 0);
    Vec4 w(0, 0, 0, 0);
    w.Normalize();
    EXPECT_EQ(w.x, 0);
}

TEST(MatrixStack, AccumulatesOnTopAndSurvivesBadCapacity) {
    for (int capacity : {4, 1, 0, -3}) {
        CMatrixStack stack(capacity);
        stack.RotateZ(PI / 2);
        stack.Translate(1, 0, 0); // translation pre-applied: point moves first, then turns
        Vec3 o(0, 0, 0);
        o.TransformCoord(stack.Top());
        ExpectVec(o, 0, 1, 0);
        stack.RotateX(0);
        stack.RotateY(0);
    }
}

TEST(Geometry2D, DirectionToPitchYaw) {
    struct Case {
        Vec3 d;
        float pitch, yaw;
    } cases[] = {
        {{0, 0, 1}, 0, 0},
        {{1, 0, 0}, 0, PI / 2},
        {{0, -1, 0}, PI / 2, 0},
        {{0, 1, -1}, -PI / 4, PI},
    };
    for (const Case& c : cases) {
        float pitch, yaw;
        DirectionToPitchYaw(pitch, yaw, c.d);
        EXPECT_NEAR(pitch, c.pitch, 1e-6);
        EXPECT_NEAR(yaw, c.yaw, 1e-6);
    }
}

TEST(Geometry2D, PlanarDetourPoint) {
    Vec3 out(9, 9, 9);
    EXPECT_TRUE(PlanarDetourPoint(&out, {0, 0, -100}, {0, 0, 100}, {10, 0, 0}, 40));
    ExpectVec(out, -38, 0, 0);
    EXPECT_TRUE(PlanarDetourPoint(nullptr, {0, 0, -100}, {0, 0, 100}, {10, 0, 0}, 40));

    struct Miss {
        Vec3 from, to, centre;
        float radius;
    } misses[] = {
        {{0, 0, -100}, {0, 0, 100}, {10, 0, 0}, 5},  // line misses
        {{0, 0, 0}, {0, 0, 0.5f}, {0, 0, 0.2f}, 40}, // shorter than 1
        {{0, 0, -10}, {0, 0, 100}, {0, 0, 0}, 40},   // starts inside
        {{0, 0, -100}, {0, 0, 10}, {0, 0, 0}, 40},   // ends inside
        {{0, 0, -100}, {0, 0, -60}, {0, 0, 0}, 40},  // ends at the circle's edge
        {{0, 0, 100}, {0, 0, 200}, {0, 0, 0}, 40},   // circle behind
    };
    for (const Miss& m : misses) {
        Vec3 untouched(7, 7, 7);
        EXPECT_FALSE(PlanarDetourPoint(&untouched, m.from, m.to, m.centre, m.radius));
        ExpectVec(untouched, 7, 7, 7);
    }

    // Straight through the centre: a point 1.2 radii out, square to the way.
    EXPECT_TRUE(PlanarDetourPoint(&out, {0, 5, -100}, {0, 5, 100}, {0, 0, 0}, 10));
    ExpectVec(out, 12, 0, 0);
}

} // namespace
