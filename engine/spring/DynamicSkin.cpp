#include "engine/spring/DynamicSkin.h"

#include <cmath>
#include <cstring>

#include "engine/math/Matrix.h"
#include "engine/spring/ColliderList.h"

namespace {

constexpr int NORMAL = 3;
constexpr int WEIGHTS = 6;

void TransformPoint(const CMatrix& m, const float* p, float* out) {
    for (int c = 0; c < 3; ++c)
        out[c] = p[0] * m(0, c) + p[1] * m(1, c) + p[2] * m(2, c) + m(3, c);
}

void TransformNormal(const CMatrix& m, const float* n, float* out) {
    for (int c = 0; c < 3; ++c)
        out[c] = n[0] * m(0, c) + n[1] * m(1, c) + n[2] * m(2, c);
}

} // namespace

CDynamicSkin::CDynamicSkin(int weightCount) : m_weightCount(weightCount < 2 ? 2 : weightCount > 4 ? 4 : weightCount) {}

int CDynamicSkin::BoneOf(float index, int boneCount) const {
    // Indices are stored as 3 × the palette index.
    if (!(index >= 0.0f) || !(index < 3.0f * float(boneCount)))
        return -1;
    int bone = int(index * (1.0f / 3.0f));
    return bone < boneCount ? bone : -1;
}

bool CDynamicSkin::ReadLinkTable(const int32_t* values, int count) {
    if (count < 0 || (count > 0 && !values))
        return false;
    int links = 0;
    for (int i = 0; i < count; ++i) {
        if (values[i] < -1)
            return false;
        if (values[i] >= 0)
            ++links;
    }
    if (count > 0 && values[count - 1] != -1)
        return false;
    m_springs.AllocateLinks(links);
    int point = 0;
    for (int i = 0; i < count; ++i) {
        if (values[i] == -1)
            ++point;
        else
            m_springs.AddLink(point, values[i], 1.0f);
    }
    return true;
}

bool CDynamicSkin::Fits(const float* bindVertices, int vertexCount, int boneCount) const {
    if (vertexCount < 0 || (vertexCount > 0 && !bindVertices) || boneCount < 0)
        return false;
    if (!m_springs.LinksWithin(vertexCount))
        return false;
    const int stride = GetVertexFloats();
    for (int v = 0; v < vertexCount; ++v) {
        const float* indices = bindVertices + size_t(v) * stride + WEIGHTS + m_weightCount;
        for (int k = 0; k < m_weightCount; ++k)
            if (BoneOf(indices[k], boneCount) < 0)
                return false;
    }
    return true;
}

void CDynamicSkin::Skin(const float* vertex, int boneCount, const CMatrix* bones, Influence& out) const {
    std::memset(&out, 0, sizeof out);
    const float* weights = vertex + WEIGHTS;
    const float* indices = weights + m_weightCount;
    bool dynamicFound = false;
    for (int k = 0; k < m_weightCount; ++k) {
        int bone = BoneOf(indices[k], boneCount);
        if (bone < 0)
            continue;
        float moved[3];
        TransformPoint(bones[bone], vertex, moved);
        const float w = weights[k];
        for (int c = 0; c < 3; ++c)
            out.full[c] += w * moved[c];
        if (bone == m_dynamicsBone) {
            // The first index naming the dynamics bone gives its weight.
            if (!dynamicFound) {
                dynamicFound = true;
                out.a = w;
                for (int c = 0; c < 3; ++c)
                    out.dynamic[c] = w * moved[c];
            }
        } else {
            for (int c = 0; c < 3; ++c)
                out.target[c] += w * moved[c];
        }
    }
}

