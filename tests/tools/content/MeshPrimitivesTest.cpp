#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "engine/chunk/VertexSize.h"
#include "tools/content/MeshBuilder.h"

namespace {

MeshPoint Sub(MeshPoint a, MeshPoint b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
MeshPoint Cross(MeshPoint a, MeshPoint b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(MeshPoint a, MeshPoint b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(MeshPoint a) { return std::sqrt(Dot(a, a)); }

CMatrix Placement(float sx, float sy, float sz, float rx, float ry, float rz, float tx, float ty, float tz) {
    CMatrix scale, rotation, translation, a, out;
    D3DXMatrixScaling(&scale, sx, sy, sz);
    rotation.SetRotationXYZ(rx, ry, rz);
    D3DXMatrixTranslation(&translation, tx, ty, tz);
    D3DXMatrixMultiply(&a, &scale, &rotation);
    D3DXMatrixMultiply(&out, &a, &translation);
    return out;
}

MeshPoint Placed(MeshPoint p, const CMatrix& m) {
    D3DXVECTOR3 v{p.x, p.y, p.z};
    D3DXVec3TransformCoord(&v, &v, &m);
    return {v.x, v.y, v.z};
}

struct PrimitiveCase {
    const char* name;
    std::function<bool(CMeshBuilder&)> build;
    bool closed;
    // Convex shapes: every face must look away from this point.
    bool convex;
    MeshPoint centre;
};

std::vector<OutlinePoint> Circle(float radius, int points) {
    std::vector<OutlinePoint> out;
    for (int i = 0; i < points; ++i) {
        float a = 6.2831853f * float(i) / float(points);
        out.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    return out;
}

// A five-pointed star, clockwise: the builder must turn it round.
std::vector<OutlinePoint> ClockwiseStar() {
    std::vector<OutlinePoint> out;
    for (int i = 9; i >= 0; --i) {
        float a = 6.2831853f * float(i) / 10.0f;
        float r = i % 2 ? 0.4f : 1.0f;
        out.push_back({r * std::cos(a), r * std::sin(a)});
    }
    return out;
}

const std::vector<LathePoint> VASE = {{0, 0}, {1, 0}, {1, 0}, {1.5f, 1}, {0.8f, 2}, {1, 3}, {1, 3}, {0, 3}};

std::vector<PrimitiveCase> Cases() {
    return {
        {"sphere", [](CMeshBuilder& m) { return m.AddSphere(2, 8, 12); }, true, true, {0, 0, 0}},
        {"sphere placed and mirrored",
         [](CMeshBuilder& m) { return m.AddSphere(1, 6, 10, Placement(-2, 1, 0.5f, 0.3f, 1, 0, 4, 5, 6)); },
         true,
         true,
         {4, 5, 6}},
        {"capsule", [](CMeshBuilder& m) { return m.AddCapsule(1, 3, 4, 16); }, true, true, {0, 0, 0}},
        {"capsule in bands", [](CMeshBuilder& m) { return m.AddCapsule(1, 3, 2, 8, 5); }, true, true, {0, 0, 0}},
        {"capsule of no length", [](CMeshBuilder& m) { return m.AddCapsule(1, 0, 3, 8); }, true, true, {0, 0, 0}},
        {"capsule turned",
         [](CMeshBuilder& m) { return m.AddCapsule(0.5f, 2, 3, 9, 4, Placement(1, 1, 1, 0, 0, 1.2f, -1, 2, 0)); },
         true,
         true,
         {-1, 2, 0}},
        {"lathe vase with creases", [](CMeshBuilder& m) { return m.AddLathe(VASE, 12); }, true, false, {0, 1.5f, 0}},
        {"open lathe tube",
         [](CMeshBuilder& m) {
             return m.AddLathe({{1, 0}, {1.2f, 1}, {1, 2}}, 8);
         },
         false,
         false,
         {0, 1, 0}},
        {"straight hexagon bar",
         [](CMeshBuilder& m) { return m.AddExtrusion(Circle(1, 6), 3, true, false); },
         true,
         true,
         {0, 0, 1.5f}},
        {"clockwise star",
         [](CMeshBuilder& m) { return m.AddExtrusion(ClockwiseStar(), 0.5f, true, false); },
         true,
         false,
         {0, 0, 0.25f}},
        {"round tube along a bend",
         [](CMeshBuilder& m) {
             return m.AddExtrusion(Circle(0.3f, 10), {{0, 0, 0}, {0, 0, 2}, {2, 0, 2}, {2, 3, 3}}, true, true);
         },
         true,
         false,
         {0, 0, 0}},
        {"square up the y axis, placed",
         [](CMeshBuilder& m) {
             return m.AddExtrusion({{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}, {{0, 0, 0}, {0, 2, 0}}, true, false,
                                   Placement(1, 2, 1, 0.5f, 0, 0, 3, 0, 0));
         },
         true, true, Placed({0, 1, 0}, Placement(1, 2, 1, 0.5f, 0, 0, 3, 0, 0))},
        {"open bar without caps",
         [](CMeshBuilder& m) { return m.AddExtrusion(Circle(1, 4), 1, false, true); },
         false,
         true,
         {0, 0, 0.5f}},
    };
}

// Welds vertices by position so that seams and flat sides count as joined.
std::vector<int> Weld(const std::vector<MeshVertex>& vertices) {
    std::map<std::tuple<long, long, long>, int> ids;
    std::vector<int> out;
    for (const MeshVertex& v : vertices) {
        auto key = std::make_tuple(std::lround(v.position.x * 1e4f), std::lround(v.position.y * 1e4f),
                                   std::lround(v.position.z * 1e4f));
        auto it = ids.emplace(key, int(ids.size())).first;
        out.push_back(it->second);
    }
    return out;
}

TEST(MeshPrimitives, NormalsWindingUvsAndClosure) {
    for (const PrimitiveCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        CMeshBuilder mesh;
        ASSERT_TRUE(c.build(mesh));
        const std::vector<MeshVertex>& v = mesh.Vertices();
        const std::vector<uint16_t>& index = mesh.Indices();
        ASSERT_FALSE(index.empty());
        ASSERT_EQ(index.size() % 3, 0u);
        for (const MeshVertex& vertex : v) {
            EXPECT_NEAR(Length(vertex.normal), 1.0f, 1e-4f);
            EXPECT_GE(vertex.u, -1e-6f);
            EXPECT_LE(vertex.u, 1 + 1e-6f);
            EXPECT_GE(vertex.v, -1e-6f);
            EXPECT_LE(vertex.v, 1 + 1e-6f);
        }
        int wrongWay = 0, disagreeing = 0, degenerate = 0;
        for (size_t t = 0; t < index.size(); t += 3) {
            const MeshVertex &a = v[index[t]], &b = v[index[t + 1]], &d = v[index[t + 2]];
            // Counter-clockwise seen from the front: the face normal.
            MeshPoint face = Cross(Sub(b.position, a.position), Sub(d.position, a.position));
            if (Length(face) < 1e-7f) {
                ++degenerate;
                continue;
            }
            MeshPoint centroid{(a.position.x + b.position.x + d.position.x) / 3,
                               (a.position.y + b.position.y + d.position.y) / 3,
                               (a.position.z + b.position.z + d.position.z) / 3};
            if (c.convex && Dot(face, Sub(centroid, c.centre)) <= 0)
                ++wrongWay;
            for (const MeshVertex* corner : {&a, &b, &d})
                if (Dot(face, corner->normal) <= 0)
                    ++disagreeing;
        }
        EXPECT_EQ(degenerate, 0);
        EXPECT_EQ(wrongWay, 0);
        EXPECT_EQ(disagreeing, 0);

        // Every directed edge once; closed shapes have each edge's twin too.
        std::vector<int> id = Weld(v);
        std::map<std::pair<int, int>, int> edges;
        for (size_t t = 0; t < index.size(); t += 3)
            for (int e = 0; e < 3; ++e)
                ++edges[{id[index[t + e]], id[index[t + (e + 1) % 3]]}];
        int repeated = 0, open = 0;
        for (const auto& [edge, count] : edges) {
            if (count != 1)
                ++repeated;
            if (!edges.count({edge.second, edge.first}))
                ++open;
        }
        EXPECT_EQ(repeated, 0);
        if (c.closed)
            EXPECT_EQ(open, 0);
        else
            EXPECT_GT(open, 0);
    }
}

TEST(MeshPrimitives, SphereAndCapsuleStayOnTheirSurface) {
    CMeshBuilder sphere;
    ASSERT_TRUE(sphere.AddSphere(2, 7, 9));
    for (const MeshVertex& v : sphere.Vertices()) {
        EXPECT_NEAR(Length(v.position), 2.0f, 1e-5f);
        EXPECT_NEAR(Dot(v.normal, v.position) / 2, 1.0f, 1e-5f);
    }
    CMeshBuilder capsule;
    ASSERT_TRUE(capsule.AddCapsule(1, 4, 3, 8));
    float lowest = 0, highest = 0;
    for (const MeshVertex& v : capsule.Vertices()) {
        // Distance to the axis segment is the radius everywhere.
        float y = std::fmax(-2.0f, std::fmin(2.0f, v.position.y));
        EXPECT_NEAR(Length(Sub(v.position, {0, y, 0})), 1.0f, 1e-5f);
        lowest = std::fmin(lowest, v.position.y);
        highest = std::fmax(highest, v.position.y);
    }
    EXPECT_FLOAT_EQ(lowest, -3.0f);
    EXPECT_FLOAT_EQ(highest, 3.0f);
}

TEST(MeshPrimitives, CreasedLatheKeepsBothNormalsAtTheCrease) {
    CMeshBuilder mesh;
    ASSERT_TRUE(mesh.AddLathe({{0, 0}, {1, 0}, {1, 0}, {1, 2}}, 6));
    bool down = false, out = false;
    for (const MeshVertex& v : mesh.Vertices()) {
        if (std::fabs(Length(Sub(v.position, {0, 0, 0})) - 1) > 1e-5f || v.position.y != 0)
            continue;
        down |= v.normal.y < -0.999f;
        out |= std::fabs(v.normal.y) < 1e-5f;
    }
    EXPECT_TRUE(down);
    EXPECT_TRUE(out);
}

TEST(MeshPrimitives, RefusedShapesAddNothing) {
    const CMatrix flat = Placement(1, 0, 1, 0, 0, 0, 0, 0, 0);
    const std::vector<std::pair<const char*, std::function<bool(CMeshBuilder&)>>> refused = {
        {"two segments", [](CMeshBuilder& m) { return m.AddSphere(1, 4, 2); }},
        {"one ring", [](CMeshBuilder& m) { return m.AddSphere(1, 1, 8); }},
        {"no radius", [](CMeshBuilder& m) { return m.AddCapsule(0, 1, 2, 8); }},
        {"negative length", [](CMeshBuilder& m) { return m.AddCapsule(1, -1, 2, 8); }},
        {"no bands", [](CMeshBuilder& m) { return m.AddCapsule(1, 1, 2, 8, 0); }},
        {"flattened placement", [&](CMeshBuilder& m) { return m.AddSphere(1, 4, 8, flat); }},
        {"not a number", [](CMeshBuilder& m) { return m.AddSphere(std::nanf(""), 4, 8); }},
        {"profile of one point",
         [](CMeshBuilder& m) {
             return m.AddLathe({{1, 0}}, 8);
         }},
        {"profile on the axis",
         [](CMeshBuilder& m) {
             return m.AddLathe({{0, 0}, {0, 1}}, 8);
         }},
        {"negative radius",
         [](CMeshBuilder& m) {
             return m.AddLathe({{1, 0}, {-1, 1}}, 8);
         }},
        {"bow tie",
         [](CMeshBuilder& m) {
             return m.AddExtrusion({{0, 0}, {1, 1}, {1, 0}, {0, 1}}, 1, true, false);
         }},
        {"outline without area",
         [](CMeshBuilder& m) {
             return m.AddExtrusion({{0, 0}, {1, 0}, {2, 0}}, 1, true, false);
         }},
        {"no depth", [](CMeshBuilder& m) { return m.AddExtrusion(Circle(1, 5), 0, true, false); }},
        {"repeated path point",
         [](CMeshBuilder& m) {
             return m.AddExtrusion(Circle(1, 5), {{0, 0, 0}, {0, 0, 0}, {0, 0, 1}}, true, false);
         }},
        {"path turning back",
         [](CMeshBuilder& m) {
             return m.AddExtrusion(Circle(1, 5), {{0, 0, 0}, {0, 0, 1}, {0, 0, 0}}, true, false);
         }},
        {"flattened extrusion", [&](CMeshBuilder& m) { return m.AddExtrusion(Circle(1, 5), 1, true, false, flat); }},
    };
    for (const auto& [name, build] : refused) {
        SCOPED_TRACE(name);
        CMeshBuilder mesh;
        mesh.AddQuad({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
        EXPECT_FALSE(build(mesh));
        EXPECT_EQ(mesh.VertexCount(), 4);
        EXPECT_EQ(mesh.Indices().size(), 6u);
    }
}

TEST(MeshPrimitives, BentTubeKeepsItsRadiusOnBothSidesOfTheBend) {
    const std::vector<MeshPoint> path = {{0, 0, 0}, {0, 0, 2}, {2, 0, 2}, {2, 2, 4}};
    CMeshBuilder mesh;
    ASSERT_TRUE(mesh.AddExtrusion(Circle(0.5f, 12), path, false, true));
    // Distance from the line through a and b.
    auto FromLine = [](MeshPoint p, MeshPoint a, MeshPoint b) {
        MeshPoint d = Sub(b, a);
        return Length(Cross(Sub(p, a), d)) / Length(d);
    };
    int atJoints = 0;
    for (const MeshVertex& v : mesh.Vertices()) {
        float inner[2] = {FromLine(v.position, path[0], path[1]), FromLine(v.position, path[1], path[2])};
        float outer[2] = {FromLine(v.position, path[1], path[2]), FromLine(v.position, path[2], path[3])};
        // A joint's ring lies on the tubes of both segments that meet there.
        for (const float* pair : {inner, outer})
            if (std::fabs(pair[0] - 0.5f) < 1e-4f && std::fabs(pair[1] - 0.5f) < 1e-4f)
                ++atJoints;
    }
    // Two joints, 12 points a ring, each point twice (two sides meet there).
    EXPECT_EQ(atJoints, 2 * 12 * 2);
}

TEST(MeshPrimitives, UvUnitRepeatsByLength) {
    CMeshBuilder mesh;
    MeshUv uv;
    uv.unit = 0.5f;
    ASSERT_TRUE(mesh.AddExtrusion({{0, 0}, {2, 0}, {2, 1}, {0, 1}}, 3, false, false, CMatrix(), uv));
    float maxU = 0, maxV = 0;
    for (const MeshVertex& v : mesh.Vertices())
        maxU = std::fmax(maxU, v.u), maxV = std::fmax(maxV, v.v);
    EXPECT_FLOAT_EQ(maxU, 12.0f); // perimeter 6 over 0.5
    EXPECT_FLOAT_EQ(maxV, 6.0f);  // depth 3 over 0.5
}

} // namespace
