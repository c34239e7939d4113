#include "character/item/ItemRegistry.h"

#include <climits>

#include "character/item/Item.h"

CItemRegistry::CItemRegistry(const std::string& name) : CConsoleObject(name) {}

CItemRegistry::~CItemRegistry() {
    for (auto& entry : m_items)
        delete entry.second;
}

bool CItemRegistry::Add(CItem* item) {
    if (!item)
        return false;
    return m_items.emplace(item->GetName(), item).second;
}

CItem* CItemRegistry::Find(const std::string& name) const {
    auto found = m_items.find(name);
    return found == m_items.end() ? nullptr : found->second;
}

std::vector<CItem*> CItemRegistry::List() const {
    std::vector<CItem*> items;
    items.reserve(m_items.size());
    for (const auto& entry : m_items)
        items.push_back(entry.second);
    return items;
}

void CItemRegistry::Serialize(std::vector<CSavedItem>& items, bool storing) {
    if (storing) {
        items.clear();
        for (const auto& entry : m_items)
            items.push_back({entry.first, GetItemStateCode(*entry.second)});
        return;
    }
    for (const CSavedItem& saved : items)
        if (CItem* item = Find(saved.name))
            SetItemStateCode(*item, saved.stateCode);
}

void CItemRegistry::AfterLoad() {
    for (auto& entry : m_items)
        entry.second->SetOwned(entry.second->IsOwned());
}

int MoneyFromSaved(uint32_t saved) { return saved > (uint32_t)INT_MAX ? INT_MAX : (int)saved; }

uint32_t MoneyToSaved(int money) { return money < 0 ? 0u : (uint32_t)money; }
