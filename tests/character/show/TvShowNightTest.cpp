// Whole nights headless: her own plans call the show after 21:00, the show
// runs on what she picks and is bought or let go, closes with one message,
// and every item node is back under its own parent by the morning.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "character/Character.h"
#include "character/act/BoneChainNode.h"
#include "character/proto/ActionPrototypes.h"
#include "character/show/TvShowStage.h"
#include "engine/core/Random.h"
#include "shell/world/World.h"
#include "tests/character/show/ShowStageFixture.h"
#include "tests/character/support/CharacterRig.h"

namespace {

constexpr float FRAME_MS = 1.0f / 0.06f;

// A good or an accessory with a node of its own in the room.
class NodeItem : public FakeItem {
public:
    NodeItem(const std::string& name, Kind kind, int price, CTransform* parent, float x)
        : FakeItem(name, kind, price, false) {
        auto* node = new CTransform((name + "View" + CharacterRig::SCOPE).c_str());
        parent->AddChild(node);
        node->SetTranslation(x, 10.0f, -40.0f);
        m_node = node->GetTransformHandle();
    }
    std::string GetScope() const override { return CharacterRig::SCOPE; }
    ModelRef GetPresentationNode1() const override { return {GetName() + "View", RT_TRANSFORM}; }
    CTransform* Node() const { return TransformHandles().Resolve(m_node); }

private:
    CHandle m_node;
};

// Her body with a motion for every action, the room's item nodes, the TV's
// models and the show, from 20:00.
struct Night {
    Night() {
        for (const ActionPrototypeRow& row : ActionPrototypeTable()) {
            if (!row.animationSet)
                continue;
            const float frames = row.actionClass == AC_MOTION_MOVE ? 40.0f : 60.0f;
            rig.AddSet(row.animationSet, frames,
                       {{"koshi", AA_TRANSLATION_X, 0.0f, 0.0f},
                        {"koshi", AA_TRANSLATION_Z, 0.0f, 0.0f},
                        {"head", AA_TRANSLATION_X, 0.0f, 0.05f}});
        }
        AddTvModels(240.0f);
        rig.Build();
        SetDefaultParent(nullptr);
        mainRoot = new CTransform("renderRootMain");
        showLayer = new CTransform("renderRootIndicator");
        CharacterSetup setup;
        setup.body = rig.body;
        rig.body = nullptr; // hers now
        setup.scope = CharacterRig::SCOPE;
        setup.setting = &setting;
        float x = -90.0f;
        for (const char* goods : {"milk", "conga", "senpuki"}) {
            nodeItems.push_back(new NodeItem(goods, FakeItem::GOODS, 2500, mainRoot, x += 30.0f));
            setup.items.push_back(nodeItems.back());
        }
        for (const char* accessory : {"nekomimi", "witchCap"}) {
            nodeItems.push_back(new NodeItem(accessory, FakeItem::ACCESSORY, 4000, mainRoot, x += 30.0f));
            setup.items.push_back(nodeItems.back());
        }
        setup.items.push_back(new FakeItem("clothDefault", FakeItem::CLOTH, 0, true));
        setup.items.push_back(new FakeItem("pajamaOrange", FakeItem::CLOTH, 2000, true));
        setup.items.push_back(new FakeItem("clothBlue", FakeItem::CLOTH, 3000, false));
        // The cap she started with, thrown away: never on the show.
        setup.items.push_back(new FakeItem("freeCap", FakeItem::ACCESSORY, 0, false));
        setup.items.push_back(new FakeItem("ending", FakeItem::ENDING, 0, false));
        vesko.reset(new CCharacter("vesko", setup));
        show = new CTvShowStage("vesko", showLayer, mainRoot, &setting, CharacterRig::SCOPE);
        show->SetHost(&host);
        vesko->SetShow(show);
        CBodyStats& s = vesko->GetStats();
        s.mny = 50000u;
        s.slp = 20.0f;
        s.app = 50.0f;
        vesko->GetBody()->SetRootPlacement(200.0f, 0.0f, 200.0f, 0.0f);
        // 18:00 to 20:00 at once.
        world.AdvanceClock(2.0f * 3600.0f / CWorld::DEFAULT_TIME_RATIO * 1000.0f);
    }
    ~Night() {
        vesko.reset();
        delete showLayer;
        delete mainRoot;
    }

