#include <gtest/gtest.h>

#include <cmath>

#include "platform/d3dx/D3dxMath.h"

namespace {

constexpr float PI = 3.14159265358979f;

void ExpectMatrix(const D3DXMATRIX& m, const float (&want)[16], float tol = 1e-5f) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i / 4][i % 4], want[i], tol) << "element " << i / 4 << "," << i % 4;
}

TEST(D3dxMath, RotationsFollowRowVectorConvention) {
    // Turning +x by a quarter turn about z gives +y; about y gives -z; +y about x gives +z.
    D3DXMATRIX m;
    D3DXVECTOR3 v = {1, 0, 0}, r;
    D3DXVec3TransformCoord(&r, &v, D3DXMatrixRotationZ(&m, PI / 2));
    EXPECT_NEAR(r.x, 0, 1e-6);
    EXPECT_NEAR(r.y, 1, 1e-6);
    EXPECT_NEAR(r.z, 0, 1e-6);
    D3DXVec3TransformCoord(&r, &v, D3DXMatrixRotationY(&m, PI / 2));
    EXPECT_NEAR(r.x, 0, 1e-6);
    EXPECT_NEAR(r.y, 0, 1e-6);
    EXPECT_NEAR(r.z, -1, 1e-6);
    v = {0, 1, 0};
    D3DXVec3TransformCoord(&r, &v, D3DXMatrixRotationX(&m, PI / 2));
    EXPECT_NEAR(r.x, 0, 1e-6);
    EXPECT_NEAR(r.y, 0, 1e-6);
    EXPECT_NEAR(r.z, 1, 1e-6);
}

TEST(D3dxMath, MultiplyAppliesFirstArgumentFirstAndMayAlias) {
    D3DXMATRIX t, s, ts;
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 2, 2);
    D3DXMatrixMultiply(&ts, &t, &s); // translate, then scale
    D3DXVECTOR3 o = {0, 0, 0}, r;
    D3DXVec3TransformCoord(&r, &o, &ts);
    EXPECT_FLOAT_EQ(r.x, 2);
    EXPECT_FLOAT_EQ(r.y, 4);
    EXPECT_FLOAT_EQ(r.z, 6);
    D3DXMatrixMultiply(&t, &t, &s);
    ExpectMatrix(t, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 2, 4, 6, 1});
}

TEST(D3dxMath, InverseOfGeneralMatrixAndSingularRefusal) {
    D3DXMATRIX a = {{{2, 0, 1, 0}, {1, 3, 0, 0}, {0, 1, 4, 0}, {5, -2, 7, 1}}};
    D3DXMATRIX inv, prod;
    float det = 0;
    ASSERT_NE(D3DXMatrixInverse(&inv, &det, &a), nullptr);
    EXPECT_NEAR(det, 25.0f, 1e-4); // 2*(12-0) - 0 + 1*(1-0)
    D3DXMatrixMultiply(&prod, &a, &inv);
    ExpectMatrix(prod, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-5f);

    D3DXMATRIX singular = {{{1, 2, 3, 4}, {2, 4, 6, 8}, {0, 1, 0, 0}, {0, 0, 0, 1}}};
    D3DXMATRIX untouched;
    D3DXMatrixIdentity(&untouched);
    EXPECT_EQ(D3DXMatrixInverse(&untouched, nullptr, &singular), nullptr);
    ExpectMatrix(untouched, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

TEST(D3dxMath, ProjectionAndViewMatrices) {
    D3DXMATRIX m;
    D3DXMatrixOrthoRH(&m, 640, 480, 1, 101);
    ExpectMatrix(m, {2.0f / 640, 0, 0, 0, 0, 2.0f / 480, 0, 0, 0, 0, -0.01f, 0, 0, 0, -0.01f, 1});

    D3DXMatrixPerspectiveFovRH(&m, PI / 2, 1, 1, 100);
    ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -100.0f / 99, -1, 0, 0, -100.0f / 99, 0});

    // Eye at +z looking at the origin: the view keeps axes and moves the eye to the origin.
    D3DXVECTOR3 eye = {0, 0, 5}, at = {0, 0, 0}, up = {0, 1, 0};
    D3DXMatrixLookAtRH(&m, &eye, &at, &up);
    ExpectMatrix(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1});
    // Eye on +x: the world's -z is the view's right... the eye's own axes in the rows.
    eye = {3, 0, 0};
    D3DXMatrixLookAtRH(&m, &eye, &at, &up);
    D3DXVECTOR3 p = {0, 0, -1}, r;
    D3DXVec3TransformCoord(&r, &p, &m);
    EXPECT_NEAR(r.x, 1, 1e-6);
    EXPECT_NEAR(r.y, 0, 1e-6);
    EXPECT_NEAR(r.z, -3, 1e-6);
}

TEST(D3dxMath, VectorTransformsAndNormalize) {
    D3DXMATRIX m = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0.5f}, {10, 20, 30, 1}}};
    D3DXVECTOR3 v = {2, 4, 2}, r;
    D3DXVec3TransformCoord(&r, &v, &m); // w = 2 * 0.5 + 1 = 2
    EXPECT_FLOAT_EQ(r.x, 6);
    EXPECT_FLOAT_EQ(r.y, 12);
    EXPECT_FLOAT_EQ(r.z, 16);
    D3DXVec3TransformNormal(&r, &v, &m);
    EXPECT_FLOAT_EQ(r.x, 2);
    EXPECT_FLOAT_EQ(r.y, 4);
    EXPECT_FLOAT_EQ(r.z, 2);
    D3DXVECTOR4 v4 = {1, 1, 2, 1}, r4;
    D3DXVec4Transform(&r4, &v4, &m);
    EXPECT_FLOAT_EQ(r4.x, 11);
    EXPECT_FLOAT_EQ(r4.w, 2);

    v = {3, 0, 4};
    D3DXVec3Normalize(&r, &v);
    EXPECT_FLOAT_EQ(r.x, 0.6f);
    EXPECT_FLOAT_EQ(r.z, 0.8f);
    v = {0, 0, 0};
    D3DXVec3Normalize(&r, &v);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 0);
    EXPECT_EQ(r.z, 0);
    D3DXVECTOR4 z4 = {0, 0, 0, 0};
    D3DXVec4Normalize(&r4, &z4);
    EXPECT_EQ(r4.x, 0);
    EXPECT_EQ(r4.w, 0);
}

} // namespace
