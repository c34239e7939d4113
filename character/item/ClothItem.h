#pragma once
#include <vector>

#include "character/item/ClothVariant.h"
#include "character/item/Item.h"
#include "character/item/TextureSwap.h"

class CTransform;

// Clothes: putting one on picks its body variant, swaps the body's textures
// and shows its own cloth node if it has one.
class CClothItem : public CItem {
public:
    // variants is shared by the clothes of one body and not owned.
    CClothItem(const std::string& name, const ItemContext& character, const std::string& clothNodeName,
               const std::vector<ClothVariant>* variants, int variantIndex, const std::vector<TextureSwapRow>& swaps,
               unsigned char selectionFlag, const std::string& tvId, const std::string& scope, int price);

    bool IsAccessory() const override { return false; }
    bool IsCloth() const override { return true; }
    bool IsEndingItem() const override { return false; }
    void PutOn() override;
    // Hides the cloth node; the textures stay until another cloth goes on.
    void TakeOff() override;
    bool IsWorn() const override;
    std::string GetScope() const override { return m_scope; }
    ModelRef GetPresentationNode1() const override;
    ModelRef GetPresentationNode2() const override;
    ModelRef GetPresentationNode3() const override;

    unsigned char GetSelectionFlag() const { return m_selectionFlag; }
    int GetVariantIndex() const { return m_variantIndex; }
    const std::vector<TextureSwap>& GetSwaps() const { return m_swaps; }
    // Null when it has none.
    CTransform* GetClothNode() const;

private:
    std::string m_scope;
    unsigned char m_selectionFlag;
    CHandle m_clothNode;
    std::vector<TextureSwap> m_swaps;
    const std::vector<ClothVariant>* m_variants;
    int m_variantIndex;
    ITextureBinder* m_binder;
};
