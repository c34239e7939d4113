#include "tools/content/SkeletonBuilder.h"

#include <cmath>

namespace {
bool CanHoldChildren(int kind) { return kind == RT_BONE || kind == RT_TRANSFORM; }
} // namespace

void ComputeRestMatrix(const TransformRecord& channels, CMatrix& out) {
    const float* r = channels.rotation;
    const float* s = channels.scale;
    float cx = std::cos(-r[0]), sx = std::sin(-r[0]);
    float cy = std::cos(-r[1]), sy = std::sin(-r[1]);
    float cz = std::cos(-r[2]), sz = std::sin(-r[2]);
    out(0, 0) = s[0] * (cy * cz);
    out(0, 1) = s[0] * (-cy * sz);
    out(0, 2) = s[0] * sy;
    out(0, 3) = 0.0f;
    out(1, 0) = s[1] * (cz * sy * sx + cx * sz);
    out(1, 1) = s[1] * (cx * cz - sx * sz * sy);
    out(1, 2) = s[1] * (-sx * cy);
    out(1, 3) = 0.0f;
    out(2, 0) = s[2] * (sz * sx - cz * sy * cx);
    out(2, 1) = s[2] * (cx * sz * sy + cz * sx);
    out(2, 2) = s[2] * (cx * cy);
    out(2, 3) = 0.0f;
    out(3, 0) = channels.translation[0];
    out(3, 1) = channels.translation[1];
    out(3, 2) = channels.translation[2];
    out(3, 3) = 1.0f;
}

int CSkeletonBuilder::Find(const std::string& name) const {
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].name == name)
            return int(i);
    return -1;
}

int CSkeletonBuilder::AddNode(const std::string& name, int kind, const std::string& parentName, MeshPoint translation,
                              MeshPoint rotation, MeshPoint scale) {
    int parent = parentName.empty() ? -1 : Find(parentName);
    if (name.empty() || Find(name) >= 0 || (!parentName.empty() && parent < 0) ||
        (parent >= 0 && !CanHoldChildren(m_nodes[size_t(parent)].kind))) {
        m_failed = true;
        return -1;
    }
    SkeletonNode node;
    node.name = name;
    node.kind = kind;
    node.parent = parent;
    node.channels.name = name;
    const float values[3][3] = {{translation.x, translation.y, translation.z},
                                {rotation.x, rotation.y, rotation.z},
                                {scale.x, scale.y, scale.z}};
    for (int i = 0; i < 3; ++i) {
        node.channels.translation[i] = values[0][i];
        node.channels.rotation[i] = values[1][i];
        node.channels.scale[i] = values[2][i];
    }
    ComputeRestMatrix(node.channels, node.local);
    if (parent >= 0)
        D3DXMatrixMultiply(&node.world, &node.local, &m_nodes[size_t(parent)].world);
    else
        node.world = node.local;
    float determinant = 0;
    D3DXMatrixInverse(&node.offset, &determinant, &node.world);
    if (!std::isfinite(determinant) || std::fabs(determinant) < 1e-12f) {
        m_failed = true;
        return -1;
    }
    m_nodes.push_back(node);
    return int(m_nodes.size()) - 1;
}

int CSkeletonBuilder::AddBone(const std::string& name, const std::string& parent, MeshPoint translation,
                              MeshPoint rotation, MeshPoint scale) {
    return AddNode(name, RT_BONE, parent, translation, rotation, scale);
}

int CSkeletonBuilder::AddTransform(const std::string& name, const std::string& parent, MeshPoint translation,
                                   MeshPoint rotation, MeshPoint scale) {
    return AddNode(name, RT_TRANSFORM, parent, translation, rotation, scale);
}

int CSkeletonBuilder::AddLeaf(const std::string& name, int kind, const std::string& parent) {
    if (CanHoldChildren(kind) || !IsValidResourceKind(kind) || kind == RT_HIERARCHY) {
        m_failed = true;
        return -1;
    }
    return AddNode(name, kind, parent, {0, 0, 0}, {0, 0, 0}, {1, 1, 1});
}

MeshPoint CSkeletonBuilder::RestPoint(int index, MeshPoint local) const {
    D3DXVECTOR3 p{local.x, local.y, local.z};
    D3DXVec3TransformCoord(&p, &p, &m_nodes[size_t(index)].world);
    return {p.x, p.y, p.z};
}

SkinSegment CSkeletonBuilder::Segment(int index, int paletteIndex, MeshPoint tail) const {
    return {paletteIndex, RestPoint(index, {0, 0, 0}), RestPoint(index, tail)};
}

void CSkeletonBuilder::WriteNodes(CChunkWriter& writer) const {
    // Nodes are added after their parents, so the order already holds.
    for (const SkeletonNode& node : m_nodes) {
        if (node.kind == RT_TRANSFORM) {
            writer.Write(node.channels);
        } else if (node.kind == RT_BONE) {
            BoneRecord bone;
            bone.transform = node.channels;
            for (int column = 0; column < 3; ++column)
                for (int row = 0; row < 4; ++row)
                    bone.offset[column][row] = node.offset(row, column);
            writer.Write(bone);
        }
    }
}

void CSkeletonBuilder::AppendTree(int index, int parentInRecord, HierarchyRecord& record) const {
    HierarchyNode entry;
    entry.name = m_nodes[size_t(index)].name;
    entry.kind = m_nodes[size_t(index)].kind;
    entry.parent = parentInRecord;
    for (const SkeletonNode& node : m_nodes)
        if (node.parent == index)
            ++entry.childCount;
    int self = int(record.nodes.size());
    record.nodes.push_back(entry);
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].parent == index)
            AppendTree(int(i), self, record);
}

void CSkeletonBuilder::WriteHierarchy(CChunkWriter& writer) const {
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        if (m_nodes[i].parent >= 0)
            continue;
        HierarchyRecord record;
        AppendTree(int(i), -1, record);
        writer.Write(record);
    }
}
