#include "engine/scene/Transform.h"

#include <algorithm>
#include <cmath>

#include "engine/anim/AnimAttribute.h"
#include "engine/core/FrameStamp.h"

int32_t WorldMatrixComputations = 0;

namespace {

CHandle g_rootTransform = NULL_HANDLE;
CHandle g_defaultParent = NULL_HANDLE;

// Frame stamps count up and may wrap; compare by difference.
bool IsLater(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b) > 0; }

bool IsTransformKind(int kind) { return kind == RT_TRANSFORM || kind == RT_BONE; }

const float EMPTY_RADIUS = -2.0f;
const float UNBOUNDED_RADIUS = -1.0f;

} // namespace

HandleTable<CTransform>& TransformHandles() {
    static HandleTable<CTransform> table;
    return table;
}

CTransform::CTransform(const char* name, int kind)
    : CNode(name, kind),
      m_channels{CChannel(this, 0.0f), CChannel(this, 0.0f), CChannel(this, 0.0f), CChannel(this, 0.0f),
                 CChannel(this, 0.0f), CChannel(this, 0.0f), CChannel(this, 1.0f), CChannel(this, 1.0f),
                 CChannel(this, 1.0f), CChannel(this, 1.0f)},
      m_localStamp(FrameStamp - 1),
      m_worldStamp(FrameStamp - 1),
      m_channelsWritten(false),
      m_localWasSet(false) {
    m_transformHandle = TransformHandles().Register(this);
    if (CTransform* parent = GetDefaultParent())
        parent->AddChild(this);
}

CTransform::CTransform(const CTransform& source, const std::string& scope)
    : CNode(source, scope),
      m_channels{CChannel(this, source.m_channels[0].m_value), CChannel(this, source.m_channels[1].m_value),
                 CChannel(this, source.m_channels[2].m_value), CChannel(this, source.m_channels[3].m_value),
                 CChannel(this, source.m_channels[4].m_value), CChannel(this, source.m_channels[5].m_value),
                 CChannel(this, source.m_channels[6].m_value), CChannel(this, source.m_channels[7].m_value),
                 CChannel(this, source.m_channels[8].m_value), CChannel(this, source.m_channels[9].m_value)},
      m_local(source.m_local),
      m_localStamp(source.m_localStamp),
      // The source's cached world matrix belongs to its place in the tree, not
      // the clone's: the clone computes its own at first use.
      m_worldStamp(FrameStamp - 1),
      m_channelsWritten(source.m_channelsWritten),
      m_localWasSet(source.m_localWasSet) {
    SetChangeStamp(source.GetChangeStamp());
    m_transformHandle = TransformHandles().Register(this);
}

CTransform::~CTransform() {
    TransformHandles().Release(m_transformHandle.index);
    m_children.clear();
}

CHandle CTransform::GetChannel(int attribute) {
    if (attribute >= AA_TRANSLATION_X && attribute <= AA_SCALE_Z)
        return m_channels[attribute].GetHandle();
    if (attribute == AA_VISIBLE)
        return m_channels[TC_VISIBLE].GetHandle();
    return NULL_HANDLE;
}

bool CTransform::AddChild(CNode* child) {
    if (!child)
        return false;
    // Refuse this transform and every ancestor of it. The walk is bounded by
    // the table size in case a broken chain ever slips through.
    int32_t steps = TransformHandles().SlotCount() + 1;
    for (CTransform* t = this; t && steps > 0; t = t->GetParent(), --steps) {
        if (static_cast<CNode*>(t) == child)
            return false;
    }
    if (CTransform* old = child->GetParent()) {
        child->SetParentHandle(NULL_HANDLE);
        CHandle handle = child->GetNodeHandle();
        old->m_children.erase(std::remove(old->m_children.begin(), old->m_children.end(), handle),
                              old->m_children.end());
    }
    child->SetParentHandle(m_transformHandle);
    m_children.push_back(child->GetNodeHandle());
    return true;
}

void CTransform::RemoveChild(CNode* child) {
    if (!child)
        return;
    if (child->GetParentHandle() == m_transformHandle)
        child->SetParentHandle(NULL_HANDLE);
    CHandle handle = child->GetNodeHandle();
    m_children.erase(std::remove(m_children.begin(), m_children.end(), handle), m_children.end());
}

void CTransform::Render() {}

void CTransform::RenderTree() {
    if (m_channels[TC_VISIBLE].m_value == 0.0f)
        return;
    CNode::RenderTree();
    // By index, re-reading the size: drawing may reattach nodes (a parent
    // swap) while we walk.
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (CNode* child = NodeHandles().Resolve(m_children[i]))
            child->RenderTree();
    }
}

