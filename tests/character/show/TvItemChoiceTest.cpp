// Her choice of the item for the show and the show's own rule agree: what
// she picks is always put on sale, and what the show will not sell is never
// picked, so that no night passes with the show called and nothing on it.
#include <gtest/gtest.h>

#include <set>

#include "character/show/TvShowStage.h"
#include "engine/core/Random.h"
#include "engine/resource/ResourceManager.h"
#include "tests/character/behaviour/PlanFixtures.h"
#include "tests/character/show/ShowStageFixture.h"

namespace {

struct ItemState {
    const char* name;
    FakeItem::Kind kind;
    int price;
    bool owned;
    bool collected;
};

std::vector<CItem*> MakeItems(const std::vector<ItemState>& states) {
    std::vector<CItem*> items;
    for (const ItemState& s : states) {
        auto* item = new FakeItem(s.name, s.kind, s.price, s.owned);
        item->SetCollected(s.collected);
        items.push_back(item);
    }
    return items;
}

TEST(TvItemChoice, SheOffersOnlyWhatTheShowSells) {
    struct Case {
        const char* what;
        std::vector<ItemState> items;
        uint32_t money;
        std::set<std::string> picks; // "" for no item
    };
    const Case cases[] = {
        {"a free cap collected and thrown away, a dear good left",
         {{"freeCap", FakeItem::ACCESSORY, 0, false, true},
          {"dear", FakeItem::GOODS, 9000, false, false},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         5000,
         {""}},
        {"a thrown-away free cap reads as never had",
         {{"freeCap", FakeItem::ACCESSORY, 0, false, false},
          {"cap", FakeItem::ACCESSORY, 3000, false, false},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         5000,
         {"cap"}},
        {"a free cloth thrown away",
         {{"plain", FakeItem::CLOTH, 0, false, false},
          {"dress", FakeItem::CLOTH, 2000, false, false},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         5000,
         {"dress"}},
        {"owned items are not for sale",
         {{"cap", FakeItem::ACCESSORY, 3000, true, true},
          {"segway", FakeItem::GOODS, 3000, true, true},
          {"dress", FakeItem::CLOTH, 2000, false, false},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         5000,
         {"dress"}},
        {"a good used up is sold again",
         {{"milk", FakeItem::GOODS, 300, false, true},
          {"dear", FakeItem::GOODS, 9000, false, false},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         5000,
         {"milk"}},
        {"a price one above the money",
         {{"cap", FakeItem::ACCESSORY, 5001, false, false}, {"theEnd", FakeItem::ENDING, 0, false, false}},
         5000,
         {""}},
        {"the ending last, with no money",
         {{"cap", FakeItem::ACCESSORY, 3000, true, true},
          {"milk", FakeItem::GOODS, 300, false, true},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         0,
         {"theEnd"}},
        {"the ending last though a free cap was thrown away",
         {{"cap", FakeItem::ACCESSORY, 3000, true, true},
          {"freeCap", FakeItem::ACCESSORY, 0, false, false},
          {"theEnd", FakeItem::ENDING, 0, false, false}},
         0,
         {"theEnd"}},
        {"the ending waits while another item is uncollected",
         {{"cap", FakeItem::ACCESSORY, 3000, false, false}, {"theEnd", FakeItem::ENDING, 0, false, false}},
         0,
         {""}},
    };

    CResourceManager registry;
    CResourceManager* saved = CurrentResourceManager;
    CurrentResourceManager = &registry;
    ShowWindowSetting setting;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanCharacter pc("tvchoice", MakeItems(c.items));
        pc.character.GetStats().mny = c.money;
        CTvShowStage show("tvchoice", nullptr, nullptr, &setting, "::the");
        SeedRand(17);
        std::set<std::string> picks, refused;
        for (int i = 0; i < 200; ++i) {
            CItem* item = pc.character.PickTvItem();
            picks.insert(item ? item->GetName() : std::string());
            if (!item)
                continue;
            // What she picks, the show puts on.
            show.Present(item, nullptr, pc.character);
            if (show.GetCurrentItem() != item)
                refused.insert(item->GetName());
        }
        EXPECT_EQ(picks, c.picks);
        EXPECT_TRUE(refused.empty()) << *refused.begin() << " was picked and refused";
    }
    CurrentResourceManager = saved;
}

} // namespace
