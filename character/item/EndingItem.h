#pragma once
#include "character/item/Item.h"

// The last catalogue entry: owning it starts the ending.
class CEndingItem : public CItem {
public:
    CEndingItem(const std::string& name, const ItemContext& character, const std::string& scope);

    bool IsAccessory() const override { return false; }
    bool IsCloth() const override { return false; }
    bool IsEndingItem() const override { return true; }
    void PutOn() override {}
    void TakeOff() override {}
    bool IsWorn() const override { return true; }
    std::string GetScope() const override { return m_scope; }
    ModelRef GetPresentationNode1() const override;
    ModelRef GetPresentationNode2() const override;
    ModelRef GetPresentationNode3() const override;

private:
    std::string m_scope;
};
