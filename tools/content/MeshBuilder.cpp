#include "tools/content/MeshBuilder.h"

#include <cmath>
#include <cstring>

#include "engine/chunk/ChunkEnums.h"

namespace {
constexpr float PI = 3.14159265358979f;

MeshPoint Sub(MeshPoint a, MeshPoint b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
MeshPoint Cross(MeshPoint a, MeshPoint b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(MeshPoint a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
MeshPoint Normalised(MeshPoint a) {
    float l = Length(a);
    return l > 0 ? MeshPoint{a.x / l, a.y / l, a.z / l} : MeshPoint{0, 1, 0};
}

void AppendFloat(std::vector<uint8_t>& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(bits >> (8 * i)));
}
} // namespace

void CMeshBuilder::SetColour(float r, float g, float b, float a) {
    m_colour[0] = r;
    m_colour[1] = g;
    m_colour[2] = b;
    m_colour[3] = a;
}

int CMeshBuilder::AddVertex(MeshPoint p, MeshPoint n, float u, float v) {
    MeshVertex vertex{p, n, {m_colour[0], m_colour[1], m_colour[2], m_colour[3]}, u, v};
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

bool BuildGeometry(const CMeshBuilder& mesh, const std::string& name, uint32_t vertexFormat, bool doubleSided,
                   BuiltGeometry& out) {
    if (mesh.Empty() || !mesh.Fits())
        return false;
    if (vertexFormat != VERTEX_FORMAT_CONSTANT && vertexFormat != VERTEX_FORMAT_LAMBERT &&
        vertexFormat != VERTEX_FORMAT_LAMBERT_VB)
        return false;
    const std::vector<MeshVertex>& vertices = mesh.Vertices();
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
        AppendFloat(out.vertexBytes, v.u);
        AppendFloat(out.vertexBytes, v.v);
    }
    out.indexBytes.clear();
    for (uint16_t i : mesh.Indices()) {
        out.indexBytes.push_back(uint8_t(i));
        out.indexBytes.push_back(uint8_t(i >> 8));
    }
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
