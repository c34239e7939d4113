#include "character/item/GoodsItem.h"

#include "character/item/ItemNodes.h"
#include "engine/math/Vec3.h"
#include "engine/scene/ModelInstanceNode.h"
#include "engine/scene/Transform.h"

CGoodsItem::CGoodsItem(const std::string& name, const ItemContext& character, const std::string& modelPrefix,
                       const std::string& tvId, const std::string& presentationNodeName, const std::string& scope,
                       unsigned char goodsFlag, int price)
    : CItem(price, name, tvId),
      m_collected(0),
      m_goodsFlag(goodsFlag),
      m_model(new CModelInstanceNode(name, modelPrefix + "Root", RT_TRANSFORM, scope)),
      m_handlingNodeName(modelPrefix + "Handling"),
      m_initNodeName(modelPrefix + "Init"),
      m_presentationNodeName(presentationNodeName),
      m_sphere{0.0f, 0.0f, 0.0f, 0.0f} {
    CTransform* root = m_model->GetRoot();
    if (root)
        root->SetLightSetTree(character.lightSet);
    CTransform* bounded = ResolveTransform(FindTransformHandle(presentationNodeName, m_model->GetScope()));
    if (!bounded)
        bounded = root;
    if (bounded) {
        Vec3 centre;
        float radius = 0.0f;
        bounded->ComputeBoundingSphere(centre, radius);
        m_sphere[0] = centre.x, m_sphere[1] = centre.y, m_sphere[2] = centre.z, m_sphere[3] = radius;
    }
}

CGoodsItem::~CGoodsItem() = default;

void CGoodsItem::ShowModel(bool visible) {
    if (CTransform* root = m_model->GetRoot())
        root->SetVisible(visible ? 1.0f : 0.0f);
}

void CGoodsItem::SetOwned(bool owned) {
    ShowModel(owned);
    CItem::SetOwned(owned);
    if (owned)
        m_collected = 1;
}

void CGoodsItem::SetCollected(bool collected) { m_collected = collected ? 1 : 0; }

bool CGoodsItem::IsCollected() const { return m_collected != 0; }

void CGoodsItem::PutOn() { ShowModel(true); }

void CGoodsItem::TakeOff() { SetOwned(IsOwned()); }

bool CGoodsItem::IsWorn() const {
    CTransform* root = m_model->GetRoot();
    return root && root->GetChannelValue(CTransform::TC_VISIBLE) >= 1.0f;
}

std::string CGoodsItem::GetScope() const { return m_model->GetScope(); }

void CGoodsItem::GetBoundingSphere(float& x, float& y, float& z, float& radius) const {
    x = m_sphere[0], y = m_sphere[1], z = m_sphere[2], radius = m_sphere[3];
}

ModelRef CGoodsItem::GetPresentationNode1() const { return {m_handlingNodeName, RT_TRANSFORM}; }
ModelRef CGoodsItem::GetPresentationNode2() const { return {m_initNodeName, RT_TRANSFORM}; }
ModelRef CGoodsItem::GetPresentationNode3() const { return {m_presentationNodeName, RT_TRANSFORM}; }
