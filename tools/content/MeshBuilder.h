#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "engine/chunk/VertexSize.h"
#include "engine/math/Matrix.h"

// The vertex layouts the tools build, as the engine's shader types draw them.
constexpr uint32_t VERTEX_FORMAT_CONSTANT = ShaderVertexMask(ST_CONSTANT);     // position, texcoord
constexpr uint32_t VERTEX_FORMAT_LAMBERT = ShaderVertexMask(ST_LAMBERT);       // position, normal, texcoord
constexpr uint32_t VERTEX_FORMAT_LAMBERT_VB = ShaderVertexMask(ST_LAMBERT_VB); // position, normal, colour, texcoord
// Skinned layouts: position, normal, 2, 3 or 4 weights, four bone indices
// (floats holding 3 x the palette index), texcoord.
constexpr uint32_t VERTEX_FORMAT_SKIN_2 = ShaderVertexMask(ST_LAMBERT_2WS);
constexpr uint32_t VERTEX_FORMAT_SKIN_3 = ShaderVertexMask(ST_LAMBERT_3WS);
constexpr uint32_t VERTEX_FORMAT_SKIN_4 = ShaderVertexMask(ST_LAMBERT_4WS);
// Influences a vertex may carry: the four weights of the widest layout.
constexpr int MESH_MAX_INFLUENCES = 4;

struct MeshPoint {
    float x, y, z;
};

// Palette indices (positions in the skinned shader's bone list) and their
// weights, strongest first; influences past `count` are unused.
struct MeshSkin {
    int count = 0;
    int bones[MESH_MAX_INFLUENCES] = {0, 0, 0, 0};
    float weights[MESH_MAX_INFLUENCES] = {0, 0, 0, 0};
};

struct MeshVertex {
    MeshPoint position;
    MeshPoint normal;
    float colour[4];
    float u, v;
    MeshSkin skin;
};

// A bone for weighting by distance: its palette index and the segment it
// spans, in the mesh's space (bind pose).
struct SkinSegment {
    int bone;
    MeshPoint start, end;
};

// A point of a lathe profile: distance from the y axis and height.
struct LathePoint {
    float radius, y;
};

// A point of an extrusion outline in the plane across the path.
struct OutlinePoint {
    float x, y;
};

// Texture mapping of a face: with a unit above zero the texture repeats
// every `unit` room units along the face's two axes; with zero it spans the
// face once (a cylinder's side `around` times round).
struct MeshUv {
    float unit = 0;
    float around = 1;
};

// Collects triangles of one material from boxes, cylinders and quads, and
// turns them into one indexed triangle list in a chosen vertex layout. Quads
// are given counter-clockwise as seen from the side they face (the side the
// renderer draws; the back is culled unless the geometry is double-sided).
class CMeshBuilder {
public:
    void SetColour(float r, float g, float b, float a = 1.0f);

    // A quad p0 p1 p2 p3, counter-clockwise seen from its front; p0 maps to
    // texture (0, 1) (bottom left) and p2 to the far corner.
    void AddQuad(MeshPoint p0, MeshPoint p1, MeshPoint p2, MeshPoint p3, MeshUv uv = {});
    // The same over a part of the texture: p3 at (u0, v0), its top left, and
    // p1 at (u1, v1).
    void AddQuad(MeshPoint p0, MeshPoint p1, MeshPoint p2, MeshPoint p3, float u0, float v0, float u1, float v1);
    // An axis-aligned box; faces point outward, or inward for a room shell.
    // faceMask bits: 1 -x, 2 +x, 4 -y, 8 +y, 16 -z, 32 +z.
    void AddBox(MeshPoint low, MeshPoint high, MeshUv uv = {}, int faceMask = 63, bool inward = false);
    // An upright cylinder around (x, z) from y0 to y1. The side's u runs once
    // round, v from top (0) to bottom (1); caps map the texture's top row.
    void AddCylinder(float x, float z, float radius, float y0, float y1, int segments, bool inward, bool topCap,
                     bool bottomCap, MeshUv uv = {});
    // A flat disc facing up (or down) at height y.
    void AddDisc(float x, float z, float radius, float y, int segments, bool facingUp);

    // The shapes below are built around the origin with y as their axis and
    // then placed by `placement` (a row-vector matrix: scale, rotate,
    // translate); normals follow by its inverse transpose, and a mirroring
    // placement keeps the faces counter-clockwise from outside. u runs once
    // round (`around` times, or per `unit`), v from top (0) to bottom (1).
    // Each answers false, adding nothing, for sizes or counts that make no
    // shape (fewer than 3 segments, a singular placement, ...).

