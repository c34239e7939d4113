#include <gtest/gtest.h>

#include <map>

#include "tests/character/behaviour/PlanFixtures.h"

namespace {

struct Owned {
    const char* name;
    FakeItem::Kind kind;
    int price;
    bool owned;
    bool collected;
};

std::vector<CItem*> MakeItems(const std::vector<Owned>& list) {
    std::vector<CItem*> items;
    for (const Owned& o : list) {
        FakeItem* item = new FakeItem(o.name, o.kind, o.price, o.owned);
        item->SetCollected(o.collected);
        items.push_back(item);
    }
    return items;
}

// How often each name comes out of PickTvItem over a run of draws.
std::map<std::string, int> TvPicks(CCharacter& character, int draws) {
    std::map<std::string, int> counts;
    SeedRand(11);
    for (int i = 0; i < draws; ++i) {
        CItem* item = character.PickTvItem();
        ++counts[item ? item->GetName() : std::string()];
    }
    return counts;
}

} // namespace

TEST(CharacterTvItem, GoodsCountFourTimesAndOwnedOrDearItemsNone) {
    PlanCharacter pc("tv", MakeItems({
                               {"cap", FakeItem::ACCESSORY, 3000, false, false},
                               {"dress", FakeItem::CLOTH, 3000, false, false},
                               {"segway", FakeItem::GOODS, 3000, false, false},
                               {"owned", FakeItem::GOODS, 100, true, true},
                               {"dear", FakeItem::GOODS, 9000, false, false},
                               {"theEnd", FakeItem::ENDING, 0, false, false},
                           }));
    pc.character.GetStats().mny = 5000;
    const int draws = 60000;
    auto counts = TvPicks(pc.character, draws);
    EXPECT_EQ(counts.size(), 3u);
    // Six entries: the accessory, the cloth, and the good four times.
    EXPECT_NEAR(counts["cap"] / (double)draws, 1.0 / 6.0, 0.01);
    EXPECT_NEAR(counts["dress"] / (double)draws, 1.0 / 6.0, 0.01);
    EXPECT_NEAR(counts["segway"] / (double)draws, 4.0 / 6.0, 0.01);

    // The price is compared unsigned with the money: 3000 is affordable at 3000.
    pc.character.GetStats().mny = 3000;
    EXPECT_EQ(TvPicks(pc.character, 100).count(""), 0u);
    pc.character.GetStats().mny = 2999;
    EXPECT_EQ(TvPicks(pc.character, 100)[""], 100);
}

TEST(CharacterTvItem, OnlyTheEndingLeftIsPresentedWhateverTheMoney) {
    PlanCharacter pc("tv_end", MakeItems({
                                   {"cap", FakeItem::ACCESSORY, 3000, false, true},
                                   {"segway", FakeItem::GOODS, 3000, true, true},
                                   {"theEnd", FakeItem::ENDING, 0, false, false},
                               }));
    pc.character.GetStats().mny = 0;
    SeedRand(4);
    const int next = DrawsAfter(4, 1)[0];
    CItem* item = pc.character.PickTvItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetName(), "theEnd");
    EXPECT_EQ(Rand(), next) << "no draw for the last item";

    // With a second item uncollected the ending is never a candidate.
    PlanCharacter two("tv_two", MakeItems({
                                    {"cap", FakeItem::ACCESSORY, 3000, false, false},
                                    {"theEnd", FakeItem::ENDING, 0, false, false},
                                }));
    two.character.GetStats().mny = 0;
    EXPECT_EQ(TvPicks(two.character, 50)[""], 50);
    two.character.GetStats().mny = 3000;
    EXPECT_EQ(TvPicks(two.character, 50)["cap"], 50);
}

