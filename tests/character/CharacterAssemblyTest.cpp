#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "character/act/Act.h"
#include "character/act/BoneChainNode.h"
#include "character/assembly/SoundCueHook.h"
#include "character/collision/CollisionCapsule.h"
#include "character/collision/CollisionSphere.h"
#include "character/item/AccessoryItem.h"
#include "character/item/ClothItem.h"
#include "character/item/GoodsItem.h"
#include "engine/core/Random.h"
#include "shell/world/World.h"
#include "tests/character/ai/AiFixtures.h"
#include "tests/character/support/VeskoFixture.h"

namespace {

std::string Say(CCharacter& character, const std::string& command, const std::vector<std::string>& args = {}) {
    std::ostringstream out;
    EXPECT_TRUE(character.HandleCommand(out, command, args)) << command;
    return out.str();
}

bool Visible(CTransform* node) { return node && node->GetChannelValue(CTransform::TC_VISIBLE) >= 1.0f; }

// A show that runs for as many updates as it is told and records its calls.
class FakeShow : public ITvShow {
public:
    void Present(CItem* item, CRenderManager*, CCharacter&) override {
        presented.push_back(item ? item->GetName() : std::string());
    }
    bool Update(ISetting*, CRenderManager*, CSoundManager*, CWorld&, CCharacter&, bool clicked, float) override {
        ++updates;
        lastClick = clicked;
        if (running <= 0)
            return false;
        --running;
        return true;
    }
    bool IsPresenting() const override { return presenting; }
    bool HitTest(CRenderManager*, int x, int y) override { return x >= 0 && x < 10 && y >= 0 && y < 10; }

    std::vector<std::string> presented;
    int running = 0;
    int updates = 0;
    bool lastClick = false;
    bool presenting = false;
};

class FocusList : public IFocusPointSink {
public:
    void AddFocusPoint(float x, float y, float z, float weight) override { points.push_back({x, y, z, weight}); }
    struct Point {
        float x, y, z, weight;
    };
    std::vector<Point> points;
};

} // namespace

TEST(CharacterAssembly, NewCharacterHoldsHerCatalogueActionsCuesAndMoney) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    EXPECT_EQ(vesko->GetStats().mny, 50000u);
    EXPECT_EQ(vesko->GetItems().List().size(), 85u);
    std::set<std::string> owned;
    for (CItem* item : vesko->GetItems().List())
        if (item->IsOwned())
            owned.insert(item->GetName());
    EXPECT_EQ(owned, (std::set<std::string>{"door", "chair", "tv", "clothDefault", "clothPink", "nenekoCap"}));
    EXPECT_EQ(vesko->GetActions().size(), 184u);
    EXPECT_EQ(vesko->GetCueCount(), 18);
    EXPECT_EQ(vesko->GetCue(0)->GetCue().GetName(), "lightSaber");
    EXPECT_EQ(vesko->GetCue(17)->GetCue().GetName(), "tvBroken");
    EXPECT_EQ(fixture.Scoped("lightSaberSound")->GetRenderHook(), vesko->GetCue(0));
    EXPECT_EQ(fixture.Scoped("tvBrokenSound")->GetRenderHook(), vesko->GetCue(17));
    EXPECT_EQ(vesko->GetItems().GetName(), "vesko_items");
}

