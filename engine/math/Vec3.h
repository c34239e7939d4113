#pragma once
#include "platform/d3dx/D3dxMath.h"

struct CMatrix;

// Three floats; the layout of the D3DX vector, so it passes straight to it.
struct Vec3 : D3DXVECTOR3 {
    Vec3() : D3DXVECTOR3{0.0f, 0.0f, 0.0f} {}
    Vec3(float x_, float y_, float z_) : D3DXVECTOR3{x_, y_, z_} {}

    // A zero vector stays zero.
    void Normalize();
    void TransformCoord(const CMatrix& m);
    void TransformNormal(const CMatrix& m);
    float Length() const;
    static float Dot(const Vec3& a, const Vec3& b);
    static Vec3& Cross(Vec3& out, const Vec3& a, const Vec3& b);
    Vec3& operator+=(const Vec3& o);
};

struct Vec4 : D3DXVECTOR4 {
    Vec4() : D3DXVECTOR4{0.0f, 0.0f, 0.0f, 0.0f} {}
    Vec4(float x_, float y_, float z_, float w_) : D3DXVECTOR4{x_, y_, z_, w_} {}

    void Transform(const CMatrix& m);
    void Normalize();
};
