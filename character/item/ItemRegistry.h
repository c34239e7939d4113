#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/console/ConsoleObject.h"
#include "shell/state/SavedState.h"

class CItem;

// Owns the character's items and finds them by name; the state file lists
// them in name order.
class CItemRegistry : public CConsoleObject {
public:
    explicit CItemRegistry(const std::string& name);
    ~CItemRegistry() override;

    // False (and not taken) for a null item or a name already held.
    bool Add(CItem* item);
    CItem* Find(const std::string& name) const;
    // In name order.
    std::vector<CItem*> List() const;

    // Storing fills items in name order; loading applies the state code of
    // every name it holds and skips the others.
    void Serialize(std::vector<CSavedItem>& items, bool storing);
    // SetOwned(IsOwned()) for every item, so nodes and models follow the state.
    void AfterLoad();

private:
    std::map<std::string, CItem*> m_items;
};

// Money as the character keeps it (an int) from the file's unsigned word:
// values beyond the int range are held at its top.
int MoneyFromSaved(uint32_t saved);
// Money for the file; a negative amount is written as 0.
uint32_t MoneyToSaved(int money);