TEST(CharacterAssembly, BodyStandsAtHerStartWithScaleShadowAndFirstRequest) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    CTransform* root = vesko->GetBody()->GetRootTransform();
    EXPECT_EQ(root->GetName(), "vesko_mdl_root::the");
    EXPECT_EQ(root->GetParent(), fixture.mainRoot);
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_X), 200.0f);
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_Y), 0.0f);
    EXPECT_FLOAT_EQ(root->GetChannelValue(CTransform::TC_TRANSLATION_Z), 200.0f);
    CTransform* scaled = fixture.Scoped("veskoRoot");
    for (int slot : {CTransform::TC_SCALE_X, CTransform::TC_SCALE_Y, CTransform::TC_SCALE_Z})
        EXPECT_FLOAT_EQ(scaled->GetChannelValue(slot), 16.66f);
    EXPECT_EQ(vesko->GetShadow(), fixture.Scoped("maruKage"));
    ASSERT_EQ(vesko->GetQueue().size(), 1u);
    EXPECT_EQ(vesko->GetQueue().front().name, "stand");
    EXPECT_EQ(vesko->GetQueue().front().words, std::vector<std::string>{"1t"});
    EXPECT_EQ(vesko->GetOldTv(), fixture.Scoped("Tv"));
    EXPECT_EQ(vesko->GetNewTv(), fixture.Scoped("tv2003lcdvc"));
    // Every cloth node is hidden until worn.
    for (const char* cloth : {"vesko_clothStandard", "clothBlue", "miniSkirt", "clothNagasode", "etonaDress"})
        EXPECT_FALSE(Visible(fixture.Scoped(cloth))) << cloth;
}

TEST(CharacterAssembly, CollisionShapesHangUnderHerBones) {
    VeskoFixture fixture;
    std::string missing;
    ASSERT_NE(fixture.Assemble(missing), nullptr) << missing;
    struct Case {
        const char* transform;
        const char* bone;
        const char* node;
        bool capsule;
    } cases[] = {{"ctCc", "koshi", "ccCc", true},  {"ctCs2", "koshi", "ccCs2", false}, {"ctLs", "koshi", "ccLs", false},
                 {"ctRs", "koshi", "ccRs", false}, {"ctL", "legL1", "ccL", true},      {"ctR", "legR1", "ccR", true}};
    for (const Case& c : cases) {
        CTransform* holder = fixture.Scoped(c.transform);
        ASSERT_NE(holder, nullptr) << c.transform;
        EXPECT_EQ(holder->GetParent(), fixture.Scoped(c.bone, RT_BONE)) << c.transform;
        ASSERT_EQ(holder->GetChildren().size(), 1u) << c.transform;
        CNode* shape = NodeHandles().Resolve(holder->GetChildren()[0]);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->GetName(), std::string(c.node) + "::the");
        EXPECT_EQ(dynamic_cast<CCollisionCapsule*>(shape) != nullptr, c.capsule) << c.node;
        EXPECT_EQ(dynamic_cast<CCollisionSphere*>(shape) != nullptr, !c.capsule) << c.node;
    }
    // A quarter turn about Z, then the translation.
    const CMatrix& hips = fixture.Scoped("ctCc")->GetLocalMatrix();
    EXPECT_NEAR(hips(0, 1), 1.0f, 1e-5f);
    EXPECT_NEAR(hips(1, 0), -1.0f, 1e-5f);
    EXPECT_NEAR(hips(3, 1), -0.061f, 1e-6f);
    EXPECT_NEAR(hips(3, 2), 0.095f, 1e-6f);
    // The right leg carries the left leg's matrix, not a mirrored one.
    const CMatrix& left = fixture.Scoped("ctL")->GetLocalMatrix();
    const CMatrix& right = fixture.Scoped("ctR")->GetLocalMatrix();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_FLOAT_EQ(left(r, c), right(r, c));
    EXPECT_NEAR(left(3, 0), -0.024f, 1e-6f);
    EXPECT_NEAR(left(3, 1), -1.497f, 1e-6f);
}

