#include "engine/scene/ParentSwap.h"

#include "engine/scene/Transform.h"

CParentSwap::CParentSwap(CNode* node, CTransform* newParent)
    : m_node(node),
      m_oldParent(node ? node->GetParentHandle() : NULL_HANDLE) {
    if (node && newParent)
        newParent->AddChild(node);
}

void CParentSwap::Restore() {
    if (!m_node)
        return;
    CTransform* parent = TransformHandles().Resolve(m_oldParent);
    if (!parent)
        parent = GetRootTransform();
    if (parent)
        parent->AddChild(m_node);
}
