#pragma once
#include <cstdint>
#include <string>

#include "engine/resource/Handle.h"
#include "engine/scene/ModelInstanceNode.h"

class ITextureBinder;

// What the character lends its items: the light set their nodes and models
// are lit with and the texture side of cloth swaps.
struct ItemContext {
    CHandle lightSet;
    ITextureBinder* textures = nullptr;
};

// Anything the TV show can sell: an accessory, a cloth, a good or the ending.
class CItem {
public:
    CItem(int price, const std::string& name, const std::string& tvId);
    virtual ~CItem();

    virtual bool IsAccessory() const = 0;
    virtual bool IsCloth() const = 0;
    virtual bool IsEndingItem() const = 0;
    virtual bool GetGoodsFlag() const;
    virtual void SetOwned(bool owned);
    virtual bool IsOwned() const;
    virtual void SetCollected(bool collected);
    // Owned now or at some time before.
    virtual bool IsCollected() const;
    virtual void PutOn() = 0;
    virtual void TakeOff() = 0;
    virtual bool IsWorn() const = 0;
    virtual std::string GetScope() const = 0;
    // The out values stay as they were for kinds without a sphere.
    virtual void GetBoundingSphere(float& x, float& y, float& z, float& radius) const;
    virtual ModelRef GetPresentationNode1() const = 0;
    virtual ModelRef GetPresentationNode2() const = 0;
    virtual ModelRef GetPresentationNode3() const = 0;

    int GetPrice() const { return m_price; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetTvId() const { return m_tvId; }

    CItem(const CItem&) = delete;
    CItem& operator=(const CItem&) = delete;

protected:
    int m_price;
    std::string m_name;
    std::string m_tvId;
    unsigned char m_owned;
};

// The state file's per-item value.
enum ItemStateCode : uint32_t {
    ITEM_NEVER_COLLECTED = 0,
    ITEM_OWNED = 1,
    ITEM_NO_LONGER_OWNED = 2,
};

uint32_t GetItemStateCode(const CItem& item);
void SetItemStateCode(CItem& item, uint32_t code);