TEST(CharacterAssembly, BodyVariantsAndSwapsResolve) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    const auto& variants = vesko->GetBodyVariants();
    ASSERT_EQ(variants.size(), 2u);
    EXPECT_EQ(variants[0].node, fixture.Scoped("vesko2003E"));
    EXPECT_EQ(variants[0].swaps.size(), 4u);
    EXPECT_EQ(variants[1].node, fixture.Scoped("vesko2003ENagasode"));
    EXPECT_TRUE(variants[1].swaps.empty());
    for (const TextureSwap& swap : variants[0].swaps) {
        EXPECT_NE(swap.shader, nullptr);
        EXPECT_NE(swap.texture, nullptr);
    }
    // The loaded skin texture is used; the others were made through the binder.
    EXPECT_EQ(std::count(fixture.binder.made.begin(), fixture.binder.made.end(), "vesko_skinArm.tga"), 0);
    EXPECT_EQ(std::count(fixture.binder.made.begin(), fixture.binder.made.end(), "vesko_skinBody.tga"), 1);

    auto* cheer = dynamic_cast<CClothItem*>(vesko->GetItems().Find("clothCheerLeader"));
    ASSERT_NE(cheer, nullptr);
    EXPECT_EQ(cheer->GetSwaps().size(), 5u);
    fixture.binder.applied.clear();
    cheer->PutOn();
    // The variant's skin first, then the cloth's own swaps over it.
    ASSERT_EQ(fixture.binder.applied.size(), 9u);
    EXPECT_EQ(fixture.binder.applied[1], "vesko2003E_m1::the=vesko_skinBody.tga");
    EXPECT_EQ(fixture.binder.applied[6], "vesko2003E_m1::the=vesko_skinCheerLeader.tga");
    EXPECT_TRUE(Visible(fixture.Scoped("miniSkirt")));
    EXPECT_TRUE(Visible(fixture.Scoped("vesko2003E")));
    EXPECT_FALSE(Visible(fixture.Scoped("vesko2003ENagasode")));
}

TEST(CharacterAssembly, AnythingMissingFailsWithItsNameInsteadOfAHalfBuiltCharacter) {
    const char* cases[][2] = {
        {"miniSkirt", "miniSkirt"},                    // a model of her body instance
        {"koshi", "koshi::the"},                       // the chain tip
        {"maruKage", "maruKage::the"},                 // the shadow
        {"legR1", "legR1::the"},                       // a bone a collision shape hangs under
        {"kotatsuRoot", "kotatsuRoot"},                // a goods model
        {"vesko2003E", "vesko2003E::the"},             // a body variant
        {"capWitch", "capWitch::the"},                 // an accessory node
        {"teleporterSound1", "teleporterSound1::the"}, // a sound node
        {"veskoIceCream02", "veskoIceCream02"},        // an animation set
        {"kotatsuBody", "kotatsuBody::the"},           // a node a linked motion moves
        {"veskoHandlingC", "veskoHandlingC::the"},     // a hand anchor
        {"tv2003lcdvc", "tv2003lcdvc::the"},           // the new TV
    };
    for (const auto& c : cases) {
        VeskoFixture fixture({c[0]});
        std::string missing;
        CCharacter* vesko = fixture.Assemble(missing);
        EXPECT_EQ(vesko, nullptr) << c[0];
        EXPECT_EQ(missing, c[1]) << c[0];
    }
}

TEST(CharacterCommands, ItemsLineGivesKindPriceOwnedAndCollected) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    vesko->GetItems().Find("milk")->SetOwned(true);
    vesko->GetItems().Find("milk")->SetOwned(false);
    std::istringstream lines(Say(*vesko, "items"));
    std::map<std::string, std::string> byName;
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        byName[line.substr(0, line.find('('))] = line;
    }
    EXPECT_EQ(count, 85);
    EXPECT_EQ(byName["door"], "door(t, 0) o(o)");
    EXPECT_EQ(byName["nenekoCap"], "nenekoCap(a, 0) o(o)");
    EXPECT_EQ(byName["clothBlue"], "clothBlue(c, 12800) x(x)");
    EXPECT_EQ(byName["milk"], "milk(t, 450) x(o)");
    EXPECT_EQ(byName["ending"], "ending(t, 0) x(x)");
    // Registry order is name order.
    std::istringstream again(Say(*vesko, "items"));
    std::getline(again, line);
    EXPECT_EQ(line.substr(0, line.find('(')), "akazukinCap");
}

