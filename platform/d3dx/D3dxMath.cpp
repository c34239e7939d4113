#include "platform/d3dx/D3dxMath.h"

#include <cmath>
#include <cstring>

namespace {

D3DXVECTOR3 Sub(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

void Zero(D3DXMATRIX* out) { std::memset(out, 0, sizeof *out); }

} // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    Zero(out);
    out->m[0][0] = out->m[1][1] = out->m[2][2] = out->m[3][3] = 1.0f;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = m1->m[i][0] * m2->m[0][j] + m1->m[i][1] * m2->m[1][j] + m1->m[i][2] * m2->m[2][j] +
                        m1->m[i][3] * m2->m[3][j];
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m) {
    // Cofactor expansion in double precision; the 2×2 sub-determinants of the
    // top and bottom row pairs are shared.
    const float* a = &m->m[0][0];
    double s0 = (double)a[0] * a[5] - (double)a[4] * a[1];
    double s1 = (double)a[0] * a[6] - (double)a[4] * a[2];
    double s2 = (double)a[0] * a[7] - (double)a[4] * a[3];
    double s3 = (double)a[1] * a[6] - (double)a[5] * a[2];
    double s4 = (double)a[1] * a[7] - (double)a[5] * a[3];
    double s5 = (double)a[2] * a[7] - (double)a[6] * a[3];
    double c5 = (double)a[10] * a[15] - (double)a[14] * a[11];
    double c4 = (double)a[9] * a[15] - (double)a[13] * a[11];
    double c3 = (double)a[9] * a[14] - (double)a[13] * a[10];
    double c2 = (double)a[8] * a[15] - (double)a[12] * a[11];
    double c1 = (double)a[8] * a[14] - (double)a[12] * a[10];
    double c0 = (double)a[8] * a[13] - (double)a[12] * a[9];
    double det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (determinant)
        *determinant = (float)det;
    if (det == 0.0 || !std::isfinite(det))
        return nullptr;
    double k = 1.0 / det;
    float r[16];
    r[0] = (float)((a[5] * c5 - a[6] * c4 + a[7] * c3) * k);
    r[1] = (float)((-a[1] * c5 + a[2] * c4 - a[3] * c3) * k);
    r[2] = (float)((a[13] * s5 - a[14] * s4 + a[15] * s3) * k);
    r[3] = (float)((-a[9] * s5 + a[10] * s4 - a[11] * s3) * k);
    r[4] = (float)((-a[4] * c5 + a[6] * c2 - a[7] * c1) * k);
    r[5] = (float)((a[0] * c5 - a[2] * c2 + a[3] * c1) * k);
    r[6] = (float)((-a[12] * s5 + a[14] * s2 - a[15] * s1) * k);
    r[7] = (float)((a[8] * s5 - a[10] * s2 + a[11] * s1) * k);
    r[8] = (float)((a[4] * c4 - a[5] * c2 + a[7] * c0) * k);
    r[9] = (float)((-a[0] * c4 + a[1] * c2 - a[3] * c0) * k);
    r[10] = (float)((a[12] * s4 - a[13] * s2 + a[15] * s0) * k);
    r[11] = (float)((-a[8] * s4 + a[9] * s2 - a[11] * s0) * k);
    r[12] = (float)((-a[4] * c3 + a[5] * c1 - a[6] * c0) * k);
    r[13] = (float)((a[0] * c3 - a[1] * c1 + a[2] * c0) * k);
    r[14] = (float)((-a[12] * s3 + a[13] * s1 - a[14] * s0) * k);
    r[15] = (float)((a[8] * s3 - a[9] * s1 + a[10] * s0) * k);
    std::memcpy(out, r, sizeof r);
    return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
    D3DXMATRIX r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = m->m[j][i];
    *out = r;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->m[0][0] = x;
    out->m[1][1] = y;
    out->m[2][2] = z;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[1][1] = c;
    out->m[1][2] = s;
    out->m[2][1] = -s;
    out->m[2][2] = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][2] = -s;
    out->m[2][0] = s;
    out->m[2][2] = c;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    D3DXMatrixIdentity(out);
    out->m[0][0] = c;
    out->m[0][1] = s;
    out->m[1][0] = -s;
    out->m[1][1] = c;
    return out;
}