bool CDynamicSkin::Update(const float* bindVertices, float* workVertices, int vertexCount, const CMatrix* bones,
                          int boneCount, float frameTimeMs) {
    if (!workVertices || (boneCount > 0 && !bones))
        return false;
    const int stride = GetVertexFloats();
    if (m_initialised && (workVertices != m_boundWork || vertexCount != m_boundCount || boneCount != m_boundBones))
        m_initialised = false;
    if (!m_initialised) {
        if (!Fits(bindVertices, vertexCount, boneCount))
            return false;
        m_springs.AllocatePoints(vertexCount);
        m_previousTargets.assign(size_t(vertexCount) * 3, 0.0f);
        m_currentTargets.assign(size_t(vertexCount) * 3, 0.0f);
        m_dynamicWeights.assign(size_t(vertexCount), 0.0f);
        m_dynamicParts.assign(size_t(vertexCount) * 3, 0.0f);
        for (int v = 0; v < vertexCount; ++v) {
            Influence inf;
            Skin(bindVertices + size_t(v) * stride, boneCount, bones, inf);
            float* pos = workVertices + size_t(v) * stride;
            std::memcpy(pos, inf.full, sizeof inf.full);
            std::memcpy(&m_previousTargets[size_t(v) * 3], inf.full, sizeof inf.full);
            std::memcpy(&m_currentTargets[size_t(v) * 3], inf.full, sizeof inf.full);
            m_springs.AddPoint(pos);
        }
        m_springs.ResetRestLengths();
        m_boundWork = workVertices;
        m_boundCount = vertexCount;
        m_boundBones = boneCount;
        m_initialised = true;
    }

    const int substeps = m_springs.GetSubsteps();
    const int steps = CSpringSystem::FrameSubsteps(frameTimeMs, substeps);

    bool jump = false;
    for (int v = 0; v < vertexCount; ++v) {
        Influence inf;
        Skin(bindVertices + size_t(v) * stride, boneCount, bones, inf);
        float* target = &m_currentTargets[size_t(v) * 3];
        const float* previous = &m_previousTargets[size_t(v) * 3];
        std::memcpy(target, inf.target, sizeof inf.target);
        std::memcpy(&m_dynamicParts[size_t(v) * 3], inf.dynamic, sizeof inf.dynamic);
        m_dynamicWeights[size_t(v)] = inf.a;
        float dx = target[0] - previous[0], dy = target[1] - previous[1], dz = target[2] - previous[2];
        if (dx * dx + dy * dy + dz * dz >= JUMP_DISTANCE_SQ)
            jump = true;
    }

    if (jump) {
        for (int v = 0; v < vertexCount; ++v) {
            float* pos = workVertices + size_t(v) * stride;
            for (int c = 0; c < 3; ++c)
                pos[c] = m_currentTargets[size_t(v) * 3 + c] + m_dynamicParts[size_t(v) * 3 + c];
        }
    } else {
        const bool stepFirst = m_weightCount == 2;
        for (int s = 0; s < steps; ++s) {
            const float f = float(s) / float(steps);
            if (stepFirst)
                m_springs.Step();
            else
                m_springs.Integrate();
            for (int v = 0; v < vertexCount; ++v) {
                float* pos = workVertices + size_t(v) * stride;
                const float a = m_dynamicWeights[size_t(v)];
                for (int c = 0; c < 3; ++c) {
                    float from = m_previousTargets[size_t(v) * 3 + c];
                    float to = m_currentTargets[size_t(v) * 3 + c];
                    pos[c] = from + f * (to - from) + a * pos[c];
                }
            }
            PlaceColliders(f);
            PushAllOutOfColliders(workVertices, vertexCount, stride);
            if (!stepFirst)
                m_springs.RelaxLinks();
        }
    }

    // Normals from every bone, the dynamics bone included; not renormalised.
    for (int v = 0; v < vertexCount; ++v) {
        const float* vertex = bindVertices + size_t(v) * stride;
        float* normal = workVertices + size_t(v) * stride + NORMAL;
        float sum[3] = {0, 0, 0};
        const float* weights = vertex + WEIGHTS;
        const float* indices = weights + m_weightCount;
        for (int k = 0; k < m_weightCount; ++k) {
            int bone = BoneOf(indices[k], boneCount);
            if (bone < 0)
                continue;
            float turned[3];
            TransformNormal(bones[bone], vertex + NORMAL, turned);
            for (int c = 0; c < 3; ++c)
                sum[c] += weights[k] * turned[c];
        }
        std::memcpy(normal, sum, sizeof sum);
    }

    m_springs.SnapShortLinks();
    for (int v = 0; v < vertexCount; ++v)
        if (m_dynamicWeights[size_t(v)] == 0.0f)
            std::memcpy(workVertices + size_t(v) * stride, &m_currentTargets[size_t(v) * 3], 3 * sizeof(float));
    m_previousTargets.swap(m_currentTargets);
    return true;
}

void CDynamicSkin::Assign(const CDynamicSkin& other) {
    if (&other == this)
        return;
    m_weightCount = other.m_weightCount;
    m_initialised = other.m_initialised;
    m_dynamicsBone = other.m_dynamicsBone;
    m_previousTargets = other.m_previousTargets;
    m_currentTargets = other.m_currentTargets;
    m_dynamicWeights = other.m_dynamicWeights;
    m_dynamicParts = other.m_dynamicParts;
    m_springs.Assign(other.m_springs);
    m_boundWork = other.m_boundWork;
    m_boundCount = other.m_boundCount;
    m_boundBones = other.m_boundBones;
}