TEST(CharacterCommands, BuyWasteAccessoryClothAndUsageLines) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    EXPECT_EQ(Say(*vesko, "buy"), "name buy itemname\n");
    EXPECT_EQ(Say(*vesko, "buy", {"segway"}), "");
    EXPECT_EQ(vesko->GetPendingPurchase(), "segway");
    EXPECT_FALSE(vesko->GetItems().Find("segway")->IsOwned());

    EXPECT_EQ(Say(*vesko, "waste"), "name waste itemname\n");
    EXPECT_EQ(Say(*vesko, "waste", {"nothing"}), "");
    Say(*vesko, "waste", {"nenekoCap"});
    EXPECT_FALSE(vesko->GetItems().Find("nenekoCap")->IsOwned());

    CTransform* cap = fixture.Scoped("capNeneko");
    EXPECT_EQ(Say(*vesko, "accessory", {"nenekoCap", "again"}), "name accessory itemname\n");
    EXPECT_FALSE(Visible(cap));
    EXPECT_EQ(Say(*vesko, "accessory", {"noSuchCap"}), "name accessory itemname\n");
    EXPECT_EQ(Say(*vesko, "accessory", {"nenekoCap"}), "");
    EXPECT_TRUE(Visible(cap));
    Say(*vesko, "accessory", {"nenekoCap"});
    EXPECT_FALSE(Visible(cap));

    FakeSetting setting;
    vesko->SetSetting(&setting);
    vesko->GetItems().Find("jazi")->SetOwned(true);
    Say(*vesko, "cloth", {"jazi"});
    EXPECT_TRUE(Visible(fixture.Scoped("clothNagasode")));
    EXPECT_TRUE(Visible(fixture.Scoped("vesko2003ENagasode")));
    EXPECT_FALSE(Visible(fixture.Scoped("vesko2003E")));

    // Unknown words go on to the AI player.
    EXPECT_EQ(Say(*vesko, "ai"), "name ai command\n");
}

TEST(CharacterCommands, TvChoiceOverTheCatalogueWeighsGoodsFourTimes) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    // 50000 yen: 38 accessories, 17 clothes (three cost more) and 20 goods
    // entered four times: 135 entries.
    SeedRand(4);
    std::map<std::string, int> counts;
    const int draws = 135000;
    for (int i = 0; i < draws; ++i)
        ++counts[vesko->PickTvItem()->GetName()];
    EXPECT_NEAR(counts["segway"], 4000, 250);
    EXPECT_NEAR(counts["milk"], 4000, 250);
    EXPECT_NEAR(counts["clothBlue"], 1000, 120);
    EXPECT_NEAR(counts["haibane"], 1000, 120);
    for (const char* never : {"etona", "momo", "clothYamayuri", "nenekoCap", "door", "clothPink", "ending"})
        EXPECT_EQ(counts.count(never), 0u) << never;
}

