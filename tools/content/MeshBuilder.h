#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"

// Vertex layouts the room's shader types draw with.
constexpr uint32_t VERTEX_FORMAT_CONSTANT = 0x801;  // position, texcoord
constexpr uint32_t VERTEX_FORMAT_LAMBERT = 0x803;   // position, normal, texcoord
constexpr uint32_t VERTEX_FORMAT_LAMBERT_VB = 0x813; // position, normal, colour, texcoord

struct MeshPoint {
    float x, y, z;
};

struct MeshVertex {
    MeshPoint position;
    MeshPoint normal;
    float colour[4];
    float u, v;
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
    // An axis-aligned box; faces point outward, or inward for a room shell.
    // faceMask bits: 1 -x, 2 +x, 4 -y, 8 +y, 16 -z, 32 +z.
    void AddBox(MeshPoint low, MeshPoint high, MeshUv uv = {}, int faceMask = 63, bool inward = false);
    // An upright cylinder around (x, z) from y0 to y1. The side's u runs once
    // round, v from top (0) to bottom (1); caps map the texture's top row.
    void AddCylinder(float x, float z, float radius, float y0, float y1, int segments, bool inward, bool topCap,
                     bool bottomCap, MeshUv uv = {});
    // A flat disc facing up (or down) at height y.
    void AddDisc(float x, float z, float radius, float y, int segments, bool facingUp);

    bool Empty() const { return m_indices.empty(); }
    int VertexCount() const { return int(m_vertices.size()); }
    const std::vector<MeshVertex>& Vertices() const { return m_vertices; }
    const std::vector<uint16_t>& Indices() const { return m_indices; }
    // False once more vertices were added than 16-bit indices reach.
    bool Fits() const { return m_vertices.size() <= 65536; }

private:
    int AddVertex(MeshPoint p, MeshPoint n, float u, float v);
    void AddTriangle(int a, int b, int c);

    std::vector<MeshVertex> m_vertices;
    std::vector<uint16_t> m_indices;
    float m_colour[4] = {1, 1, 1, 1};
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
// `vertexFormat` (one of the three above), with a bounding sphere around
// the vertices. False when the mesh is empty, too large or the layout unknown.
bool BuildGeometry(const CMeshBuilder& mesh, const std::string& name, uint32_t vertexFormat, bool doubleSided,
                   BuiltGeometry& out);
