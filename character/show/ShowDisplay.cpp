#include "character/show/ShowDisplay.h"

#include "character/item/Item.h"
#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

CShowDisplay::CShowDisplay() : m_node(NULL_HANDLE), m_ownParent(NULL_HANDLE) {}

bool CShowDisplay::Take(const CItem& item, CTransform* showLayer) {
    GiveBack(nullptr);
    if (item.IsCloth() || item.IsEndingItem() || !showLayer || !CurrentResourceManager)
        return false;
    const ModelRef ref = item.GetPresentationNode1();
    auto* node =
        dynamic_cast<CTransform*>(CurrentResourceManager->Find((ref.name + item.GetScope()).c_str(), ref.kind));
    if (!node)
        return false;
    m_ownParent = node->GetParentHandle();
    if (!showLayer->AddChild(node)) {
        m_ownParent = NULL_HANDLE;
        return false;
    }
    m_node = node->GetTransformHandle();
    return true;
}

void CShowDisplay::GiveBack(CTransform* fallback) {
    CTransform* node = GetNode();
    if (node) {
        CTransform* parent = TransformHandles().Resolve(m_ownParent);
        if (!parent)
            parent = fallback;
        if (parent)
            parent->AddChild(node);
    }
    m_node = NULL_HANDLE;
    m_ownParent = NULL_HANDLE;
}

CTransform* CShowDisplay::GetNode() const { return TransformHandles().Resolve(m_node); }

bool CShowDisplay::IsHolding() const { return GetNode() != nullptr; }