TEST(CharacterCommands, ItemCompleteLeavesTheEndingWhichTheNextUpdateReportsOnce) {
    VeskoFixture fixture;
    FocusList focus;
    fixture.focus = &focus;
    std::string missing;
    auto* show = new FakeShow;
    CCharacter* vesko = fixture.Assemble(missing, show);
    ASSERT_NE(vesko, nullptr) << missing;
    FakeSetting setting;
    vesko->SetSetting(&setting);
    CWorld world("world");
    Say(*vesko, "ai", {"stop"});
    Say(*vesko, "itemcomplete");
    for (CItem* item : vesko->GetItems().List())
        EXPECT_EQ(item->IsOwned(), !item->IsEndingItem()) << item->GetName();
    vesko->GetStats().mny = 0;
    ASSERT_NE(vesko->PickTvItem(), nullptr);
    EXPECT_TRUE(vesko->PickTvItem()->IsEndingItem());
    EXPECT_FLOAT_EQ(vesko->GetCollectionRatio(), 1.0f);

    // The show callback: the next update presents the ending item.
    vesko->Request(CActRequest("zaplenu"));
    for (int i = 0; i < 10 && show->presented.empty(); ++i)
        EXPECT_EQ(vesko->Update(&setting, nullptr, nullptr, world, false, 16.0f), 0);
    EXPECT_EQ(show->presented, std::vector<std::string>{"ending"});
    EXPECT_FALSE(vesko->IsShowPending());
    EXPECT_TRUE(vesko->IsTvShownToday());

    vesko->Request(CActRequest("ending"));
    std::vector<int> results;
    for (int i = 0; i < 10; ++i)
        results.push_back(vesko->Update(&setting, nullptr, nullptr, world, true, 16.0f));
    // The callback runs in one update; the next one reports it.
    EXPECT_EQ(std::count(results.begin(), results.end(), 1), 1);
    EXPECT_EQ(std::count(results.begin(), results.end(), 0), 9);
    EXPECT_TRUE(show->lastClick);
    // Each update looks at her: her place raised by 30, weight 100.
    ASSERT_FALSE(focus.points.empty());
    EXPECT_NEAR(focus.points.back().x, vesko->GetPosition().x, 1e-3f);
    EXPECT_NEAR(focus.points.back().y, vesko->GetPosition().y + 30.0f, 1e-3f);
    EXPECT_FLOAT_EQ(focus.points.back().weight, 100.0f);
}

TEST(CharacterUpdate, SheStandsStillWhileAShowRunsAndResumesAfter) {
    VeskoFixture fixture;
    std::string missing;
    auto* show = new FakeShow;
    CCharacter* vesko = fixture.Assemble(missing, show);
    ASSERT_NE(vesko, nullptr) << missing;
    FakeSetting setting;
    vesko->SetSetting(&setting);
    CWorld world("world");
    Say(*vesko, "ai", {"stop"});
    vesko->Request(CActRequest("wait", "100000"));
    for (int i = 0; i < 10 && vesko->GetCurrentActionName() != "wait"; ++i)
        vesko->Update(&setting, nullptr, nullptr, world, false, 16.0f);
    // "stand" "1t" ended and the wait began.
    ASSERT_EQ(vesko->GetCurrentActionName(), "wait");
    const int started = vesko->GetCurrentAction()->GetTime();
    show->running = 20;
    for (int i = 0; i < 20; ++i)
        vesko->Update(&setting, nullptr, nullptr, world, false, 16.0f);
    EXPECT_EQ(vesko->GetCurrentActionName(), "wait");
    EXPECT_EQ(vesko->GetCurrentAction()->GetTime(), started);
    const int updates = show->updates;
    vesko->Update(&setting, nullptr, nullptr, world, false, 16.0f);
    EXPECT_EQ(vesko->GetCurrentActionName(), "wait");
    EXPECT_GT(vesko->GetCurrentAction()->GetTime(), started);
    EXPECT_EQ(show->updates, updates + 1);
}

