#include "character/item/EndingItem.h"

CEndingItem::CEndingItem(const std::string& name, const ItemContext&, const std::string& scope)
    : CItem(0, name, ""),
      m_scope(scope) {}

ModelRef CEndingItem::GetPresentationNode1() const { return {"ending", RT_TRANSFORM}; }
ModelRef CEndingItem::GetPresentationNode2() const { return {"ending", RT_TRANSFORM}; }
ModelRef CEndingItem::GetPresentationNode3() const { return {"ending", RT_TRANSFORM}; }
