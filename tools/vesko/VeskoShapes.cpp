#include "tools/vesko/VeskoShapes.h"

#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;

float Smooth(float t) { return t * t * (3 - 2 * t); }

// The ellipse of the stations at height y, blended smoothly between the two
// around it.
Station StationAt(const std::vector<Station>& stations, float y) {
    if (y >= stations.front().y)
        return stations.front();
    for (size_t i = 1; i < stations.size(); ++i)
        if (y >= stations[i].y) {
            const Station& a = stations[i - 1];
            const Station& b = stations[i];
            float t = a.y == b.y ? 0 : Smooth((a.y - y) / (a.y - b.y));
            return {y, a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t, a.rx + (b.rx - a.rx) * t,
                    a.rz + (b.rz - a.rz) * t};
        }
    return stations.back();
}

MeshPoint Add(MeshPoint a, MeshPoint b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
MeshPoint Sub(MeshPoint a, MeshPoint b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
MeshPoint Scale(MeshPoint a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float Dot(MeshPoint a, MeshPoint b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
MeshPoint Cross(MeshPoint a, MeshPoint b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
MeshPoint Unit(MeshPoint a) {
    float l = std::sqrt(Dot(a, a));
    return l > 0 ? Scale(a, 1 / l) : MeshPoint{0, 1, 0};
}
MeshPoint Transform(MeshPoint p, const CMatrix& m) {
    return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
            p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
            p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

} // namespace

bool AddTubeBand(CMeshBuilder& mesh, const std::vector<Station>& stations, float yTop, float yBottom, int around,
                 int along, float vTop, float vPerUnit, float v0, float inflate, BulgeFn bulge) {
    if (stations.size() < 2 || !(yTop > yBottom))
        return false;
    return mesh.AddSurface(around, along, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float y = yTop + (yBottom - yTop) * t;
        Station e = StationAt(stations, y);
        float a = 2 * PI * s;
        float extra = inflate + (bulge ? bulge(y, s) : 0.0f);
        // Closed ends stay closed.
        float grow = e.rx > 0 || e.rz > 0 ? extra : 0.0f;
        p = {e.x + (e.rx + grow) * std::sin(a), y, e.z - (e.rz + grow) * std::cos(a)};
        u = s;
        v = v0 + (vTop - y) * vPerUnit;
    });
}

bool AddTube(CMeshBuilder& mesh, const std::vector<Station>& stations, int around, int along, float vTop,
             float vPerUnit, float v0, float inflate, BulgeFn bulge, float s0, float s1) {
    if (stations.size() < 2)
        return false;
    const float yTop = stations.front().y, yBottom = stations.back().y;
    return mesh.AddSurface(around, along, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float y = yTop + (yBottom - yTop) * t;
        Station e = StationAt(stations, y);
        float ss = s0 + (s1 - s0) * s;
        float a = 2 * PI * ss;
        float extra = inflate + (bulge ? bulge(y, ss) : 0.0f);
        float grow = e.rx > 0 || e.rz > 0 ? extra : 0.0f;
        p = {e.x + (e.rx + grow) * std::sin(a), y, e.z - (e.rz + grow) * std::cos(a)};
        u = ss;
        v = v0 + (vTop - y) * vPerUnit;
    });
}

bool AddEllipsoid(CMeshBuilder& mesh, MeshPoint r, const CMatrix& placement, int around, int rings, float v0,
                  float v1) {
    return mesh.AddSurface(around, rings, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float a = 2 * PI * s, lat = PI / 2 - PI * t;
        MeshPoint q{r.x * std::cos(lat) * std::sin(a), r.y * std::sin(lat), -r.z * std::cos(lat) * std::cos(a)};
        p = Transform(q, placement);
        u = s;
        v = v0 + (v1 - v0) * t;
    });
}

bool AddRing(CMeshBuilder& mesh, float radius, float tube, float flat, const CMatrix& placement, int around,
             int sides) {
    return mesh.AddSurface(around, sides, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float a = 2 * PI * s, b = 2 * PI * t;
        float r = radius + tube * std::cos(b);
        MeshPoint q{r * std::sin(a), -tube * flat * std::sin(b), -r * std::cos(a)};
        p = Transform(q, placement);
        u = s;
        v = t;
    });
}

bool AddStrand(CMeshBuilder& mesh, const std::vector<MeshPoint>& path, float r0, float r1, float flat, MeshPoint side,
               int around, int along) {
    if (path.size() < 2)
        return false;
    std::vector<float> at(path.size(), 0.0f);
    for (size_t i = 1; i < path.size(); ++i)
        at[i] = at[i - 1] + std::sqrt(Dot(Sub(path[i], path[i - 1]), Sub(path[i], path[i - 1])));
    const float total = at.back();
    if (!(total > 0))
        return false;
    return mesh.AddSurface(around, along, [&](float s, float t, MeshPoint& p, float& u, float& v) {
        float d = t * total;
        size_t k = 1;
        while (k + 1 < path.size() && at[k] < d)
            ++k;
        float f = at[k] > at[k - 1] ? (d - at[k - 1]) / (at[k] - at[k - 1]) : 0.0f;
        MeshPoint c = Add(path[k - 1], Scale(Sub(path[k], path[k - 1]), f));
        MeshPoint dir = Unit(Sub(path[k], path[k - 1]));
        MeshPoint across = Unit(Sub(side, Scale(dir, Dot(side, dir))));
        MeshPoint depth = Cross(dir, across);
        // Rounded tip: the radius falls off over the last part.
        float r = r0 + (r1 - r0) * t;
        if (r1 <= 0)
            r = r0 * (1 - 0.35f * t) * std::sqrt(std::fmax(0.0f, 1 - t * t * t * t));
        float a = 2 * PI * s;
        p = Add(c, Add(Scale(across, r * std::sin(a)), Scale(depth, -r * flat * std::cos(a))));
        u = s;
        v = t;
    });
}

CMatrix Place(MeshPoint at, MeshPoint rotation, MeshPoint scale) {
    CMatrix s, rx, ry, rz, t, m, out;
    D3DXMatrixScaling(&s, scale.x, scale.y, scale.z);
    D3DXMatrixRotationX(&rx, rotation.x);
    D3DXMatrixRotationY(&ry, rotation.y);
    D3DXMatrixRotationZ(&rz, rotation.z);
    D3DXMatrixTranslation(&t, at.x, at.y, at.z);
    D3DXMatrixMultiply(&m, &s, &rx);
    D3DXMatrixMultiply(&out, &m, &ry);
    D3DXMatrixMultiply(&m, &out, &rz);
    D3DXMatrixMultiply(&out, &m, &t);
    return out;
}