    // A UV sphere: `rings` bands from pole to pole, `segments` round.
    bool AddSphere(float radius, int rings, int segments, const CMatrix& placement = CMatrix(), MeshUv uv = {});
    // A capsule: a cylinder of `length` centred on the origin, cut into
    // `bands` along its length (rings of vertices for skinning to bend), with
    // a hemisphere of `rings` bands on each end.
    bool AddCapsule(float radius, float length, int rings, int segments, int bands = 1,
                    const CMatrix& placement = CMatrix(), MeshUv uv = {});
    // A profile revolved about y. The profile runs so that its outside lies
    // to its right in the (radius, y) plane (bottom to top for a vase); ends
    // on the axis close it. Normals are smooth along the profile; a point
    // given twice makes a crease there.
    bool AddLathe(const std::vector<LathePoint>& profile, int segments, const CMatrix& placement = CMatrix(),
                  MeshUv uv = {});
    // An outline (a simple polygon, either winding) swept along a path of at
    // least two points, its x and y across the path, capped at both ends
    // when `caps`. The outline's up axis starts as the world's y (z when the
    // path starts along y) and turns with the path; at a bend the outline is
    // mitred so that walls keep their thickness. `smooth` averages the
    // side normals at each outline point (a round outline); otherwise every
    // side is flat.
    bool AddExtrusion(const std::vector<OutlinePoint>& outline, const std::vector<MeshPoint>& path, bool caps,
                      bool smooth, const CMatrix& placement = CMatrix(), MeshUv uv = {});
    // The same along z, from 0 to `depth`.
    bool AddExtrusion(const std::vector<OutlinePoint>& outline, float depth, bool caps, bool smooth,
                      const CMatrix& placement = CMatrix(), MeshUv uv = {});

    // A surface given by a function of (s, t), both 0..1, sampled on a grid
    // of `columns` x `rows` cells; `at` sets the point and its texture
    // coordinates. The front is the side of dP/ds x dP/dt; normals come from
    // neighbouring samples, so a closed surface (equal points at s = 0 and 1)
    // is smooth across its seam. False, adding nothing, for no cells or a
    // point that is not finite.
    using SurfaceFn = std::function<void(float s, float t, MeshPoint& point, float& u, float& v)>;
    bool AddSurface(int columns, int rows, const SurfaceFn& at);

    // Skin given to the vertices added from now on (count 0 for none).
    void SetSkin(const MeshSkin& skin) { m_skin = skin; }
    // Replaces the skin of one vertex already added (false outside the mesh).
    bool SetVertexSkin(int vertex, const MeshSkin& skin) {
        if (vertex < 0 || vertex >= VertexCount())
            return false;
        m_vertices[size_t(vertex)].skin = skin;
        return true;
    }
    // Weights the vertices from `firstVertex` on by their distance to the
    // bone segments: the nearest `influences` bones (at most four), each by
    // the inverse of its distance to the power `sharpness`, summing to 1;
    // weights below 1% are dropped. False for no segments or a bone outside
    // the palette.
    bool WeightByDistance(int firstVertex, const std::vector<SkinSegment>& bones, int influences,
                          float sharpness = 4.0f);

    bool Empty() const { return m_indices.empty(); }
    int VertexCount() const { return int(m_vertices.size()); }
    const std::vector<MeshVertex>& Vertices() const { return m_vertices; }
    const std::vector<uint16_t>& Indices() const { return m_indices; }
    // False once more vertices were added than 16-bit indices reach.
    bool Fits() const { return m_vertices.size() <= 65536; }

private:
    int AddVertex(MeshPoint p, MeshPoint n, float u, float v);
    void AddTriangle(int a, int b, int c);
    // Revolves profile points with their (radius, y) normals.
    bool AddRevolved(const std::vector<LathePoint>& points, const std::vector<LathePoint>& normals, int segments,
                     const CMatrix& placement, MeshUv uv);
    // Moves the vertices and triangles from the given ones on by the placement.
    bool Place(int firstVertex, size_t firstIndex, const CMatrix& placement);

    std::vector<MeshVertex> m_vertices;
    std::vector<uint16_t> m_indices;
    float m_colour[4] = {1, 1, 1, 1};
    MeshSkin m_skin;
};

// A geometry record with its own vertex and index bytes, so that the
// record's pointers stay valid as long as this object lives.
struct BuiltGeometry {
    GeometryRecord record;
    std::vector<uint8_t> vertexBytes;
    std::vector<uint8_t> indexBytes;

    BuiltGeometry() = default;
    BuiltGeometry(const BuiltGeometry&) = delete;
    BuiltGeometry& operator=(const BuiltGeometry&) = delete;
};

// Packs the builder's triangles as one triangle-list group in the layout of
// `vertexFormat` (one of those above), with a bounding sphere around the
// vertices. False when the mesh is empty, too large or the layout unknown;
// for a skinned layout also when a vertex has no skin, more influences than
// the layout holds, a bone outside the palette or weights not summing to 1.
bool BuildGeometry(const CMeshBuilder& mesh, const std::string& name, uint32_t vertexFormat, bool doubleSided,
                   BuiltGeometry& out);
