#pragma once
#include "platform/d3dx/D3dxMath.h"

struct Vec3;

// A 4 × 4 float matrix in the Direct3D layout: element (r, c) at 4r + c, points
// as row vectors on the left, so A × B applies A first.
struct CMatrix : D3DXMATRIX {
    CMatrix() { SetIdentity(); }

    float& operator()(int r, int c) { return m[r][c]; }
    float operator()(int r, int c) const { return m[r][c]; }

    void SetIdentity();
    void Transpose();
    // A singular matrix is left as it is.
    void Invert();
    CMatrix& GetInverse(CMatrix& out) const;
    void SetPerspectiveFovRH(float fovY, float aspect, float zNear, float zFar);
    void SetOrthoRH(float width, float height, float zNear, float zFar);
    void SetLookAtRH(const Vec3& eye, const Vec3& at, const Vec3& up);
    void SetTranslation(float x, float y, float z);
    void SetRotationZ(float angle);
    // RotX(rx) × RotY(ry) × RotZ(rz): x applied first.
    void SetRotationXYZ(float rx, float ry, float rz);
    // out = m × this (m applied first).
    CMatrix& PreMultiply(CMatrix& out, const CMatrix& m) const;
    // The shortest-arc rotation turning the unit vector from onto the unit vector to.
    void SetRotationArc(const Vec3& from, const Vec3& to);
};
