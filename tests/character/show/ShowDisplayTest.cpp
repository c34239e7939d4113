#include <gtest/gtest.h>

#include "character/item/GoodsItem.h"
#include "character/show/ShowDisplay.h"
#include "tests/character/ai/AiFixtures.h"
#include "tests/character/support/VeskoFixture.h"

TEST(ShowDisplay, AGoodGoesBackToItsOwnParentAfterTheShow) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    CTransform* showLayer = new CTransform("renderRootShow");
    CTransform* roomLayer = new CTransform("renderRootRoom");
    CShowDisplay display;

    CItem* segway = vesko->GetItems().Find("segway");
    CTransform* handling = fixture.Scoped("segwayHandling");
    CTransform* init = fixture.Scoped("segwayInit");
    ASSERT_EQ(handling->GetParent(), init);
    ASSERT_TRUE(display.Take(*segway, showLayer));
    EXPECT_EQ(handling->GetParent(), showLayer);
    display.GiveBack(roomLayer);
    // Under its resting node again, not loose in the room layer.
    EXPECT_EQ(handling->GetParent(), init);
    EXPECT_FALSE(display.IsHolding());

    // A good carried in her hand at the start of the show goes back to the hand.
    CTransform* hand = fixture.Scoped("veskoHandlingR");
    hand->AddChild(handling);
    ASSERT_TRUE(display.Take(*segway, showLayer));
    display.GiveBack(roomLayer);
    EXPECT_EQ(handling->GetParent(), hand);
}

TEST(ShowDisplay, ClothesTheEndingAndMissingNodesMoveNothing) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    CTransform* layer = new CTransform("renderRootShow");
    CShowDisplay display;
    FakeItem unloaded("unloaded", FakeItem::GOODS);
    EXPECT_FALSE(display.Take(unloaded, layer));
    for (const char* name : {"clothBlue", "ending"})
        EXPECT_FALSE(display.Take(*vesko->GetItems().Find(name), layer)) << name;
    EXPECT_FALSE(display.Take(*vesko->GetItems().Find("milk"), nullptr));
    EXPECT_TRUE(layer->GetChildren().empty());
    EXPECT_FALSE(display.IsHolding());

    // An accessory's node is her own; it is shown in the layer and given back too.
    CTransform* cap = fixture.Scoped("capWitch");
    CTransform* head = cap->GetParent();
    ASSERT_TRUE(display.Take(*vesko->GetItems().Find("witchCap"), layer));
    EXPECT_EQ(cap->GetParent(), layer);
    // Taking the next item first gives the held one back.
    ASSERT_TRUE(display.Take(*vesko->GetItems().Find("milk"), layer));
    EXPECT_EQ(cap->GetParent(), head);
    display.GiveBack(nullptr);
    EXPECT_EQ(fixture.Scoped("milkHandling")->GetParent(), fixture.Scoped("milkInit"));
}
