#include "engine/math/Matrix.h"

#include <cmath>

#include "engine/math/Vec3.h"

void CMatrix::SetIdentity() { D3DXMatrixIdentity(this); }

void CMatrix::Transpose() { D3DXMatrixTranspose(this, this); }

void CMatrix::Invert() { D3DXMatrixInverse(this, nullptr, this); }

CMatrix& CMatrix::GetInverse(CMatrix& out) const {
    D3DXMatrixInverse(&out, nullptr, this);
    return out;
}

void CMatrix::SetPerspectiveFovRH(float fovY, float aspect, float zNear, float zFar) {
    float cot = 1.0f / std::tan(fovY / 2.0f);
    for (auto& row : m)
        for (float& e : row)
            e = 0.0f;
    m[0][0] = cot / aspect;
    m[1][1] = cot;
    m[2][2] = zFar / (zNear - zFar);
    m[2][3] = -1.0f;
    m[3][2] = zNear * zFar / (zNear - zFar);
}

void CMatrix::SetOrthoRH(float width, float height, float zNear, float zFar) {
    D3DXMatrixOrthoRH(this, width, height, zNear, zFar);
}

void CMatrix::SetLookAtRH(const Vec3& eye, const Vec3& at, const Vec3& up) { D3DXMatrixLookAtRH(this, &eye, &at, &up); }

void CMatrix::SetTranslation(float x, float y, float z) { D3DXMatrixTranslation(this, x, y, z); }

void CMatrix::SetRotationZ(float angle) { D3DXMatrixRotationZ(this, angle); }

void CMatrix::SetRotationXYZ(float rx, float ry, float rz) {
    D3DXMATRIX x, y, z;
    D3DXMatrixRotationX(&x, rx);
    D3DXMatrixRotationY(&y, ry);
    D3DXMatrixRotationZ(&z, rz);
    D3DXMatrixMultiply(this, &x, &y);
    D3DXMatrixMultiply(this, this, &z);
}

CMatrix& CMatrix::PreMultiply(CMatrix& out, const CMatrix& mat) const {
    D3DXMatrixMultiply(&out, &mat, this);
    return out;
}

void CMatrix::SetRotationArc(const Vec3& from, const Vec3& to) {
    Vec3 c;
    Vec3::Cross(c, from, to);
    float onePlusDot = 1.0f + Vec3::Dot(from, to);
    float qx, qy, qz, qw;
    if (onePlusDot > 1e-6f) {
        float s = std::sqrt(2.0f * onePlusDot);
        qx = c.x / s;
        qy = c.y / s;
        qz = c.z / s;
        qw = s / 2.0f;
    } else {
        // Opposite directions: every axis at right angles is a shortest arc;
        // take a half turn about one of them instead of dividing by zero.
        Vec3 axis;
        Vec3::Cross(axis, from, std::fabs(from.x) < 0.9f ? Vec3(1, 0, 0) : Vec3(0, 1, 0));
        axis.Normalize();
        qx = axis.x;
        qy = axis.y;
        qz = axis.z;
        qw = 0.0f;
    }
    SetIdentity();
    m[0][0] = 1 - 2 * (qy * qy + qz * qz);
    m[0][1] = 2 * (qx * qy + qz * qw);
    m[0][2] = 2 * (qx * qz - qy * qw);
    m[1][0] = 2 * (qx * qy - qz * qw);
    m[1][1] = 1 - 2 * (qx * qx + qz * qz);
    m[1][2] = 2 * (qy * qz + qx * qw);
    m[2][0] = 2 * (qx * qz + qy * qw);
    m[2][1] = 2 * (qy * qz - qx * qw);
    m[2][2] = 1 - 2 * (qx * qx + qy * qy);
}
