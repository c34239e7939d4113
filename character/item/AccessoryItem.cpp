#include "character/item/AccessoryItem.h"

#include "character/item/ItemNodes.h"
#include "engine/math/Vec3.h"
#include "engine/scene/Transform.h"

CAccessoryItem::CAccessoryItem(const std::string& name, const ItemContext& character, const std::string& nodeName,
                               const std::string& tvId, const std::string& scope, int category, int price)
    : CItem(price, name, tvId),
      m_scope(scope),
      m_category(category),
      m_node(FindTransformHandle(nodeName, scope)),
      m_nodeName(nodeName),
      m_sphere{0.0f, 0.0f, 0.0f, 0.0f} {
    if (CTransform* node = GetNode()) {
        node->SetLightSetTree(character.lightSet);
        Vec3 centre;
        float radius = 0.0f;
        node->ComputeBoundingSphere(centre, radius);
        m_sphere[0] = centre.x, m_sphere[1] = centre.y, m_sphere[2] = centre.z, m_sphere[3] = radius;
    }
}

void CAccessoryItem::SetOwned(bool owned) {
    SetNodeVisible(m_node, false);
    CItem::SetOwned(owned);
}

void CAccessoryItem::PutOn() { SetNodeVisible(m_node, true); }

void CAccessoryItem::TakeOff() { SetNodeVisible(m_node, false); }

bool CAccessoryItem::IsWorn() const { return IsNodeShown(m_node); }

void CAccessoryItem::GetBoundingSphere(float& x, float& y, float& z, float& radius) const {
    x = m_sphere[0], y = m_sphere[1], z = m_sphere[2], radius = m_sphere[3];
}

ModelRef CAccessoryItem::GetPresentationNode1() const { return {m_nodeName, RT_TRANSFORM}; }
ModelRef CAccessoryItem::GetPresentationNode2() const { return {m_nodeName, RT_TRANSFORM}; }
ModelRef CAccessoryItem::GetPresentationNode3() const { return {m_nodeName, RT_TRANSFORM}; }

CTransform* CAccessoryItem::GetNode() const { return ResolveTransform(m_node); }
