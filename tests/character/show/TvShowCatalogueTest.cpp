// Every item of her catalogue on the show without a device: each is put on
// sale, bought with a click on the panel, and its node (a good's carried
// node, an accessory's node on her head) is on the show's layer while the
// show runs and back under its own parent, where it was, once it has closed.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "character/show/TvShowStage.h"
#include "engine/core/FrameStamp.h"
#include "engine/core/Random.h"
#include "shell/world/World.h"
#include "tests/character/show/ShowStageFixture.h"
#include "tests/character/support/VeskoFixture.h"

namespace {

constexpr float STEP = 40.0f;

struct CatalogueShow : ::testing::Test {
    CatalogueShow() {
        AddTvModels(60.0f);
        showLayer = new CTransform("renderRootIndicator");
        std::string missing;
        vesko = fixture.Assemble(missing);
        EXPECT_NE(vesko, nullptr) << missing;
        show.reset(new CTvShowStage("vesko", showLayer, fixture.mainRoot, &setting, VeskoFixture::SCOPE));
        show->SetHost(&host);
    }
    ~CatalogueShow() override {
        show.reset();
        delete showLayer;
    }

    CTransform* NodeOf(const CItem& item) {
        if (item.IsCloth() || item.IsEndingItem())
            return nullptr;
        const ModelRef ref = item.GetPresentationNode1();
        return dynamic_cast<CTransform*>(fixture.registry.Find((ref.name + item.GetScope()).c_str(), ref.kind));
    }
    static Vec3 WorldPlace(CTransform* node) {
        AdvanceFrameStamp();
        const CMatrix& m = node->GetWorldMatrix();
        return Vec3(m.m[3][0], m.m[3][1], m.m[3][2]);
    }
    bool Update(bool clicked) { return show->Update(&setting, nullptr, nullptr, world, *vesko, clicked, STEP); }

    VeskoFixture fixture;
    CTransform* showLayer = nullptr;
    CCharacter* vesko = nullptr;
    ShowWindowSetting setting;
    RecordingShowHost host;
    CWorld world{"catalogue_world"};
    std::unique_ptr<CTvShowStage> show;
};

TEST_F(CatalogueShow, EveryItemIsPresentedAndBoughtAndItsNodeGoesBack) {
    ASSERT_NE(vesko, nullptr);
    ASSERT_NE(show->GetTvTransform(), nullptr);
    const std::vector<CItem*>& items = vesko->GetItems().List();
    ASSERT_EQ(items.size(), 85u);
    int sold = 0, nodesMoved = 0;
    for (CItem* item : items) {
        SCOPED_TRACE(item->GetName());
        host = RecordingShowHost();
        // For sale: never had.
        item->SetOwned(false);
        item->SetCollected(false);
        const uint32_t price = (uint32_t)item->GetPrice();
        vesko->GetStats().mny = price + 777u;
        CTransform* node = NodeOf(*item);
        if (!item->IsCloth() && !item->IsEndingItem()) {
            ASSERT_NE(node, nullptr) << "the fixture lacks the item's node";
        }
        CTransform* ownParent = node ? node->GetParent() : nullptr;
        const Vec3 place = node ? WorldPlace(node) : Vec3();

        show->Present(item, nullptr, *vesko);
        // The free items (room props, first clothes, the cap she starts
        // with) are hers, not the show's.
        const bool forSale = price > 0 || item->IsEndingItem();
        ASSERT_EQ(show->IsPresenting(), forSale);
        if (!forSale) {
            EXPECT_FALSE(Update(true));
            EXPECT_FALSE(item->IsOwned());
            if (node) {
                EXPECT_EQ(node->GetParent(), ownParent);
            }
            EXPECT_TRUE(host.posted.empty());
            continue;
        }
        EXPECT_EQ(show->GetTvTransform()->GetChannelValue(CTransform::TC_VISIBLE), 1.0f);
        EXPECT_EQ(show->GetDisplayNode(), node);
        if (node) {
            EXPECT_EQ(node->GetParent(), showLayer);
            ++nodesMoved;
        }

        // Pointing without a click, and a click off the panel, buy nothing.
        host.PointAtPanel(true);
        EXPECT_TRUE(Update(false));
        host.PointOffPanel(true);
        EXPECT_TRUE(Update(true));
        // The button up: a click on the panel buys nothing either.
        host.PointAtPanel(false);
        EXPECT_TRUE(Update(true));
        EXPECT_EQ(vesko->GetStats().mny, price + 777u);
        EXPECT_FALSE(item->IsOwned());

        host.PointAtPanel(true);
        EXPECT_TRUE(Update(true));
        EXPECT_EQ(vesko->GetStats().mny, 777u);
        EXPECT_TRUE(item->IsOwned());
        // Paying, or paid already when the price is under one step's roll.
        EXPECT_GE(show->GetProgram().GetPhase(), CTvShowProgram::PHASE_PAYING);
        // Once bought, another click takes nothing more.
        EXPECT_TRUE(Update(true));
        EXPECT_EQ(vesko->GetStats().mny, 777u);

        int updates = 0;
        while (Update(false) && updates < 1000)
            ++updates;
        EXPECT_LT(updates, 1000) << "the show never closed";
        EXPECT_FALSE(show->IsPresenting());
        EXPECT_EQ(host.posted, std::vector<unsigned>{SHOW_ENDED_MESSAGE});
        EXPECT_EQ(host.cursorRefreshes, 1);
        EXPECT_EQ(show->GetTvTransform()->GetChannelValue(CTransform::TC_VISIBLE), 0.0f);
        EXPECT_EQ(show->GetDisplayNode(), nullptr);
        if (node) {
            EXPECT_EQ(node->GetParent(), ownParent);
            const Vec3 after = WorldPlace(node);
            EXPECT_NEAR(after.x, place.x, 1e-4f);
            EXPECT_NEAR(after.y, place.y, 1e-4f);
            EXPECT_NEAR(after.z, place.z, 1e-4f);
        }
        ++sold;
    }
    // 78 priced items and the ending; the 20 goods and the 38 priced
    // accessories have nodes that went to the show.
    EXPECT_EQ(sold, 79);
    EXPECT_EQ(nodesMoved, 58);
}

TEST_F(CatalogueShow, AThrownAwayCapIsNeverOfferedNorKeepsTheEndingAway) {
    ASSERT_NE(vesko, nullptr);
    std::ostringstream out;
    ASSERT_TRUE(vesko->HandleCommand(out, "waste", {"nenekoCap"}));
    CItem* cap = vesko->GetItems().Find("nenekoCap");
    ASSERT_NE(cap, nullptr);
    ASSERT_FALSE(cap->IsOwned());
    show->Present(cap, nullptr, *vesko);
    EXPECT_FALSE(show->IsPresenting());

    SeedRand(5);
    for (int i = 0; i < 2000; ++i) {
        CItem* item = vesko->PickTvItem();
        ASSERT_NE(item, nullptr);
        ASSERT_NE(item, cap);
    }
    // Everything else bought: the ending comes, with no money.
    for (CItem* item : vesko->GetItems().List())
        if (item != cap && !item->IsEndingItem())
            item->SetOwned(true);
    vesko->GetStats().mny = 0;
    CItem* last = vesko->PickTvItem();
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->IsEndingItem());
    show->Present(last, nullptr, *vesko);
    EXPECT_TRUE(show->IsPresenting());
}

} // namespace
