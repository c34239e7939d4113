#include "character/act/ActMotionLinked.h"

#include <cmath>

#include "engine/resource/ResourceManager.h"
#include "engine/scene/Transform.h"

namespace {

// Length of each axis row of a world matrix: the scale it carries.
Vec3 AxisScales(const CMatrix& m) {
    Vec3 scales;
    float* out[3] = {&scales.x, &scales.y, &scales.z};
    for (int r = 0; r < 3; ++r)
        *out[r] = std::sqrt(m(r, 0) * m(r, 0) + m(r, 1) * m(r, 1) + m(r, 2) * m(r, 2));
    return scales;
}

float Ratio(float keep, float parent) { return parent > 1e-6f ? keep / parent : keep; }

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
    auto* moved = dynamic_cast<CTransform*>(m_movedNode);
    // The moved node keeps the size it has in the world: a good taken into
    // her scaled hand is not scaled up with her.
    const Vec3 kept = moved ? AxisScales(moved->GetWorldMatrix()) : Vec3();
    m_movedNode->SetParent(parent);
    if (moved) {
        const Vec3 parentScale = AxisScales(parent->GetWorldMatrix());
        moved->SetTranslation(0.0f, 0.0f, 0.0f);
        moved->SetRotation(0.0f, 0.0f, 0.0f);
        moved->SetScale(Ratio(kept.x, parentScale.x), Ratio(kept.y, parentScale.y), Ratio(kept.z, parentScale.z));
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
