#include "character/item/Item.h"

CItem::CItem(int price, const std::string& name, const std::string& tvId)
    : m_price(price),
      m_name(name),
      m_tvId(tvId),
      m_owned(0) {}

CItem::~CItem() = default;

bool CItem::GetGoodsFlag() const { return false; }

void CItem::SetOwned(bool owned) { m_owned = owned ? 1 : 0; }

bool CItem::IsOwned() const { return m_owned != 0; }

void CItem::SetCollected(bool) {}

bool CItem::IsCollected() const { return IsOwned(); }

void CItem::GetBoundingSphere(float&, float&, float&, float&) const {}

uint32_t GetItemStateCode(const CItem& item) {
    if (!item.IsCollected())
        return ITEM_NEVER_COLLECTED;
    return item.IsOwned() ? ITEM_OWNED : ITEM_NO_LONGER_OWNED;
}

void SetItemStateCode(CItem& item, uint32_t code) {
    item.SetOwned(code == ITEM_OWNED);
    item.SetCollected(code != ITEM_NEVER_COLLECTED);
}
