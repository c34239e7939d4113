#pragma once
#include <cstdint>
#include <vector>

#include "engine/spring/SpringSystem.h"

struct CMatrix;

// CPU skinning with springs for the dynamic shader types: each frame every
// vertex is skinned in world space, and the part of it that belongs to the
// dynamics bone is left to a spring solver (one point per vertex, linked as
// the model's link table says) that falls, keeps its link lengths and is
// pushed out of the frame's colliders. A shader of a dynamic type holds one
// of these by value and calls Update from its skin update with the bone
// matrices (offset × world) and its geometry's two vertex copies.
//
// Vertex layout (floats): position 3, normal 3, weights n, indices 4 (each
// 3 × a palette index), texture coordinate 2; n is 2, 3 or 4.
class CDynamicSkin {
public:
    explicit CDynamicSkin(int weightCount);
    CDynamicSkin(const CDynamicSkin&) = delete;
    CDynamicSkin& operator=(const CDynamicSkin&) = delete;

    int GetWeightCount() const { return m_weightCount; }
    int GetVertexFloats() const { return 12 + m_weightCount; }

    // The position in the shader's bones of the bone whose name begins with
    // "DynamicsBone"; -1 for none, which makes the skinning rigid.
    void SetDynamicsBone(int index) { m_dynamicsBone = index; }
    int GetDynamicsBone() const { return m_dynamicsBone; }
    bool IsInitialised() const { return m_initialised; }
    CSpringSystem& GetSprings() { return m_springs; }

    // The model's link table: for point 0, 1, 2 ... the points it links to,
    // each run ended by -1; every entry adds a link of factor 1. False when an
    // entry is below -1 or the table ends inside a run.
    bool ReadLinkTable(const int32_t* values, int count);
    // True when every vertex's bone indices name one of boneCount bones and
    // every link names one of vertexCount vertices (checked at load, and
    // again before the first update binds the solver).
    bool Fits(const float* bindVertices, int vertexCount, int boneCount) const;

    // One frame. Writes positions and normals of workVertices only; false,
    // writing nothing, when the vertices or links do not fit. The first call,
    // or a call with other vertices than before, binds the solver to them.
    bool Update(const float* bindVertices, float* workVertices, int vertexCount, const CMatrix* bones, int boneCount,
                float frameTimeMs);

    // Copies the initialised flag, the dynamics bone and the spring system
    // (for a model instance made from this one).
    void Assign(const CDynamicSkin& other);

    // A move of at least this far in one frame (squared) is a jump: the
    // dynamic parts are put in their rigid pose instead of swinging.
    static constexpr float JUMP_DISTANCE_SQ = 9.0f;

private:
    struct Influence {
        float full[3];    // Σ w × (M · p) over all the vertex's bones
        float target[3];  // the same without the dynamics bone
        float dynamic[3]; // a × (M_dyn · p)
        float a;          // the vertex's weight on the dynamics bone
    };
    void Skin(const float* vertex, int boneCount, const CMatrix* bones, Influence& out) const;
    int BoneOf(float index, int boneCount) const;

    int m_weightCount;
    bool m_initialised = false;
    int m_dynamicsBone = -1;
    std::vector<float> m_previousTargets;
    std::vector<float> m_currentTargets;
    std::vector<float> m_dynamicWeights;
    std::vector<float> m_dynamicParts;
    CSpringSystem m_springs;
    // What the solver was bound to; a change (an instance drawn with its own
    // geometry) binds it afresh.
    const float* m_boundWork = nullptr;
    int m_boundCount = 0;
    int m_boundBones = 0;
};
