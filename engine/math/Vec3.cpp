#include "engine/math/Vec3.h"

#include <cmath>

#include "engine/math/Matrix.h"

void Vec3::Normalize() { D3DXVec3Normalize(this, this); }

void Vec3::TransformCoord(const CMatrix& m) { D3DXVec3TransformCoord(this, this, &m); }

void Vec3::TransformNormal(const CMatrix& m) { D3DXVec3TransformNormal(this, this, &m); }

float Vec3::Length() const { return std::sqrt(x * x + y * y + z * z); }

float Vec3::Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3& Vec3::Cross(Vec3& out, const Vec3& a, const Vec3& b) {
    Vec3 r(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    out = r;
    return out;
}

Vec3& Vec3::operator+=(const Vec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

void Vec4::Transform(const CMatrix& m) { D3DXVec4Transform(this, this, &m); }

void Vec4::Normalize() { D3DXVec4Normalize(this, this); }