    CharacterRig rig;
    ShowWindowSetting setting;
    RecordingShowHost host;
    CWorld world{"nightworld"};
    CTransform* mainRoot = nullptr;
    CTransform* showLayer = nullptr;
    std::vector<NodeItem*> nodeItems;
    CTvShowStage* show = nullptr;
    std::unique_ptr<CCharacter> vesko;
};

TEST(TvShowNight, SheCallsTheShowAndItSellsOrLetsGoEachNight) {
    // Nights that put a good, an accessory and a cloth on, each bought one
    // night and let go another.
    const unsigned seeds[] = {3, 10, 13, 28, 15, 8};
    std::set<std::string> kinds;
    for (unsigned n = 0; n < sizeof seeds / sizeof seeds[0]; ++n) {
        const bool buy = n % 2 == 0;
        SCOPED_TRACE("seed " + std::to_string(seeds[n]) + (buy ? ", bought" : ", let go"));
        Night night;
        SeedRand(seeds[n]);
        CCharacter& vesko = *night.vesko;
        int starts = 0, ends = 0, showHour = -1, showUpdates = 0;
        std::string presented;
        uint32_t moneyAtStart = 0, moneyAtEnd = 0;
        Vec3 standing;
        bool movedDuringShow = false, nodeOutOfPlace = false, wrongLayer = false;
        bool wasPresenting = false;

        // 20:00 to 08:00: twelve hours of world time at 120 × real time.
        const int updates = (int)(12.0f * 3600.0f / CWorld::DEFAULT_TIME_RATIO * 60.0f);
        for (int i = 0; i < updates; ++i) {
            night.world.AdvanceClock(FRAME_MS);
            bool click = false;
            // Her user clicks the panel a second into the show.
            if (buy && wasPresenting && showUpdates == 60) {
                night.host.PointAtPanel(true);
                click = true;
            } else {
                night.host.PointOffPanel(false);
            }
            vesko.Update(&night.setting, nullptr, nullptr, night.world, click, FRAME_MS);
            const bool presenting = night.show->IsPresenting();
            if (presenting && !wasPresenting) {
                ++starts;
                showHour = night.world.GetClock().hours;
                CItem* item = night.show->GetCurrentItem();
                presented = item ? item->GetName() : "";
                moneyAtStart = vesko.GetStats().mny;
                standing = vesko.GetPosition();
                showUpdates = 0;
            }
            if (presenting) {
                ++showUpdates;
                const Vec3 at = vesko.GetPosition();
                if (at.x != standing.x || at.z != standing.z)
                    movedDuringShow = true;
            }
            if (!presenting && wasPresenting) {
                ++ends;
                moneyAtEnd = vesko.GetStats().mny;
            }
            wasPresenting = presenting;
            // Each node is under its own parent, but the one on show.
            for (NodeItem* item : night.nodeItems) {
                CTransform* parent = item->Node()->GetParent();
                if (presenting && night.show->GetCurrentItem() == item) {
                    if (parent != night.showLayer)
                        wrongLayer = true;
                } else if (parent != night.mainRoot) {
                    nodeOutOfPlace = true;
                }
            }
        }

        EXPECT_EQ(starts, 1);
        EXPECT_EQ(ends, 1);
        EXPECT_GE(showHour, 21);
        EXPECT_EQ(night.host.posted, std::vector<unsigned>{SHOW_ENDED_MESSAGE});
        EXPECT_EQ(night.host.cursorRefreshes, 1);
        EXPECT_FALSE(movedDuringShow) << "she stands still while the show runs";
        EXPECT_FALSE(nodeOutOfPlace);
        EXPECT_FALSE(wrongLayer);
        CItem* item = vesko.GetItems().Find(presented);
        ASSERT_NE(item, nullptr) << "nothing was presented";
        kinds.insert(item->IsAccessory() ? "accessory" : item->IsCloth() ? "cloth" : "good");
        EXPECT_NE(presented, "freeCap");
        EXPECT_NE(presented, "ending");
        if (buy) {
            EXPECT_TRUE(item->IsOwned());
            EXPECT_EQ(moneyAtStart - moneyAtEnd, (uint32_t)item->GetPrice());
        } else {
            EXPECT_FALSE(item->IsOwned());
            EXPECT_EQ(moneyAtEnd, moneyAtStart);
        }
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"accessory", "cloth", "good"}));
}

} // namespace
