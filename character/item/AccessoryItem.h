#pragma once
#include "character/item/Item.h"

class CTransform;

// A node of the character's model (cap, ears, glasses, tail, wings, belt)
// shown while worn.
class CAccessoryItem : public CItem {
public:
    enum Category {
        CATEGORY_CAP = 0,
        CATEGORY_HEAD = 1,
        CATEGORY_GLASSES = 2,
        CATEGORY_TAIL = 3,
        CATEGORY_WINGS = 4,
    };

    CAccessoryItem(const std::string& name, const ItemContext& character, const std::string& nodeName,
                   const std::string& tvId, const std::string& scope, int category, int price);

    bool IsAccessory() const override { return true; }
    bool IsCloth() const override { return false; }
    bool IsEndingItem() const override { return false; }
    // Hides the node: owning does not put it on.
    void SetOwned(bool owned) override;
    void PutOn() override;
    void TakeOff() override;
    bool IsWorn() const override;
    std::string GetScope() const override { return m_scope; }
    void GetBoundingSphere(float& x, float& y, float& z, float& radius) const override;
    ModelRef GetPresentationNode1() const override;
    ModelRef GetPresentationNode2() const override;
    ModelRef GetPresentationNode3() const override;

    int GetCategory() const { return m_category; }
    // Null when the node was not found.
    CTransform* GetNode() const;

private:
    std::string m_scope;
    int m_category;
    CHandle m_node;
    std::string m_nodeName;
    float m_sphere[4];
};