TEST(CharacterCallbacks, ClothesByTheSettingAndTheWantedName) {
    FakeSetting setting;
    struct Case {
        bool quillomb;
        std::vector<std::string> words;
        std::vector<Owned> items;
        const char* worn; // the one cloth worn afterwards, "" for any candidate
    };
    const Case cases[] = {
        {false,
         {"pajama"},
         {{"clothDefault", FakeItem::CLOTH, 0, true, true}, {"pajamaOrange", FakeItem::CLOTH, 10, true, true}},
         "pajamaOrange"},
        {false,
         {"pajama"},
         {{"clothDefault", FakeItem::CLOTH, 0, true, true}, {"pajamaOrange", FakeItem::CLOTH, 10, false, false}},
         "clothDefault"},
        {true,
         {"clothDefault"},
         {{"clothDefault", FakeItem::CLOTH, 0, true, true}, {"sailor", FakeItem::CLOTH, 10, true, true}},
         "sailor"},
        {true, {}, {{"clothDefault", FakeItem::CLOTH, 0, true, true}}, "clothDefault"},
        {false,
         {"sailor"},
         {{"clothDefault", FakeItem::CLOTH, 0, true, true}, {"sailor", FakeItem::CLOTH, 10, true, true}},
         "sailor"},
    };
    for (const Case& c : cases) {
        PlanCharacter pc("cloth", MakeItems(c.items));
        setting.quillomb = c.quillomb;
        pc.character.SetSetting(&setting);
        for (const Owned& o : c.items)
            if (o.owned)
                pc.character.GetItems().Find(o.name)->PutOn();
        SeedRand(3);
        pc.character.ChangeCloth(c.words);
        int worn = 0;
        for (const Owned& o : c.items) {
            const bool isWorn = pc.character.GetItems().Find(o.name)->IsWorn();
            worn += isWorn;
            EXPECT_EQ(isWorn, std::string(o.name) == c.worn) << c.worn << ": " << o.name;
        }
        EXPECT_EQ(worn, 1) << c.worn;
    }
}

TEST(CharacterCallbacks, AccessoriesWithNoneOwnedChooseNothing) {
    PlanCharacter pc("acce", MakeItems({
                                 {"bexlaMimi", FakeItem::ACCESSORY, 10, false, false},
                                 {"cap", FakeItem::ACCESSORY, 10, false, false},
                             }));
    for (const char* word : {"select", ""}) {
        SeedRand(SeedForFirstDraw(0)); // a draw that would put the ears on
        std::vector<std::string> words;
        if (*word)
            words.push_back(word);
        pc.character.ChangeAccessory(words);
        for (const char* name : {"bexlaMimi", "cap"})
            EXPECT_FALSE(pc.character.GetItems().Find(name)->IsWorn()) << word << ": " << name;
    }
    // Owned, the ears come on one time in ten without "select".
    pc.character.GetItems().Find("bexlaMimi")->SetOwned(true);
    int on = 0;
    SeedRand(8);
    for (int i = 0; i < 5000; ++i) {
        pc.character.ChangeAccessory({});
        on += pc.character.GetItems().Find("bexlaMimi")->IsWorn();
    }
    EXPECT_NEAR(on / 5000.0, 0.1, 0.015);
}

TEST(CharacterCallbacks, RoomEatenShowAndEnding) {
    PlanCharacter pc("room", MakeItems({{"milk", FakeItem::GOODS, 100, true, true}}));
    CCharacter& ch = pc.character;
    ch.Eaten({"milk"});
    EXPECT_FALSE(ch.GetItems().Find("milk")->IsOwned());
    EXPECT_TRUE(ch.GetItems().Find("milk")->IsCollected());
    EXPECT_EQ(GetItemStateCode(*ch.GetItems().Find("milk")), 2u);
    ch.Eaten({"nothing"});
    ch.Eaten({});
    ch.RoomOut({"out"}); // no body: nothing to move

    EXPECT_FALSE(ch.IsShowPending());
    ch.OnShowCallback({});
    EXPECT_TRUE(ch.TakeShowPending());
    EXPECT_FALSE(ch.TakeShowPending());
    ch.OnEndingCallback({});
    EXPECT_TRUE(ch.IsEndingPending());
    EXPECT_TRUE(ch.TakeEndingPending());
    EXPECT_FALSE(ch.IsEndingPending());
}