CTransform* CTransform::Clone(const std::string& scope) {
    CTransform* clone = new CTransform(*this, scope);
    clone->CloneChildren(*this, scope);
    return clone;
}

void CTransform::CloneChildren(const CTransform& source, const std::string& scope) {
    // A copy: each clone first joins its source's parent, which is the source.
    std::vector<CHandle> children = source.m_children;
    for (CHandle handle : children) {
        CNode* child = NodeHandles().Resolve(handle);
        if (!child)
            continue;
        if (CNode* copy = child->Clone(scope))
            AddChild(copy);
    }
}

void CTransform::Print(std::ostream& out, int depth) {
    CNode::Print(out, depth);
    for (CHandle handle : m_children) {
        if (CNode* child = NodeHandles().Resolve(handle))
            child->Print(out, depth + 1);
    }
}

void CTransform::ComputeLocalMatrix(CMatrix& out) const {
    const CChannel* c = m_channels;
    float cx = std::cos(-c[TC_ROTATION_X].m_value), sx = std::sin(-c[TC_ROTATION_X].m_value);
    float cy = std::cos(-c[TC_ROTATION_Y].m_value), sy = std::sin(-c[TC_ROTATION_Y].m_value);
    float cz = std::cos(-c[TC_ROTATION_Z].m_value), sz = std::sin(-c[TC_ROTATION_Z].m_value);
    float scaleX = c[TC_SCALE_X].m_value, scaleY = c[TC_SCALE_Y].m_value, scaleZ = c[TC_SCALE_Z].m_value;

    out(0, 0) = scaleX * (cy * cz);
    out(0, 1) = scaleX * (-cy * sz);
    out(0, 2) = scaleX * sy;
    out(0, 3) = 0.0f;
    out(1, 0) = scaleY * (cz * sy * sx + cx * sz);
    out(1, 1) = scaleY * (cx * cz - sx * sz * sy);
    out(1, 2) = scaleY * (-sx * cy);
    out(1, 3) = 0.0f;
    out(2, 0) = scaleZ * (sz * sx - cz * sy * cx);
    out(2, 1) = scaleZ * (cx * sz * sy + cz * sx);
    out(2, 2) = scaleZ * (cx * cy);
    out(2, 3) = 0.0f;
    out(3, 0) = c[TC_TRANSLATION_X].m_value;
    out(3, 1) = c[TC_TRANSLATION_Y].m_value;
    out(3, 2) = c[TC_TRANSLATION_Z].m_value;
    out(3, 3) = 1.0f;
}

void CTransform::Touch() {
    m_channelsWritten = true;
    CChangeStamp::Touch();
}

// Frame stamps alone would miss a write made in the frame of the last build:
// it would never show until another write in a later frame.
const CMatrix& CTransform::GetLocalMatrix() {
    if (IsLater(GetChangeStamp(), m_localStamp) || (m_channelsWritten && !m_localWasSet)) {
        ComputeLocalMatrix(m_local);
        m_localStamp = FrameStamp;
        m_channelsWritten = false;
        m_localWasSet = false;
    }
    return m_local;
}

void CTransform::SetLocalMatrix(const CMatrix& matrix) {
    m_local = matrix;
    m_localStamp = FrameStamp;
    m_channelsWritten = false;
    m_localWasSet = true;
}

const CMatrix& CTransform::GetWorldMatrix() {
    const CMatrix& local = GetLocalMatrix();
    if (m_worldStamp == FrameStamp)
        return m_world;
    CTransform* parent = GetParent();
    if (!parent)
        return local;
    ++WorldMatrixComputations;
    const CMatrix& parentWorld = parent->GetWorldMatrix();
    D3DXMatrixMultiply(&m_world, &local, &parentWorld);
    m_worldStamp = FrameStamp;
    return m_world;
}

void CTransform::SetLightSetTree(CHandle lightSet) {
    for (CHandle handle : m_children) {
        CNode* child = NodeHandles().Resolve(handle);
        if (!child)
            continue;
        if (IsTransformKind(child->GetKind())) {
            if (CTransform* transform = dynamic_cast<CTransform*>(child))
                transform->SetLightSetTree(lightSet);
        } else if (child->GetKind() == RT_SHAPE) {
            child->SetLightSet(lightSet);
        }
    }
}