TEST(CharacterUpdate, ShadowFollowsHerAndSideLocksShow) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    FakeSetting setting;
    CWorld world("world");
    Say(*vesko, "ai", {"stop"});
    fixture.Scoped("osageBexlaR")->SetVisible(0.0f);
    vesko->Update(&setting, nullptr, nullptr, world, false, 16.0f);
    CTransform* shadow = fixture.Scoped("maruKage");
    // The shadow hangs in her model below the root that carries her: in the
    // room it lies one unit above the floor under her, not at twice her place.
    auto shadowInRoom = [&] {
        AdvanceFrameStamp();
        const CMatrix& m = shadow->GetWorldMatrix();
        return Vec3(m.m[3][0], m.m[3][1], m.m[3][2]);
    };
    Vec3 position = vesko->GetPosition();
    EXPECT_NEAR(position.x, 200.0f, 1e-3f);
    Vec3 placed = shadowInRoom();
    EXPECT_NEAR(placed.x, position.x, 1e-3f);
    EXPECT_NEAR(placed.y, 1.0f, 1e-3f);
    EXPECT_NEAR(placed.z, position.z, 1e-3f);
    // Turned and moved as her motions place her, her hips off the root as in
    // a motion played where it was recorded.
    struct Place {
        float x, z, yaw, hipX, hipZ;
    } places[] = {{-150.0f, 80.0f, 1.2f, 0.0f, 0.0f},
                  {30.0f, -220.0f, -2.5f, 0.0f, 0.0f},
                  {0.0f, 0.0f, 0.0f, -6.0f, 9.0f},
                  {120.0f, 40.0f, 0.7f, 1.5f, -2.0f}};
    for (const Place& p : places) {
        vesko->GetBody()->SetRootPlacement(p.x, 0.0f, p.z, p.yaw);
        fixture.Scoped("koshi", RT_BONE)->SetTranslation(p.hipX, 3.0f, p.hipZ);
        vesko->Update(&setting, nullptr, nullptr, world, false, 0.0f);
        position = vesko->GetPosition();
        placed = shadowInRoom();
        EXPECT_NEAR(placed.x, position.x, 1e-2f) << p.x << " " << p.z;
        EXPECT_NEAR(placed.y, 1.0f, 1e-3f) << p.x << " " << p.z;
        EXPECT_NEAR(placed.z, position.z, 1e-2f) << p.x << " " << p.z;
        EXPECT_NEAR(position.x, p.x + p.hipX * 16.66f, 0.05f);
    }
    EXPECT_TRUE(Visible(fixture.Scoped("osageBexlaR")));
    EXPECT_TRUE(Visible(fixture.Scoped("osageBexlaL")));
    // Her hair is stepped with her: the side lock, set up pointing sideways,
    // is turned to hang.
    for (int i = 0; i < 10; ++i) {
        AdvanceFrameStamp();
        vesko->Update(&setting, nullptr, nullptr, world, false, 16.0f);
    }
    Vec3 lock(1.0f, 0.0f, 0.0f);
    lock.TransformNormal(fixture.Scoped("hairMomiL", RT_BONE)->GetLocalMatrix());
    EXPECT_LT(lock.y, -0.9f);
}

TEST(CharacterAfterLoad, DressesByQuillombModeAndSwitchesTheRoomTv) {
    struct Case {
        bool quillomb;
        bool asleep;
        bool endingOwned;
        const char* wornNode; // the cloth node she ends up in
    } cases[] = {
        {false, false, false, "vesko_clothStandard"}, // "clothPink" is a QuillombMode cloth
        {true, false, false, "clothPink2"},           // "clothDefault" is never chosen then
        {false, true, true, "vesko_clothStandard"},
    };
    for (const Case& c : cases) {
        VeskoFixture fixture;
        std::string missing;
        CCharacter* vesko = fixture.Assemble(missing);
        ASSERT_NE(vesko, nullptr) << missing;
        FakeSetting setting;
        setting.quillomb = c.quillomb;
        vesko->SetSetting(&setting);
        vesko->GetStats().bsl = c.asleep ? 1 : 0;
        vesko->GetItems().Find("ending")->SetOwned(c.endingOwned);
        vesko->AfterLoad();
        EXPECT_TRUE(Visible(fixture.Scoped(c.wornNode))) << c.quillomb;
        const char* other = std::string(c.wornNode) == "clothPink2" ? "vesko_clothStandard" : "clothPink2";
        EXPECT_FALSE(Visible(fixture.Scoped(other))) << c.quillomb;
        EXPECT_EQ(Visible(fixture.Scoped("Tv")), !c.endingOwned);
        EXPECT_EQ(Visible(fixture.Scoped("tv2003lcdvc")), c.endingOwned);
        // Asleep, she goes back to her sleeping action, which exists.
        const bool queuedSleep = vesko->GetQueue().back().name == "sleep";
        EXPECT_EQ(queuedSleep, c.asleep);
        if (c.asleep) {
            EXPECT_NE(vesko->FindAction(vesko->GetQueue().back().name), nullptr);
        }
    }
}

