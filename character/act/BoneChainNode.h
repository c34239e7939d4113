#pragma once
#include <string>
#include <vector>

#include "engine/math/Matrix.h"
#include "engine/scene/ModelInstanceNode.h"

class CNode;
class CTransform;

// A named node of a loaded model: name (the scope suffix is appended when it
// is looked up) and resource kind.
struct NodeRef {
    std::string name;
    int kind;
};

struct BoneChainDesc {
    std::vector<ModelRef> models;
    NodeRef root;
    NodeRef tip;
    NodeRef extra; // an empty name: none
};

// The model instance that motions move. It keeps the chain of nodes from just
// below the named root down to the tip, whose product carries the tip's frame
// into the root's, and sums the root placements of the motions that are
// blended in one update.
class CBoneChainNode : public CModelInstanceNode {
public:
    CBoneChainNode(const std::string& localName, const BoneChainDesc& desc, const std::string& scope);
    ~CBoneChainNode() override;

    // Root side first: each node's local matrix, the tip's translation only.
    void GetChainMatrix(CMatrix& out) const;

    void BeginRootBlend();
    void AccumulateRootBlend(float weight, float x, float y, float z, float yaw);
    void EndRootBlend();

    // The instance's root transform (the one motions place and turn); null
    // once its registry is gone.
    CTransform* GetRootTransform() const { return GetRoot(); }
    // Root translation and the yaw channel, written with a change notice.
    void SetRootPlacement(float x, float y, float z, float yaw);

    const std::vector<CNode*>& GetChain() const { return m_chain; }
    CNode* GetExtraNode() const { return m_extra; }
    // False when the tip was missing or the walk from it never met the root.
    bool IsChainComplete() const { return m_chainComplete; }
    int GetBlendCount() const { return m_blendCount; }

private:
    int m_blendCount;
    float m_blendWeightSum;
    float m_blendX, m_blendY, m_blendZ;
    float m_blendYaw;
    std::vector<CNode*> m_chain;
    CNode* m_extra;
    bool m_chainComplete;
};

// The translation row of a matrix.
Vec3 MatrixPosition(const CMatrix& m);
// atan2(x, z) of the forward axis (0, 0, 1) carried as a direction; 0 when x
// or z is exactly 0.
float MatrixYaw(const CMatrix& m);
