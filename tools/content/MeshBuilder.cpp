#include "tools/content/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/chunk/ChunkEnums.h"
#include "engine/core/LittleEndian.h"

namespace {
constexpr float PI = 3.14159265358979f;

MeshPoint Sub(MeshPoint a, MeshPoint b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
MeshPoint Cross(MeshPoint a, MeshPoint b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(MeshPoint a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
MeshPoint Add(MeshPoint a, MeshPoint b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
MeshPoint Scaled(MeshPoint a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(MeshPoint a, MeshPoint b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
MeshPoint Normalised(MeshPoint a) {
    float l = Length(a);
    return l > 0 ? MeshPoint{a.x / l, a.y / l, a.z / l} : MeshPoint{0, 1, 0};
}

void AppendFloat(std::vector<uint8_t>& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    AppendLe32(out, bits);
}
} // namespace

void CMeshBuilder::SetColour(float r, float g, float b, float a) {
    m_colour[0] = r;
    m_colour[1] = g;
    m_colour[2] = b;
    m_colour[3] = a;
}

int CMeshBuilder::AddVertex(MeshPoint p, MeshPoint n, float u, float v) {
    MeshVertex vertex{p, n, {m_colour[0], m_colour[1], m_colour[2], m_colour[3]}, u, v, m_skin};
    m_vertices.push_back(vertex);
    return int(m_vertices.size()) - 1;
}

void CMeshBuilder::AddTriangle(int a, int b, int c) {
    m_indices.push_back(uint16_t(a));
    m_indices.push_back(uint16_t(b));
    m_indices.push_back(uint16_t(c));
}

void CMeshBuilder::AddQuad(MeshPoint p0, MeshPoint p1, MeshPoint p2, MeshPoint p3, MeshUv uv) {
    MeshPoint n = Normalised(Cross(Sub(p1, p0), Sub(p3, p0)));
    float u1 = 1, v0 = 1;
    if (uv.unit > 0) {
        u1 = Length(Sub(p1, p0)) / uv.unit;
        v0 = Length(Sub(p3, p0)) / uv.unit;
    }
    int a = AddVertex(p0, n, 0, v0);
    int b = AddVertex(p1, n, u1, v0);
    int c = AddVertex(p2, n, u1, 0);
    int d = AddVertex(p3, n, 0, 0);
    AddTriangle(a, b, c);
    AddTriangle(a, c, d);
}

void CMeshBuilder::AddQuad(MeshPoint p0, MeshPoint p1, MeshPoint p2, MeshPoint p3, float u0, float v0, float u1,
                           float v1) {
    MeshPoint n = Normalised(Cross(Sub(p1, p0), Sub(p3, p0)));
    int a = AddVertex(p0, n, u0, v1);
    int b = AddVertex(p1, n, u1, v1);
    int c = AddVertex(p2, n, u1, v0);
    int d = AddVertex(p3, n, u0, v0);
    AddTriangle(a, b, c);
    AddTriangle(a, c, d);
}

void CMeshBuilder::AddBox(MeshPoint lo, MeshPoint hi, MeshUv uv, int faceMask, bool inward) {
    // Each face counter-clockwise seen from outside, bottom edge first.
    struct Face {
        int bit;
        MeshPoint p[4];
    };
    const Face faces[] = {
        {1, {{lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}}},
        {2, {{hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}}},
        {4, {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}}},
        {8, {{lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}}},
        {16, {{hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}}},
        {32, {{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}},
    };
    for (const Face& f : faces) {
        if (!(faceMask & f.bit))
            continue;
        if (inward)
            AddQuad(f.p[1], f.p[0], f.p[3], f.p[2], uv);
        else
            AddQuad(f.p[0], f.p[1], f.p[2], f.p[3], uv);
    }
}

void CMeshBuilder::AddCylinder(float x, float z, float radius, float y0, float y1, int segments, bool inward,
                               bool topCap, bool bottomCap, MeshUv uv) {
    float uRepeat = uv.unit > 0 ? 2 * PI * radius / uv.unit : uv.around;
    float vRepeat = uv.unit > 0 ? (y1 - y0) / uv.unit : 1.0f;
    int first = VertexCount();
    for (int i = 0; i <= segments; ++i) {
        float a = 2 * PI * float(i) / float(segments);
        float s = std::sin(a), c = std::cos(a);
        MeshPoint n = inward ? MeshPoint{-s, 0, -c} : MeshPoint{s, 0, c};
        float u = uRepeat * float(i) / float(segments);
        AddVertex({x + radius * s, y0, z + radius * c}, n, u, vRepeat);
        AddVertex({x + radius * s, y1, z + radius * c}, n, u, 0);
    }
    for (int i = 0; i < segments; ++i) {
        int b0 = first + 2 * i, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
        // Angle grows counter-clockwise seen from above; outside faces go
        // b0 b1 t1 seen from outside.
        if (inward) {
            AddTriangle(b1, b0, t0);
            AddTriangle(b1, t0, t1);
        } else {
            AddTriangle(b0, b1, t1);
            AddTriangle(b0, t1, t0);
        }
    }
    if (topCap)
        AddDisc(x, z, radius, y1, segments, !inward);
    if (bottomCap)
        AddDisc(x, z, radius, y0, segments, inward);
}

void CMeshBuilder::AddDisc(float x, float z, float radius, float y, int segments, bool facingUp) {
    MeshPoint n = facingUp ? MeshPoint{0, 1, 0} : MeshPoint{0, -1, 0};
    int centre = AddVertex({x, y, z}, n, 0.5f, 0.0f);
    int first = VertexCount();
    for (int i = 0; i <= segments; ++i) {
        float a = 2 * PI * float(i) / float(segments);
        AddVertex({x + radius * std::sin(a), y, z + radius * std::cos(a)}, n, float(i) / float(segments), 0.02f);
    }
    for (int i = 0; i < segments; ++i) {
        // Seen from above, angle order is counter-clockwise.
        if (facingUp)
            AddTriangle(centre, first + i, first + i + 1);
        else
            AddTriangle(centre, first + i + 1, first + i);
    }
}

namespace {
float Determinant3(const CMatrix& m) {
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) - m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

bool IsIdentity(const CMatrix& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m(r, c) != (r == c ? 1.0f : 0.0f))
                return false;
    return true;
}

bool Finite(float value) { return std::isfinite(value); }

// Twice the signed area; positive for a counter-clockwise outline.
float OutlineArea(const std::vector<OutlinePoint>& outline) {
    float area = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const OutlinePoint& a = outline[i];
        const OutlinePoint& b = outline[(i + 1) % outline.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area;
}

float Cross2(OutlinePoint o, OutlinePoint a, OutlinePoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool InTriangle(OutlinePoint p, OutlinePoint a, OutlinePoint b, OutlinePoint c) {
    return Cross2(a, b, p) >= 0 && Cross2(b, c, p) >= 0 && Cross2(c, a, p) >= 0;
}

// Ear clipping of a counter-clockwise simple polygon into counter-clockwise
// triangles (outline positions). False when no ear is left to cut (the
// outline crosses itself).
bool Triangulate(const std::vector<OutlinePoint>& outline, std::vector<int>& triangles) {
    std::vector<int> left(outline.size());
    for (size_t i = 0; i < left.size(); ++i)
        left[i] = int(i);
    while (left.size() > 3) {
        bool cut = false;
        for (size_t i = 0; i < left.size() && !cut; ++i) {
            int a = left[(i + left.size() - 1) % left.size()], b = left[i], c = left[(i + 1) % left.size()];
            if (Cross2(outline[a], outline[b], outline[c]) <= 0)
                continue;
            bool empty = true;
            for (int other : left) {
                if (other == a || other == b || other == c)
                    continue;
                const OutlinePoint& p = outline[other];
                bool corner = (p.x == outline[a].x && p.y == outline[a].y) ||
                              (p.x == outline[b].x && p.y == outline[b].y) ||
                              (p.x == outline[c].x && p.y == outline[c].y);
                if (!corner && InTriangle(p, outline[a], outline[b], outline[c])) {
                    empty = false;
                    break;
                }
            }
            if (!empty)
                continue;
            triangles.insert(triangles.end(), {a, b, c});
            left.erase(left.begin() + long(i));
            cut = true;
        }
        if (!cut)
            return false;
    }
    triangles.insert(triangles.end(), {left[0], left[1], left[2]});
    return true;
}

float SegmentDistance(MeshPoint p, MeshPoint a, MeshPoint b) {
    MeshPoint ab = Sub(b, a);
    float lengthSquared = Dot(ab, ab);
    float t = lengthSquared > 0 ? Dot(Sub(p, a), ab) / lengthSquared : 0.0f;
    t = std::fmin(1.0f, std::fmax(0.0f, t));
    return Length(Sub(p, Add(a, Scaled(ab, t))));
}
} // namespace

bool CMeshBuilder::Place(int firstVertex, size_t firstIndex, const CMatrix& placement) {
    if (IsIdentity(placement))
        return true;
    float determinant = Determinant3(placement);
    if (!Finite(determinant) || std::fabs(determinant) < 1e-12f)
        return false;
    CMatrix inverse;
    placement.GetInverse(inverse);
    CMatrix normalMatrix;
    D3DXMatrixTranspose(&normalMatrix, &inverse);
    for (size_t i = size_t(firstVertex); i < m_vertices.size(); ++i) {
        MeshVertex& v = m_vertices[i];
        D3DXVECTOR3 p{v.position.x, v.position.y, v.position.z}, n{v.normal.x, v.normal.y, v.normal.z};
        D3DXVec3TransformCoord(&p, &p, &placement);
        D3DXVec3TransformNormal(&n, &n, &normalMatrix);
        v.position = {p.x, p.y, p.z};
        v.normal = Normalised({n.x, n.y, n.z});
    }
    // A mirror turns the winding round; turn it back.
    if (determinant < 0)
        for (size_t i = firstIndex; i + 2 < m_indices.size(); i += 3)
            std::swap(m_indices[i + 1], m_indices[i + 2]);
    return true;
}

bool CMeshBuilder::AddRevolved(const std::vector<LathePoint>& points, const std::vector<LathePoint>& normals,
                               int segments, const CMatrix& placement, MeshUv uv) {
    if (segments < 3 || points.size() < 2 || normals.size() != points.size())
        return false;
    float maxRadius = 0;
    std::vector<float> along(points.size(), 0.0f);
    for (size_t k = 0; k < points.size(); ++k) {
        if (!(points[k].radius >= 0) || !Finite(points[k].radius) || !Finite(points[k].y))
            return false;
        maxRadius = std::fmax(maxRadius, points[k].radius);
        if (k > 0)
            along[k] =
                along[k - 1] + std::hypot(points[k].radius - points[k - 1].radius, points[k].y - points[k - 1].y);
    }
    float total = along.back();
    if (maxRadius <= 0 || total <= 0)
        return false;
    float uRepeat = uv.unit > 0 ? 2 * PI * maxRadius / uv.unit : uv.around;
    float vScale = uv.unit > 0 ? 1.0f / uv.unit : 1.0f / total;

    int firstVertex = VertexCount();
    size_t firstIndex = m_indices.size();
    std::vector<int> ringStart(points.size());
    for (size_t k = 0; k < points.size(); ++k) {
        ringStart[k] = VertexCount();
        bool pole = points[k].radius == 0;
        int count = pole ? segments : segments + 1;
        float v = (total - along[k]) * vScale;
        for (int i = 0; i < count; ++i) {
            float turn = pole ? (float(i) + 0.5f) / float(segments) : float(i) / float(segments);
            float a = 2 * PI * turn;
            float s = std::sin(a), c = std::cos(a);
            if (!pole && i == segments)
                s = 0, c = 1; // the seam closes exactly
            float r = points[k].radius;
            MeshPoint n = Normalised({normals[k].radius * s, normals[k].y, normals[k].radius * c});
            AddVertex({r * s, points[k].y, r * c}, n, uRepeat * turn, v);
        }
    }
    for (size_t k = 0; k + 1 < points.size(); ++k) {
        const LathePoint& lo = points[k];
        const LathePoint& hi = points[k + 1];
        bool loPole = lo.radius == 0, hiPole = hi.radius == 0;
        if ((lo.radius == hi.radius && lo.y == hi.y) || (loPole && hiPole))
            continue;
        for (int i = 0; i < segments; ++i) {
            int b0 = ringStart[k] + i, b1 = ringStart[k] + i + 1;
            int t0 = ringStart[k + 1] + i, t1 = ringStart[k + 1] + i + 1;
            if (loPole)
                AddTriangle(b0, t1, t0);
            else if (hiPole)
                AddTriangle(b0, b1, t0);
            else {
                AddTriangle(b0, b1, t1);
                AddTriangle(b0, t1, t0);
            }
        }
    }
    if (!Place(firstVertex, firstIndex, placement)) {
        m_vertices.resize(size_t(firstVertex));
        m_indices.resize(firstIndex);
        return false;
    }
    return true;
}

bool CMeshBuilder::AddSphere(float radius, int rings, int segments, const CMatrix& placement, MeshUv uv) {
    if (!(radius > 0) || rings < 2)
        return false;
    std::vector<LathePoint> points, normals;
    for (int k = 0; k <= rings; ++k) {
        float t = PI * float(k) / float(rings);
        float s = (k == 0 || k == rings) ? 0.0f : std::sin(t), c = std::cos(t);
        points.push_back({radius * s, -radius * c});
        normals.push_back({s, -c});
    }
    return AddRevolved(points, normals, segments, placement, uv);
}

bool CMeshBuilder::AddCapsule(float radius, float length, int rings, int segments, int bands, const CMatrix& placement,
                              MeshUv uv) {
    if (!(radius > 0) || !(length >= 0) || rings < 1 || bands < 1)
        return false;
    std::vector<LathePoint> points, normals;
    for (int end = 0; end < 2; ++end) {
        float centre = end == 0 ? -length / 2 : length / 2;
        for (int k = 0; k <= rings; ++k) {
            float t = PI / 2 * (float(end) + float(k) / float(rings));
            float s = std::sin(t), c = std::cos(t);
            if (end == 0 && k == 0)
                s = 0, c = 1;
            if (end == 1 && k == rings)
                s = 0, c = -1;
            if ((end == 0 && k == rings) || (end == 1 && k == 0))
                s = 1, c = 0;
            points.push_back({radius * s, centre - radius * c});
            normals.push_back({s, -c});
        }
        for (int band = 1; end == 0 && band < bands; ++band) {
            points.push_back({radius, -length / 2 + length * float(band) / float(bands)});
            normals.push_back({1, 0});
        }
    }
    return AddRevolved(points, normals, segments, placement, uv);
}

bool CMeshBuilder::AddLathe(const std::vector<LathePoint>& profile, int segments, const CMatrix& placement, MeshUv uv) {
    std::vector<LathePoint> normals(profile.size(), LathePoint{0, 0});
    for (size_t k = 0; k < profile.size(); ++k) {
        float nr = 0, ny = 0;
        // Edges of zero length (a crease's doubled point) take no part.
        for (size_t e = k > 0 ? k - 1 : k; e <= k; ++e) {
            if (e + 1 >= profile.size())
                continue;
            float dr = profile[e + 1].radius - profile[e].radius, dy = profile[e + 1].y - profile[e].y;
            float l = std::hypot(dr, dy);
            if (l > 0)
                nr += dy / l, ny += -dr / l;
        }
        if (profile[k].radius == 0)
            nr = 0, ny = ny >= 0 ? 1.0f : -1.0f;
        float l = std::hypot(nr, ny);
        normals[k] = l > 0 ? LathePoint{nr / l, ny / l} : LathePoint{1, 0};
    }
    return AddRevolved(profile, normals, segments, placement, uv);
}

bool CMeshBuilder::AddExtrusion(const std::vector<OutlinePoint>& outlineIn, float depth, bool caps, bool smooth,
                                const CMatrix& placement, MeshUv uv) {
    if (!(depth > 0))
        return false;
    return AddExtrusion(outlineIn, std::vector<MeshPoint>{{0, 0, 0}, {0, 0, depth}}, caps, smooth, placement, uv);
}

bool CMeshBuilder::AddExtrusion(const std::vector<OutlinePoint>& outlineIn, const std::vector<MeshPoint>& path,
                                bool caps, bool smooth, const CMatrix& placement, MeshUv uv) {
    if (outlineIn.size() < 3 || path.size() < 2)
        return false;
    for (const OutlinePoint& p : outlineIn)
        if (!Finite(p.x) || !Finite(p.y))
            return false;
    std::vector<OutlinePoint> outline = outlineIn;
    float area = OutlineArea(outline);
    if (!(std::fabs(area) > 0))
        return false;
    if (area < 0)
        std::reverse(outline.begin(), outline.end());
    const size_t n = outline.size();
    std::vector<int> capTriangles;
    if (caps && !Triangulate(outline, capTriangles))
        return false;

    // Path frames: tangent, up and side (side x up = tangent), the up axis
    // carried along with the least turn.
    const size_t m = path.size();
    std::vector<MeshPoint> tangent(m), up(m), side(m);
    std::vector<float> along(m, 0.0f);
    for (size_t k = 0; k + 1 < m; ++k) {
        float l = Length(Sub(path[k + 1], path[k]));
        if (!(l > 0) || !Finite(l))
            return false;
        along[k + 1] = along[k] + l;
    }
    for (size_t k = 0; k < m; ++k) {
        MeshPoint t{0, 0, 0};
        if (k > 0)
            t = Add(t, Normalised(Sub(path[k], path[k - 1])));
        if (k + 1 < m)
            t = Add(t, Normalised(Sub(path[k + 1], path[k])));
        if (!(Length(t) > 1e-4f))
            return false; // the path turns straight back
        tangent[k] = Normalised(t);
        MeshPoint previous =
            k == 0 ? (std::fabs(tangent[0].y) > 0.99f ? MeshPoint{0, 0, 1} : MeshPoint{0, 1, 0}) : up[k - 1];
        MeshPoint u = Sub(previous, Scaled(tangent[k], Dot(previous, tangent[k])));
        if (!(Length(u) > 1e-4f))
            return false;
        up[k] = Normalised(u);
        side[k] = Normalised(Cross(up[k], tangent[k]));
    }

    // Side normals in the outline's plane, per edge and per point.
    std::vector<OutlinePoint> edgeNormal(n), pointNormal(n);
    std::vector<float> perimeter(n + 1, 0.0f);
    for (size_t j = 0; j < n; ++j) {
        OutlinePoint a = outline[j], b = outline[(j + 1) % n];
        float l = std::hypot(b.x - a.x, b.y - a.y);
        edgeNormal[j] = l > 0 ? OutlinePoint{(b.y - a.y) / l, -(b.x - a.x) / l} : OutlinePoint{0, 0};
        perimeter[j + 1] = perimeter[j] + l;
    }
    for (size_t j = 0; j < n; ++j) {
        OutlinePoint a = edgeNormal[(j + n - 1) % n], b = edgeNormal[j];
        float x = a.x + b.x, y = a.y + b.y, l = std::hypot(x, y);
        pointNormal[j] = l > 0 ? OutlinePoint{x / l, y / l} : b;
    }
    float uScale = uv.unit > 0 ? 1.0f / uv.unit : 1.0f / perimeter[n];
    float vScale = uv.unit > 0 ? 1.0f / uv.unit : 1.0f / along.back();

    int firstVertex = VertexCount();
    size_t firstIndex = m_indices.size();
    // At a bend the outline is stretched along the bend's direction so that
    // the walls keep their thickness (a mitre), up to four times its size.
    std::vector<MeshPoint> bend(m, MeshPoint{0, 0, 0});
    std::vector<float> stretch(m, 0.0f);
    for (size_t k = 1; k + 1 < m; ++k) {
        MeshPoint in = Normalised(Sub(path[k], path[k - 1])), out = Normalised(Sub(path[k + 1], path[k]));
        MeshPoint turn = Sub(out, in);
        if (Length(turn) < 1e-6f)
            continue;
        bend[k] = Normalised(turn);
        stretch[k] = 1.0f / std::fmax(0.25f, Dot(tangent[k], out)) - 1.0f;
    }
    auto At = [&](size_t k, OutlinePoint p) {
        MeshPoint offset = Add(Scaled(side[k], p.x), Scaled(up[k], p.y));
        offset = Add(offset, Scaled(bend[k], stretch[k] * Dot(offset, bend[k])));
        return Add(path[k], offset);
    };
    auto Across = [&](size_t k, OutlinePoint d) { return Normalised(Add(Scaled(side[k], d.x), Scaled(up[k], d.y))); };
    for (size_t j = 0; j < n; ++j) {
        if (perimeter[j + 1] == perimeter[j])
            continue; // a repeated outline point makes no side
        OutlinePoint a = outline[j], b = outline[(j + 1) % n];
        int column = VertexCount();
        for (size_t k = 0; k < m; ++k) {
            float v = along[k] * vScale;
            OutlinePoint na = smooth ? pointNormal[j] : edgeNormal[j];
            OutlinePoint nb = smooth ? pointNormal[(j + 1) % n] : edgeNormal[j];
            AddVertex(At(k, a), Across(k, na), perimeter[j] * uScale, v);
            AddVertex(At(k, b), Across(k, nb), perimeter[j + 1] * uScale, v);
        }
        for (size_t k = 0; k + 1 < m; ++k) {
            int a0 = column + int(2 * k), b0 = a0 + 1, a1 = a0 + 2, b1 = a0 + 3;
            AddTriangle(a0, b0, b1);
            AddTriangle(a0, b1, a1);
        }
    }
    if (caps) {
        float minX = outline[0].x, maxX = minX, minY = outline[0].y, maxY = minY;
        for (const OutlinePoint& p : outline) {
            minX = std::fmin(minX, p.x), maxX = std::fmax(maxX, p.x);
            minY = std::fmin(minY, p.y), maxY = std::fmax(maxY, p.y);
        }
        float capU = uv.unit > 0 ? 1.0f / uv.unit : (maxX > minX ? 1.0f / (maxX - minX) : 0.0f);
        float capV = uv.unit > 0 ? 1.0f / uv.unit : (maxY > minY ? 1.0f / (maxY - minY) : 0.0f);
        for (size_t end : {size_t(0), m - 1}) {
            bool last = end == m - 1;
            MeshPoint normal = last ? tangent[end] : Scaled(tangent[end], -1.0f);
            int first = VertexCount();
            for (const OutlinePoint& p : outline)
                AddVertex(At(end, p), normal, (p.x - minX) * capU, (maxY - p.y) * capV);
            // Counter-clockwise seen from the path's end; the start cap faces back.
            for (size_t t = 0; t < capTriangles.size(); t += 3) {
                if (last)
                    AddTriangle(first + capTriangles[t], first + capTriangles[t + 1], first + capTriangles[t + 2]);
                else
                    AddTriangle(first + capTriangles[t], first + capTriangles[t + 2], first + capTriangles[t + 1]);
            }
        }
    }
    if (!Place(firstVertex, firstIndex, placement)) {
        m_vertices.resize(size_t(firstVertex));
        m_indices.resize(firstIndex);
        return false;
    }
    return true;
}

bool CMeshBuilder::WeightByDistance(int firstVertex, const std::vector<SkinSegment>& bones, int influences,
                                    float sharpness) {
    if (bones.empty() || influences < 1 || influences > MESH_MAX_INFLUENCES || firstVertex < 0 || !(sharpness > 0))
        return false;
    for (const SkinSegment& b : bones)
        if (b.bone < 0 || b.bone >= SHADER_PALETTE_LIMIT)
            return false;
    for (size_t i = size_t(firstVertex); i < m_vertices.size(); ++i) {
        MeshVertex& v = m_vertices[i];
        // The nearest segment of each bone.
        std::vector<std::pair<float, int>> near; // (distance, bone)
        for (const SkinSegment& b : bones) {
            float d = SegmentDistance(v.position, b.start, b.end);
            auto same = std::find_if(near.begin(), near.end(), [&](const auto& e) { return e.second == b.bone; });
            if (same == near.end())
                near.push_back({d, b.bone});
            else
                same->first = std::fmin(same->first, d);
        }
        std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) {
            return a.first < b.first || (a.first == b.first && a.second < b.second);
        });
        if (int(near.size()) > influences)
            near.resize(size_t(influences));
        // Relative to the nearest, so that a vertex on a segment stays finite.
        float nearest = std::fmax(near[0].first, 1e-6f);
        std::vector<float> weights;
        float sum = 0;
        for (const auto& e : near) {
            float w = std::pow(nearest / std::fmax(e.first, 1e-6f), sharpness);
            weights.push_back(w);
            sum += w;
        }
        MeshSkin skin;
        float kept = 0;
        for (size_t k = 0; k < near.size(); ++k) {
            if (weights[k] / sum < 0.01f)
                continue;
            skin.bones[skin.count] = near[k].second;
            skin.weights[skin.count] = weights[k];
            kept += weights[k];
            ++skin.count;
        }
        float rest = 1.0f;
        for (int k = 0; k + 1 < skin.count; ++k) {
            skin.weights[k] /= kept;
            rest -= skin.weights[k];
        }
        skin.weights[skin.count - 1] = rest;
        v.skin = skin;
    }
    return true;
}

bool BuildGeometry(const CMeshBuilder& mesh, const std::string& name, uint32_t vertexFormat, bool doubleSided,
                   BuiltGeometry& out) {
    if (mesh.Empty() || !mesh.Fits())
        return false;
    int weightCount = 0;
    if (vertexFormat == VERTEX_FORMAT_SKIN_2)
        weightCount = 2;
    else if (vertexFormat == VERTEX_FORMAT_SKIN_3)
        weightCount = 3;
    else if (vertexFormat == VERTEX_FORMAT_SKIN_4)
        weightCount = 4;
    else if (vertexFormat != VERTEX_FORMAT_CONSTANT && vertexFormat != VERTEX_FORMAT_LAMBERT &&
             vertexFormat != VERTEX_FORMAT_LAMBERT_VB)
        return false;
    const std::vector<MeshVertex>& vertices = mesh.Vertices();
    for (const MeshVertex& v : vertices) {
        if (weightCount == 0)
            break;
        const MeshSkin& skin = v.skin;
        if (skin.count < 1 || skin.count > weightCount)
            return false;
        float sum = 0;
        for (int k = 0; k < skin.count; ++k) {
            if (skin.bones[k] < 0 || skin.bones[k] >= SHADER_PALETTE_LIMIT || !(skin.weights[k] >= 0))
                return false;
            sum += skin.weights[k];
        }
        if (!(std::fabs(sum - 1.0f) <= 1e-3f))
            return false;
    }
    MeshPoint lo = vertices[0].position, hi = lo;
    out.vertexBytes.clear();
    for (const MeshVertex& v : vertices) {
        lo = {std::fmin(lo.x, v.position.x), std::fmin(lo.y, v.position.y), std::fmin(lo.z, v.position.z)};
        hi = {std::fmax(hi.x, v.position.x), std::fmax(hi.y, v.position.y), std::fmax(hi.z, v.position.z)};
        AppendFloat(out.vertexBytes, v.position.x);
        AppendFloat(out.vertexBytes, v.position.y);
        AppendFloat(out.vertexBytes, v.position.z);
        if (vertexFormat & (1u << VE_NORMAL)) {
            AppendFloat(out.vertexBytes, v.normal.x);
            AppendFloat(out.vertexBytes, v.normal.y);
            AppendFloat(out.vertexBytes, v.normal.z);
        }
        if (vertexFormat & (1u << VE_COLOR_0))
            for (float c : v.colour)
                AppendFloat(out.vertexBytes, c);
        if (weightCount > 0) {
            for (int k = 0; k < weightCount; ++k)
                AppendFloat(out.vertexBytes, k < v.skin.count ? v.skin.weights[k] : 0.0f);
            // The programs step through the palette three registers a bone.
            for (int k = 0; k < MESH_MAX_INFLUENCES; ++k)
                AppendFloat(out.vertexBytes, k < v.skin.count ? float(3 * v.skin.bones[k]) : 0.0f);
        }
        AppendFloat(out.vertexBytes, v.u);
        AppendFloat(out.vertexBytes, v.v);
    }
    out.indexBytes.clear();
    for (uint16_t i : mesh.Indices())
        AppendLe16(out.indexBytes, i);
    MeshPoint centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    float radius = 0;
    for (const MeshVertex& v : vertices)
        radius = std::fmax(radius, Length(Sub(v.position, centre)));

    GeometryRecord& r = out.record;
    r = GeometryRecord();
    r.name = name;
    r.radius = radius;
    r.centre[0] = centre.x;
    r.centre[1] = centre.y;
    r.centre[2] = centre.z;
    r.doubleSided = doubleSided ? 1 : 0;
    r.vertexFormat = vertexFormat;
    r.vertexCount = mesh.VertexCount();
    r.vertices = out.vertexBytes.data();
    r.groups = {{PT_TRIANGLE_LIST, int32_t(mesh.Indices().size()), out.indexBytes.data()}};
    return true;
}

bool CMeshBuilder::AddSurface(int columns, int rows, const SurfaceFn& at) {
    if (columns < 1 || rows < 1 || !at)
        return false;
    auto pointAt = [&](float s, float t) {
        MeshPoint p{0, 0, 0};
        float u = 0, v = 0;
        at(std::fmin(1.0f, std::fmax(0.0f, s)), std::fmin(1.0f, std::fmax(0.0f, t)), p, u, v);
        return p;
    };
    const float step = 1e-3f;
    std::vector<MeshVertex> grid;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i) {
            float s = float(i) / float(columns), t = float(j) / float(rows);
            MeshPoint p{0, 0, 0};
            float u = 0, v = 0;
            at(s, t, p, u, v);
            if (!Finite(p.x) || !Finite(p.y) || !Finite(p.z) || !Finite(u) || !Finite(v))
                return false;
            // Central differences; at a pole (a degenerate edge) look a little inside.
            MeshPoint n{0, 0, 0};
            for (float inset = 0; inset <= 0.05f && Length(n) < 1e-12f; inset += 0.01f) {
                float ts = std::fmin(std::fmax(t, inset), 1.0f - inset);
                float ss = std::fmin(std::fmax(s, inset), 1.0f - inset);
                MeshPoint ds = Sub(pointAt(s + step, ts), pointAt(s - step, ts));
                MeshPoint dt = Sub(pointAt(ss, t + step), pointAt(ss, t - step));
                n = Cross(ds, dt);
            }
            n = Length(n) > 0 ? Normalised(n) : MeshPoint{0, 1, 0};
            MeshVertex vertex{p, n, {m_colour[0], m_colour[1], m_colour[2], m_colour[3]}, u, v, m_skin};
            grid.push_back(vertex);
        }
    const int first = VertexCount();
    m_vertices.insert(m_vertices.end(), grid.begin(), grid.end());
    const int stride = columns + 1;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            int a = first + j * stride + i, b = a + 1, c = a + stride + 1, d = a + stride;
            AddTriangle(a, b, c);
            AddTriangle(a, c, d);
        }
    return true;
}
