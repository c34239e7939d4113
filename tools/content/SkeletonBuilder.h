#pragma once
#include <string>
#include <vector>

#include "engine/chunk/ChunkRecords.h"
#include "engine/math/Matrix.h"
#include "tools/content/MeshBuilder.h"
#include "tools/chunkwriter/ChunkWriter.h"

// A node of a rig: a bone, a plain transform or a leaf (a shape) that the
// hierarchy hangs somewhere. Matrices are in the row-vector layout; `world`
// is the rest pose relative to the rig's top's parent, `offset` its inverse
// (the bind matrix that takes the mesh into the bone's space).
struct SkeletonNode {
    std::string name;
    int kind = RT_BONE;
    int parent = -1;
    TransformRecord channels;
    CMatrix local;
    CMatrix world;
    CMatrix offset;
};

// Builds named bones and transforms with their parents and rest channels,
// works out their rest and bind matrices as the engine will, and writes them
// as transform, bone and hierarchy chunks.
class CSkeletonBuilder {
public:
    // Each answers the node's index, or -1 (and marks the builder failed) for
    // a name already taken, an unknown parent (empty: a top node), a parent
    // that cannot hold children or a singular rest pose.
    int AddBone(const std::string& name, const std::string& parent, MeshPoint translation,
                MeshPoint rotation = {0, 0, 0}, MeshPoint scale = {1, 1, 1});
    int AddTransform(const std::string& name, const std::string& parent, MeshPoint translation,
                     MeshPoint rotation = {0, 0, 0}, MeshPoint scale = {1, 1, 1});
    // A node written elsewhere (a shape) that the hierarchy attaches.
    int AddLeaf(const std::string& name, int kind, const std::string& parent);

    int Find(const std::string& name) const;
    const std::vector<SkeletonNode>& Nodes() const { return m_nodes; }
    const SkeletonNode& Node(int index) const { return m_nodes[size_t(index)]; }
    // A point in a node's own space, in the rig's rest space.
    MeshPoint RestPoint(int index, MeshPoint local) const;
    // The segment from a bone's origin to `tail` (in its own space), for
    // weighting a mesh by distance, with the bone's palette index.
    SkinSegment Segment(int index, int paletteIndex, MeshPoint tail) const;

    // Transform and bone chunks, parents before children.
    void WriteNodes(CChunkWriter& writer) const;
    // One hierarchy record for each top node's tree (written after every node
    // it names: nodes, then shapes, then the hierarchy).
    void WriteHierarchy(CChunkWriter& writer) const;
    bool Failed() const { return m_failed; }

private:
    int AddNode(const std::string& name, int kind, const std::string& parent, MeshPoint translation, MeshPoint rotation,
                MeshPoint scale);
    void AppendTree(int index, int parentInRecord, HierarchyRecord& record) const;

    std::vector<SkeletonNode> m_nodes;
    bool m_failed = false;
};

// The local matrix of a transform's channels, as the engine builds it.
void ComputeRestMatrix(const TransformRecord& channels, CMatrix& out);