void CTransform::ComputeBoundingSphere(Vec3& centre, float& radius) {
    bool any = false;
    Vec3 boxMin, boxMax;
    for (CHandle handle : m_children) {
        CNode* child = NodeHandles().Resolve(handle);
        if (!child)
            continue;
        // Each contribution starts in this node's own space: a shape's bounds
        // as its geometry gives them, a transform's as it computed them in its
        // parent's space, which is this one.
        Vec3 c;
        float r = EMPTY_RADIUS;
        if (child->GetKind() == RT_SHAPE) {
            if (!child->GetBoundingSphere(c, r))
                continue;
        } else if (IsTransformKind(child->GetKind())) {
            CTransform* transform = dynamic_cast<CTransform*>(child);
            if (!transform)
                continue;
            transform->ComputeBoundingSphere(c, r);
        } else {
            continue;
        }
        if (r == EMPTY_RADIUS)
            continue;
        if (!(r >= 0.0f)) {
            centre = Vec3(0.0f, 0.0f, 0.0f);
            radius = UNBOUNDED_RADIUS;
            return;
        }
        // Into the parent's space; the sentinels were recognised before any
        // scaling could change them.
        const CMatrix& local = GetLocalMatrix();
        c.TransformCoord(local);
        float longest = 0.0f;
        for (int row = 0; row < 3; ++row) {
            float length = std::sqrt(local(row, 0) * local(row, 0) + local(row, 1) * local(row, 1) +
                                     local(row, 2) * local(row, 2));
            longest = std::max(longest, length);
        }
        r *= longest;
        Vec3 lo(c.x - r, c.y - r, c.z - r), hi(c.x + r, c.y + r, c.z + r);
        if (!any) {
            boxMin = lo;
            boxMax = hi;
            any = true;
        } else {
            boxMin = Vec3(std::min(boxMin.x, lo.x), std::min(boxMin.y, lo.y), std::min(boxMin.z, lo.z));
            boxMax = Vec3(std::max(boxMax.x, hi.x), std::max(boxMax.y, hi.y), std::max(boxMax.z, hi.z));
        }
    }
    if (!any) {
        centre = Vec3(0.0f, 0.0f, 0.0f);
        radius = EMPTY_RADIUS;
        return;
    }
    centre = Vec3((boxMin.x + boxMax.x) * 0.5f, (boxMin.y + boxMax.y) * 0.5f, (boxMin.z + boxMax.z) * 0.5f);
    radius = std::max(std::max(boxMax.x - boxMin.x, boxMax.y - boxMin.y), boxMax.z - boxMin.z) * 0.5f;
}

float CTransform::GetChannelValue(int slot) const {
    if (slot < 0 || slot >= TC_COUNT)
        return 0.0f;
    return m_channels[slot].m_value;
}

void CTransform::SetChannelValue(int slot, float value) {
    if (slot < 0 || slot >= TC_COUNT)
        return;
    m_channels[slot].m_value = value;
    // Visibility is not part of the matrix: showing or hiding a node keeps a
    // matrix that was set.
    if (slot != TC_VISIBLE)
        Touch();
}

void CTransform::SetTranslation(float x, float y, float z) {
    m_channels[TC_TRANSLATION_X].m_value = x;
    m_channels[TC_TRANSLATION_Y].m_value = y;
    m_channels[TC_TRANSLATION_Z].m_value = z;
    Touch();
}

void CTransform::SetRotation(float x, float y, float z) {
    m_channels[TC_ROTATION_X].m_value = x;
    m_channels[TC_ROTATION_Y].m_value = y;
    m_channels[TC_ROTATION_Z].m_value = z;
    Touch();
}

void CTransform::SetScale(float x, float y, float z) {
    m_channels[TC_SCALE_X].m_value = x;
    m_channels[TC_SCALE_Y].m_value = y;
    m_channels[TC_SCALE_Z].m_value = z;
    Touch();
}

void CTransform::SetVisible(float visible) { SetChannelValue(TC_VISIBLE, visible); }

CTransform* CreateRootTransform() {
    if (CTransform* root = GetRootTransform())
        return root;
    g_defaultParent = NULL_HANDLE;
    CTransform* root = new CTransform(ROOT_TRANSFORM_NAME, RT_TRANSFORM);
    g_rootTransform = root->GetTransformHandle();
    g_defaultParent = g_rootTransform;
    return root;
}

CTransform* GetRootTransform() { return TransformHandles().Resolve(g_rootTransform); }

void SetDefaultParent(CTransform* transform) {
    g_defaultParent = transform ? transform->GetTransformHandle() : NULL_HANDLE;
}

CTransform* GetDefaultParent() { return TransformHandles().Resolve(g_defaultParent); }
