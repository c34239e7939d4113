#include "character/act/ActMotionLinked.h"

#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

namespace {

CNode* FindScoped(const NodeRef& ref, const std::string& scope) {
    if (ref.name.empty() || !CurrentResourceManager)
        return nullptr;
    return dynamic_cast<CNode*>(CurrentResourceManager->Find((ref.name + scope).c_str(), ref.kind));
}

} // namespace

CActMotionLinked::CActMotionLinked(const std::string& name, CBoneChainNode* owner, const std::string& setName,
                                   const std::string& scope, const NodeRef& parent, const NodeRef& moved,
                                   unsigned char attachAtEnd)
    : CActMotion(name, owner, 1, setName, scope),
      m_attachAtEnd(attachAtEnd),
      m_parentNode(FindScoped(parent, scope)),
      m_movedNode(FindScoped(moved, scope)) {}

void CActMotionLinked::Relink() {
    auto* parent = dynamic_cast<CTransform*>(m_parentNode);
    if (!parent || !m_movedNode)
        return;
    m_movedNode->SetParent(parent);
    if (auto* moved = dynamic_cast<CTransform*>(m_movedNode)) {
        moved->SetTranslation(0.0f, 0.0f, 0.0f);
        moved->SetRotation(0.0f, 0.0f, 0.0f);
    }
}

bool CActMotionLinked::Start(const std::vector<std::string>& words) {
    if (!m_attachAtEnd)
        Relink();
    return CActMotion::Start(words);
}

void CActMotionLinked::End() {
    if (m_attachAtEnd)
        Relink();
}
