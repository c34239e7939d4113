#include <gtest/gtest.h>

#include <climits>

#include "character/item/AccessoryItem.h"
#include "character/item/ClothItem.h"
#include "character/item/EndingItem.h"
#include "character/item/GoodsItem.h"
#include "character/item/ItemRegistry.h"
#include "shell/state/StateFile.h"
#include "tests/engine/scene/SceneTestNodes.h"

namespace {

const char* const SCOPE = "::the";

// Shaders and textures stand in as plain resources; applying a swap is
// recorded as "shader=texture".
struct SwapLog : ITextureBinder {
    CResource* FindOrLoadTexture(const std::string& fileName) override {
        loaded.push_back(fileName);
        return new CResource(fileName.c_str(), RT_TEXTURE);
    }
    void SetShaderTexture(CResource* shader, CResource* texture) override {
        applied.push_back(shader->GetName() + "=" + texture->GetName());
    }
    std::vector<std::string> loaded;
    std::vector<std::string> applied;
};

// A body with an accessory node, two body variants and a cloth node, and the
// milk model with its carry, rest and presentation nodes; all as instanced
// under the scope.
struct ItemFixture : ::testing::Test {
    ItemFixture() {
        auto* body = new CTransform("vesko2002::the");
        for (const char* name : {"cap::the", "bodyA::the", "bodyB::the", "skirt::the"})
            body->AddChild(new CTransform(name));
        new CResource("matBody::the", RT_SHADER);
        new CResource("matSkirt::the", RT_SHADER);
        new CResource("blue.png", RT_TEXTURE);
        auto* milk = new CTransform("milkRoot");
        auto* init = new CTransform("milkInit");
        milk->AddChild(new CTransform("milkHandling"));
        milk->AddChild(init);
        auto* small = new ProbeShape("milkCup");
        small->radius = 2.0f;
        init->AddChild(small);
        auto* large = new ProbeShape("milkCrate");
        large->radius = 5.0f;
        milk->AddChild(large);
        context.textures = &swaps;
    }

    CTransform* Node(const char* name) {
        return dynamic_cast<CTransform*>(CurrentResourceManager->Find(name, RT_TRANSFORM));
    }