TEST(CharacterAfterLoad, SaveAndLoadKeepMoneyAndItemStates) {
    CSavedState state;
    {
        VeskoFixture fixture;
        std::string missing;
        CCharacter* vesko = fixture.Assemble(missing);
        ASSERT_NE(vesko, nullptr) << missing;
        vesko->GetStats().mny = 1234;
        vesko->GetItems().Find("segway")->SetOwned(true);
        vesko->GetItems().Find("milk")->SetOwned(true);
        vesko->GetItems().Find("milk")->SetOwned(false);
        vesko->Serialize(state, true);
    }
    EXPECT_EQ(state.money, 1234u);
    EXPECT_EQ(state.items.size(), 85u);
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    vesko->Serialize(state, false);
    vesko->AfterLoad();
    EXPECT_EQ(vesko->GetStats().mny, 1234u);
    EXPECT_TRUE(vesko->GetItems().Find("segway")->IsOwned());
    EXPECT_TRUE(Visible(dynamic_cast<CGoodsItem*>(vesko->GetItems().Find("segway"))->GetModel()->GetRoot()));
    EXPECT_FALSE(vesko->GetItems().Find("milk")->IsOwned());
    EXPECT_TRUE(vesko->GetItems().Find("milk")->IsCollected());
    EXPECT_FALSE(vesko->GetItems().Find("kotatsu")->IsCollected());
}

TEST(CharacterAfterLoad, RefreshClothPutsPyjamasOnWhileAsleep) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    FakeSetting setting;
    vesko->SetSetting(&setting);
    vesko->GetItems().Find("pajamaOrange")->SetOwned(true);
    vesko->GetStats().bsl = 1;
    vesko->RefreshCloth();
    EXPECT_TRUE(vesko->GetItems().Find("pajamaOrange")->IsWorn());
    EXPECT_TRUE(Visible(fixture.Scoped("clothNagasode")));
}

TEST(CharacterShow, HitTestNeedsAPresentingShow) {
    VeskoFixture fixture;
    std::string missing;
    auto* show = new FakeShow;
    CCharacter* vesko = fixture.Assemble(missing, show);
    ASSERT_NE(vesko, nullptr) << missing;
    EXPECT_FALSE(vesko->HitTestTv(nullptr, 5, 5));
    show->presenting = true;
    EXPECT_TRUE(vesko->HitTestTv(nullptr, 5, 5));
    EXPECT_FALSE(vesko->HitTestTv(nullptr, 50, 5));
    vesko->SetShow(nullptr);
    EXPECT_FALSE(vesko->HitTestTv(nullptr, 5, 5));
}

TEST(CharacterShow, CollectionRatioCountsPricedItemsOnly) {
    VeskoFixture fixture;
    std::string missing;
    CCharacter* vesko = fixture.Assemble(missing);
    ASSERT_NE(vesko, nullptr) << missing;
    // 78 priced items; the seven free ones do not count.
    EXPECT_FLOAT_EQ(vesko->GetCollectionRatio(), 0.0f);
    vesko->GetItems().Find("segway")->SetOwned(true);
    vesko->GetItems().Find("segway")->SetOwned(false);
    vesko->GetItems().Find("haibane")->SetOwned(true);
    EXPECT_FLOAT_EQ(vesko->GetCollectionRatio(), 2.0f / 78.0f);
    CCharacter empty("empty", CharacterSetup());
    EXPECT_FLOAT_EQ(empty.GetCollectionRatio(), 0.0f);
}
