#pragma once
#include <memory>

#include "character/item/Item.h"

class CModelInstanceNode;
class CTransform;

// A separate model placed in the room, shown while owned.
class CGoodsItem : public CItem {
public:
    CGoodsItem(const std::string& name, const ItemContext& character, const std::string& modelPrefix,
               const std::string& tvId, const std::string& presentationNodeName, const std::string& scope,
               unsigned char goodsFlag, int price);
    ~CGoodsItem() override;

    bool IsAccessory() const override { return false; }
    bool IsCloth() const override { return false; }
    bool IsEndingItem() const override { return false; }
    bool GetGoodsFlag() const override { return m_goodsFlag != 0; }
    // Shows or hides the model; owning also marks it collected for good.
    void SetOwned(bool owned) override;
    void SetCollected(bool collected) override;
    bool IsCollected() const override;
    void PutOn() override;
    void TakeOff() override;
    bool IsWorn() const override;
    // The model instance's scope.
    std::string GetScope() const override;
    void GetBoundingSphere(float& x, float& y, float& z, float& radius) const override;
    // The "Handling" node, the "Init" node, the presentation node.
    ModelRef GetPresentationNode1() const override;
    ModelRef GetPresentationNode2() const override;
    ModelRef GetPresentationNode3() const override;

    CModelInstanceNode* GetModel() const { return m_model.get(); }
    const std::string& GetHandlingNodeName() const { return m_handlingNodeName; }
    const std::string& GetInitNodeName() const { return m_initNodeName; }

private:
    void ShowModel(bool visible);

    unsigned char m_collected;
    unsigned char m_goodsFlag;
    std::unique_ptr<CModelInstanceNode> m_model;
    std::string m_handlingNodeName;
    std::string m_initNodeName;
    std::string m_presentationNodeName;
    float m_sphere[4];
};