D3DXMATRIX* D3DXMatrixOrthoRH(D3DXMATRIX* out, float width, float height, float zn, float zf) {
    D3DXMatrixIdentity(out);
    out->m[0][0] = 2.0f / width;
    out->m[1][1] = 2.0f / height;
    out->m[2][2] = 1.0f / (zn - zf);
    out->m[3][2] = zn / (zn - zf);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveFovRH(D3DXMATRIX* out, float fovY, float aspect, float zn, float zf) {
    float yScale = 1.0f / std::tan(fovY / 2.0f);
    Zero(out);
    out->m[0][0] = yScale / aspect;
    out->m[1][1] = yScale;
    out->m[2][2] = zf / (zn - zf);
    out->m[2][3] = -1.0f;
    out->m[3][2] = zn * zf / (zn - zf);
    return out;
}

D3DXMATRIX* D3DXMatrixLookAtRH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up) {
    D3DXVECTOR3 zaxis = Sub(*eye, *at);
    D3DXVec3Normalize(&zaxis, &zaxis);
    D3DXVECTOR3 xaxis = Cross(*up, zaxis);
    D3DXVec3Normalize(&xaxis, &xaxis);
    D3DXVECTOR3 yaxis = Cross(zaxis, xaxis);
    D3DXMatrixIdentity(out);
    out->m[0][0] = xaxis.x;
    out->m[0][1] = yaxis.x;
    out->m[0][2] = zaxis.x;
    out->m[1][0] = xaxis.y;
    out->m[1][1] = yaxis.y;
    out->m[1][2] = zaxis.y;
    out->m[2][0] = xaxis.z;
    out->m[2][1] = yaxis.z;
    out->m[2][2] = zaxis.z;
    out->m[3][0] = -Dot(xaxis, *eye);
    out->m[3][1] = -Dot(yaxis, *eye);
    out->m[3][2] = -Dot(zaxis, *eye);
    return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
    float len = std::sqrt(Dot(*v, *v));
    if (len == 0.0f || !std::isfinite(len)) {
        *out = {0.0f, 0.0f, 0.0f};
        return out;
    }
    *out = {v->x / len, v->y / len, v->z / len};
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const float(*a)[4] = m->m;
    float x = v->x * a[0][0] + v->y * a[1][0] + v->z * a[2][0] + a[3][0];
    float y = v->x * a[0][1] + v->y * a[1][1] + v->z * a[2][1] + a[3][1];
    float z = v->x * a[0][2] + v->y * a[1][2] + v->z * a[2][2] + a[3][2];
    float w = v->x * a[0][3] + v->y * a[1][3] + v->z * a[2][3] + a[3][3];
    *out = {x / w, y / w, z / w};
    return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const float(*a)[4] = m->m;
    D3DXVECTOR3 r = {v->x * a[0][0] + v->y * a[1][0] + v->z * a[2][0], v->x * a[0][1] + v->y * a[1][1] + v->z * a[2][1],
                     v->x * a[0][2] + v->y * a[1][2] + v->z * a[2][2]};
    *out = r;
    return out;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
    const float(*a)[4] = m->m;
    float in[4] = {v->x, v->y, v->z, v->w};
    float r[4];
    for (int j = 0; j < 4; ++j)
        r[j] = in[0] * a[0][j] + in[1] * a[1][j] + in[2] * a[2][j] + in[3] * a[3][j];
    *out = {r[0], r[1], r[2], r[3]};
    return out;
}

D3DXVECTOR4* D3DXVec4Normalize(D3DXVECTOR4* out, const D3DXVECTOR4* v) {
    float len = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z + v->w * v->w);
    if (len == 0.0f || !std::isfinite(len)) {
        *out = {0.0f, 0.0f, 0.0f, 0.0f};
        return out;
    }
    *out = {v->x / len, v->y / len, v->z / len, v->w / len};
    return out;
}
