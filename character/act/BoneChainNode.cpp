#include "character/act/BoneChainNode.h"

#include <algorithm>
#include <cmath>

#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

namespace {

constexpr float HALF_TURN = 3.141592f;
constexpr float FULL_TURN = 6.283184f;

CNode* FindNode(const NodeRef& ref, const std::string& scope) {
    if (ref.name.empty() || !CurrentResourceManager)
        return nullptr;
    return dynamic_cast<CNode*>(CurrentResourceManager->Find((ref.name + scope).c_str(), ref.kind));
}

} // namespace

CBoneChainNode::CBoneChainNode(const std::string& localName, const BoneChainDesc& desc, const std::string& scope)
    : CModelInstanceNode(localName, desc.models, scope),
      m_blendCount(0),
      m_blendWeightSum(0.0f),
      m_blendX(0.0f),
      m_blendY(0.0f),
      m_blendZ(0.0f),
      m_blendYaw(0.0f),
      m_extra(nullptr),
      m_chainComplete(false) {
    const std::string rootName = desc.root.name + scope;
    CNode* node = FindNode(desc.tip, scope);
    // The walk is bounded by the number of transforms: a broken tree cannot
    // keep it going.
    int steps = TransformHandles().SlotCount() + 1;
    while (node && steps-- > 0) {
        if (node->GetName() == rootName) {
            m_chainComplete = true;
            break;
        }
        m_chain.push_back(node);
        node = node->GetParent();
    }
    // Without the root above the tip the nodes walked are kept; the owner
    // can tell from IsChainComplete.
    std::reverse(m_chain.begin(), m_chain.end());
    m_extra = FindNode(desc.extra, scope);
}

CBoneChainNode::~CBoneChainNode() = default;

void CBoneChainNode::GetChainMatrix(CMatrix& out) const {
    CMatrix result;
    for (size_t i = 0; i < m_chain.size(); ++i) {
        auto* transform = dynamic_cast<CTransform*>(m_chain[i]);
        if (!transform)
            continue;
        CMatrix local;
        if (i + 1 == m_chain.size())
            local.SetTranslation(transform->GetChannelValue(CTransform::TC_TRANSLATION_X),
                                 transform->GetChannelValue(CTransform::TC_TRANSLATION_Y),
                                 transform->GetChannelValue(CTransform::TC_TRANSLATION_Z));
        else
            transform->ComputeLocalMatrix(local);
        CMatrix product;
        result.PreMultiply(product, local);
        result = product;
    }
    out = result;
}

void CBoneChainNode::BeginRootBlend() {
    if (m_blendCount == 0) {
        m_blendWeightSum = 0.0f;
        m_blendX = m_blendY = m_blendZ = 0.0f;
        m_blendYaw = 0.0f;
    }
    ++m_blendCount;
}

void CBoneChainNode::AccumulateRootBlend(float weight, float x, float y, float z, float yaw) {
    m_blendX += weight * x;
    m_blendY += weight * y;
    m_blendZ += weight * z;
    if (m_blendWeightSum > 0.0f && std::isfinite(yaw)) {
        const float mean = m_blendYaw / m_blendWeightSum;
        while (yaw > mean + HALF_TURN)
            yaw -= FULL_TURN;
        while (yaw <= mean - HALF_TURN)
            yaw += FULL_TURN;
    }
    m_blendYaw += weight * yaw;
    m_blendWeightSum += weight;
}

void CBoneChainNode::EndRootBlend() {
    if (m_blendCount > 0)
        --m_blendCount;
    if (m_blendCount != 0 || !(m_blendWeightSum > 0.0f))
        return;
    if (CTransform* root = GetRoot()) {
        root->SetChannelValue(CTransform::TC_TRANSLATION_X, m_blendX / m_blendWeightSum);
        root->SetChannelValue(CTransform::TC_TRANSLATION_Z, m_blendZ / m_blendWeightSum);
        root->SetChannelValue(CTransform::TC_ROTATION_Y, m_blendYaw / m_blendWeightSum);
    }
}

void CBoneChainNode::SetRootPlacement(float x, float y, float z, float yaw) {
    if (CTransform* root = GetRoot()) {
        root->SetTranslation(x, y, z);
        root->SetChannelValue(CTransform::TC_ROTATION_Y, yaw);
    }
}

Vec3 MatrixPosition(const CMatrix& m) { return Vec3(m(3, 0), m(3, 1), m(3, 2)); }

float MatrixYaw(const CMatrix& m) {
    Vec3 forward(0.0f, 0.0f, 1.0f);
    forward.TransformNormal(m);
    if (forward.x == 0.0f || forward.z == 0.0f)
        return 0.0f;
    return std::atan2(forward.x, forward.z);
}
