#include "character/item/ClothItem.h"

#include "character/item/ItemNodes.h"
#include "engine/scene/Transform.h"

CClothItem::CClothItem(const std::string& name, const ItemContext& character, const std::string& clothNodeName,
                       const std::vector<ClothVariant>* variants, int variantIndex,
                       const std::vector<TextureSwapRow>& swaps, unsigned char selectionFlag, const std::string& tvId,
                       const std::string& scope, int price)
    : CItem(price, name, tvId),
      m_scope(scope),
      m_selectionFlag(selectionFlag),
      m_clothNode(FindTransformHandle(clothNodeName, scope)),
      m_swaps(MakeTextureSwaps(swaps, scope, character.textures)),
      m_variants(variants),
      m_variantIndex(variantIndex),
      m_binder(character.textures) {
    if (CTransform* node = GetClothNode()) {
        node->SetLightSetTree(character.lightSet);
        node->SetVisible(0.0f);
    }
}

void CClothItem::PutOn() {
    if (m_variants) {
        for (size_t i = 0; i < m_variants->size(); ++i) {
            const ClothVariant& variant = (*m_variants)[i];
            if (variant.node)
                variant.node->SetVisible((int)i == m_variantIndex ? 1.0f : 0.0f);
        }
        if (m_variantIndex >= 0 && m_variantIndex < (int)m_variants->size())
            (*m_variants)[m_variantIndex].Show(m_binder);
    }
    for (const TextureSwap& swap : m_swaps)
        swap.Apply(m_binder);
    SetNodeVisible(m_clothNode, true);
}

void CClothItem::TakeOff() { SetNodeVisible(m_clothNode, false); }

bool CClothItem::IsWorn() const {
    if (!GetClothNode())
        return true;
    return IsNodeShown(m_clothNode);
}

ModelRef CClothItem::GetPresentationNode1() const { return {"cloth", RT_TRANSFORM}; }
ModelRef CClothItem::GetPresentationNode2() const { return {"cloth", RT_TRANSFORM}; }
ModelRef CClothItem::GetPresentationNode3() const { return {"cloth", RT_TRANSFORM}; }

CTransform* CClothItem::GetClothNode() const { return ResolveTransform(m_clothNode); }