    SceneRegistry scene;
    SwapLog swaps;
    ItemContext context;
};

TEST_F(ItemFixture, StateCodesRoundTripPerKind) {
    CItemRegistry items("vesko_items");
    auto* cap = new CAccessoryItem("cap", context, "cap", "tvCap", SCOPE, CAccessoryItem::CATEGORY_CAP, 1200);
    auto* skirt = new CClothItem("skirt", context, "skirt", nullptr, 0, {}, 0, "tvSkirt", SCOPE, 3000);
    auto* milk = new CGoodsItem("milk", context, "milk", "tvMilk", "milkInit", SCOPE, 1, 300);
    auto* ending = new CEndingItem("ending", context, SCOPE);
    for (CItem* item : std::vector<CItem*>{cap, skirt, milk, ending})
        ASSERT_TRUE(items.Add(item));

    struct Case {
        const char* name;
        uint32_t loaded;
        uint32_t saved;
        bool owned;
        bool collected;
    };
    const Case cases[] = {
        {"cap", 0, 0, false, false},    {"cap", 1, 1, true, true},     {"cap", 2, 0, false, false},
        {"skirt", 1, 1, true, true},    {"skirt", 2, 0, false, false}, {"milk", 1, 1, true, true},
        {"milk", 2, 2, false, true},    {"milk", 0, 0, false, false},  {"ending", 1, 1, true, true},
        {"ending", 2, 0, false, false},
    };
    for (const Case& c : cases) {
        std::vector<CSavedItem> file{{c.name, c.loaded}};
        items.Serialize(file, false);
        items.AfterLoad();
        CItem* item = items.Find(c.name);
        EXPECT_EQ(item->IsOwned(), c.owned) << c.name << " " << c.loaded;
        EXPECT_EQ(item->IsCollected(), c.collected) << c.name << " " << c.loaded;
        EXPECT_EQ(GetItemStateCode(*item), c.saved) << c.name << " " << c.loaded;
    }

    // A good bought and then used up stays collected.
    milk->SetCollected(false);
    milk->SetOwned(true);
    EXPECT_TRUE(milk->IsWorn()) << "owning shows the model";
    milk->SetOwned(false);
    EXPECT_EQ(GetItemStateCode(*milk), (uint32_t)ITEM_NO_LONGER_OWNED);
    EXPECT_FALSE(milk->IsWorn());

    // An owned accessory is shown only once put on; loading hides it again.
    cap->SetOwned(true);
    EXPECT_FALSE(cap->IsWorn());
    cap->PutOn();
    EXPECT_TRUE(cap->IsWorn());
    items.AfterLoad();
    EXPECT_FALSE(cap->IsWorn());
    EXPECT_EQ(GetItemStateCode(*cap), (uint32_t)ITEM_OWNED);
}

TEST_F(ItemFixture, TheStateFileListsItemsInNameOrder) {
    CItemRegistry items("vesko_items");
    ASSERT_TRUE(items.Add(new CEndingItem("b", context, SCOPE)));
    ASSERT_TRUE(items.Add(new CAccessoryItem("a", context, "cap", "tvCap", SCOPE, 0, 100)));
    auto* twin = new CEndingItem("a", context, SCOPE);
    EXPECT_FALSE(items.Add(twin));
    delete twin;
    EXPECT_FALSE(items.Add(nullptr));
    items.Find("b")->SetOwned(true);
    ASSERT_EQ(items.List().size(), 2u);
    EXPECT_EQ(items.List()[0]->GetName(), "a");

    CSavedState state;
    state.money = 0xFFFFFFFFu;
    items.Serialize(state.items, true);
    ASSERT_EQ(state.items.size(), 2u);
    EXPECT_EQ(state.items[0].name, "a");
    EXPECT_EQ(state.items[0].stateCode, 0u);
    EXPECT_EQ(state.items[1].name, "b");
    EXPECT_EQ(state.items[1].stateCode, 1u);

    // Through the file and back into a registry that also knows other names
    // and lacks none; names it does not hold are skipped.
    state.items.push_back({"gone", 1});
    std::vector<uint8_t> bytes = EncodeState(state);
    CSavedState read;
    uint32_t version = 0;
    ASSERT_EQ(DecodeState(bytes.data(), bytes.size(), read, version), SR_OK);
    CItemRegistry loaded("other_items");
    loaded.Add(new CEndingItem("b", context, SCOPE));
    loaded.Add(new CEndingItem("c", context, SCOPE));
    loaded.Serialize(read.items, false);
    EXPECT_TRUE(loaded.Find("b")->IsOwned());
    EXPECT_FALSE(loaded.Find("c")->IsOwned());
    EXPECT_EQ(loaded.Find("gone"), nullptr);
    // The money word is kept within the character's int.
    EXPECT_EQ(MoneyFromSaved(read.money), INT_MAX);
}

TEST(MoneyTest, SavedMoneyStaysWithinItsType) {
    struct Case {
        uint32_t saved;
        int money;
    };
    for (const Case& c : {Case{0, 0}, Case{50000, 50000}, Case{0x7FFFFFFFu, INT_MAX}, Case{0x80000000u, INT_MAX},
                          Case{0xFFFFFFFFu, INT_MAX}})
        EXPECT_EQ(MoneyFromSaved(c.saved), c.money) << c.saved;
    EXPECT_EQ(MoneyToSaved(-5), 0u);
    EXPECT_EQ(MoneyToSaved(123456), 123456u);
}

TEST_F(ItemFixture, PuttingOnAClothPicksItsVariantThenItsSwaps) {
    std::vector<ClothVariant> variants = {
        MakeClothVariant("bodyA", {{"matBody", "skinA.png"}}, SCOPE, &swaps),
        MakeClothVariant("bodyB", {{"matBody", "skinB.png"}}, SCOPE, &swaps),
    };
    CClothItem skirt("skirt", context, "skirt", &variants, 1,
                     {{"matSkirt", "blue.png"}, {"matBody", "skinC.png"}, {"noSuchMaterial", "blue.png"}}, 1, "tvSkirt",
                     SCOPE, 3000);
    EXPECT_EQ(swaps.loaded, (std::vector<std::string>{"skinA.png", "skinB.png", "skinC.png"}))
        << "a loaded texture is used as it is";
    EXPECT_FALSE(skirt.IsWorn()) << "the cloth node starts hidden";
    swaps.applied.clear();

    skirt.PutOn();
    EXPECT_EQ(Node("bodyA::the")->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
    EXPECT_EQ(Node("bodyB::the")->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
    EXPECT_EQ(swaps.applied,
              (std::vector<std::string>{"matBody::the=skinB.png", "matSkirt::the=blue.png", "matBody::the=skinC.png"}));
    EXPECT_TRUE(skirt.IsWorn());
    swaps.applied.clear();
    skirt.TakeOff();
    EXPECT_FALSE(skirt.IsWorn());
    EXPECT_TRUE(swaps.applied.empty()) << "the textures stay";
    EXPECT_EQ(skirt.GetPresentationNode2().name, "cloth");

    CClothItem plain("plain", context, "", &variants, 0, {}, 0, "tvPlain", SCOPE, 500);
    EXPECT_EQ(plain.GetClothNode(), nullptr);
    EXPECT_TRUE(plain.IsWorn());
    plain.PutOn();
    EXPECT_EQ(Node("bodyA::the")->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
}

TEST_F(ItemFixture, GoodsAndOthersNameWhatTheShowPresents) {
    CGoodsItem milk("milk", context, "milk", "tvMilk", "milkInit", SCOPE, 1, 300);
    EXPECT_TRUE(milk.GetGoodsFlag());
    EXPECT_EQ(milk.GetScope(), SCOPE);
    EXPECT_EQ(milk.GetPresentationNode1().name, "milkHandling");
    EXPECT_EQ(milk.GetPresentationNode2().name, "milkInit");
    EXPECT_EQ(milk.GetPresentationNode3().name, "milkInit");
    EXPECT_EQ(milk.GetPresentationNode3().kind, RT_TRANSFORM);
    float x = 0, y = 0, z = 0, r = 0;
    milk.GetBoundingSphere(x, y, z, r);
    EXPECT_FLOAT_EQ(r, 2.0f) << "the presentation node's sphere";

    CGoodsItem crate("crate", context, "milk", "tvCrate", "noSuchNode", "::b", 0, 300);
    crate.GetBoundingSphere(x, y, z, r);
    EXPECT_GE(r, 5.0f) << "the whole model's sphere";
    EXPECT_FALSE(crate.GetGoodsFlag());

    CAccessoryItem cap("cap", context, "cap", "tvCap", SCOPE, CAccessoryItem::CATEGORY_CAP, 1200);
    EXPECT_EQ(cap.GetPresentationNode1().name, "cap");
    EXPECT_TRUE(cap.IsAccessory());
    EXPECT_FALSE(cap.GetGoodsFlag());
    CEndingItem ending("ending", context, SCOPE);
    EXPECT_EQ(ending.GetPresentationNode3().name, "ending");
    EXPECT_EQ(ending.GetPrice(), 0);
    EXPECT_TRUE(ending.GetTvId().empty());
    x = y = z = r = 7.0f;
    ending.GetBoundingSphere(x, y, z, r);
    EXPECT_EQ(r, 7.0f) << "left as it was";
}

} // namespace
