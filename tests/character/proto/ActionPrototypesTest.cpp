#include <gtest/gtest.h>

#include <map>
#include <set>

#include "character/act/ActCallback.h"
#include "character/act/ActMotion.h"
#include "character/act/ActMotionLinked.h"
#include "character/act/ActMotionMove.h"
#include "character/act/ActPlayer.h"
#include "character/item/GoodsItem.h"
#include "character/item/ItemRegistry.h"
#include "character/proto/ActionPrototypes.h"
#include "tests/character/support/CharacterRig.h"

namespace {

TEST(ActionPrototypesTest, TheTableHoldsEachNameOnceWithItsClassCounts) {
    const auto& table = ActionPrototypeTable();
    ASSERT_EQ(table.size(), 184u);
    std::set<std::string> names;
    std::map<ActionClass, int> classes;
    std::map<int, int> motionOrigins;
    for (const ActionPrototypeRow& row : table) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
        ++classes[row.actionClass];
        if (row.actionClass == AC_MOTION)
            ++motionOrigins[row.fixedOrigin];
        if (row.actionClass == AC_MOTION_LINKED || row.actionClass == AC_CALLBACK) {
            EXPECT_EQ(row.fixedOrigin, 1) << row.name;
        }
        if (row.actionClass == AC_MOTION_MOVE || row.actionClass == AC_WAIT || row.actionClass == AC_FADE_COLOR) {
            EXPECT_EQ(row.fixedOrigin, 0) << row.name;
        }
        bool motion =
            row.actionClass == AC_MOTION || row.actionClass == AC_MOTION_MOVE || row.actionClass == AC_MOTION_LINKED;
        EXPECT_EQ(row.animationSet != nullptr, motion) << row.name;
    }
    EXPECT_EQ(classes[AC_MOTION], 142);
    EXPECT_EQ(classes[AC_MOTION_MOVE], 8);
    EXPECT_EQ(classes[AC_MOTION_LINKED], 26);
    EXPECT_EQ(classes[AC_WAIT], 1);
    EXPECT_EQ(classes[AC_FADE_COLOR], 1);
    EXPECT_EQ(classes[AC_CALLBACK], 6);
    EXPECT_EQ(motionOrigins[0], 30);
    EXPECT_EQ(motionOrigins[1], 112);
    for (const char* name : {"stand", "walk", "sleep", "wait", "fadeColor", "changeAcce", "changeCloth", "roomOut",
                             "eaten", "zaplenu", "ending"})
        EXPECT_EQ(names.count(name), 1u) << name;
}

TEST(ActionPrototypesTest, SetsFollowTheNamingRuleAndItsExceptions) {
    struct Case {
        const char* action;
        const char* set;
    };
    const Case cases[] = {
        {"sleepOut05", "veskoSleepOut05"},
        {"milkHandle00", "veskoMilkHandle00"},
        {"stand", "veskoStand01"},
        {"walkSleep00", "veskoWalk03"},
        {"sleepInSleep00", "veskoSleepIn01"},
        {"tvBroken00", "veskoTVBroken00"},
        {"monkeySleep00", "veskoMonkey02"},
        {"washHands00", "veskoWashHand00"},
        {"domohornHandle00", "veskoDomohornWinkleHandle00"},
        {"bodyVibrator00", "veskoBeltVibrator00"},
        {"bodyVibratorOn00", "veskoBeltVibratorOn00"},
        {"osageBexla00", "veskoOsageBexla00"},
        {"kotatsu08", "veskoKotatsu08"},
    };
    for (const Case& c : cases) {
        const ActionPrototypeRow* row = FindActionPrototypeRow(c.action);
        ASSERT_NE(row, nullptr) << c.action;
        EXPECT_STREQ(row->animationSet, c.set) << c.action;
    }
    EXPECT_EQ(FindActionPrototypeRow("dance"), nullptr);

    struct Walk {
        const char* action;
        float speed;
    };
    for (const Walk& w : {Walk{"walk", 0.936292f}, Walk{"walkSleep00", 0.4355638f}, Walk{"bodyBlade03", 1.5f},
                          Walk{"segway05", 4.0f}, Walk{"osageBexla00", 0.5f}}) {
        const ActionPrototypeRow* row = FindActionPrototypeRow(w.action);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->actionClass, AC_MOTION_MOVE) << w.action;
        EXPECT_FLOAT_EQ(row->speed, w.speed) << w.action;
    }
}

TEST(ActionPrototypesTest, LinkedRowsPutPropsBackAtTheRightMoment) {
    struct Case {
        const char* action;
        LinkSource parent;
        const char* parentName;
        const char* item;
        unsigned char attachAtEnd;
    };
    const Case cases[] = {
        {"houchouRelease00", LINK_ITEM_RESTING, "houchou", "houchou", 1},
        {"otamaRelease00", LINK_ITEM_RESTING, "otama", "otama", 1},
        {"flypanBRelease00", LINK_ITEM_RESTING, "flypanB", "flypanB", 1},
        {"milkRelease00", LINK_ITEM_RESTING, "milk", "milk", 0},
        {"iceCreamRelease00", LINK_ITEM_RESTING, "iceCream", "iceCream", 0},
        {"segwayOn00", LINK_NODE, "veskoHandlingC", "segway", 1},
        {"lightSaberHandle00", LINK_NODE, "veskoHandlingL", "lightSaber", 1},
        {"domohornHandle00", LINK_NODE, "veskoHandlingR", "domohornWinkle", 1},
    };
    for (const Case& c : cases) {
        const ActionPrototypeRow* row = FindActionPrototypeRow(c.action);
        ASSERT_NE(row, nullptr) << c.action;
        EXPECT_EQ(row->actionClass, AC_MOTION_LINKED);
        EXPECT_EQ(row->parent.source, c.parent) << c.action;
        EXPECT_STREQ(row->parent.name, c.parentName) << c.action;
        EXPECT_EQ(row->moved.source, LINK_ITEM_CARRIED) << c.action;
        EXPECT_STREQ(row->moved.name, c.item) << c.action;
        EXPECT_EQ(row->attachAtEnd, c.attachAtEnd) << c.action;
    }
    const ActionPrototypeRow* k8 = FindActionPrototypeRow("kotatsu08");
    EXPECT_STREQ(k8->parent.name, "vesko_mdl_root");
    EXPECT_STREQ(k8->moved.name, "kotatsuBody");
    EXPECT_EQ(k8->attachAtEnd, 1);
    EXPECT_EQ(FindActionPrototypeRow("kotatsu09")->attachAtEnd, 0);
}

struct NoCharacter : IActCallbackTarget {
    void ChangeAccessory(const std::vector<std::string>&) override { ++calls; }
    void ChangeCloth(const std::vector<std::string>&) override { ++calls; }
    void RoomOut(const std::vector<std::string>&) override { ++calls; }
    void Eaten(const std::vector<std::string>&) override { ++calls; }
    void OnShowCallback(const std::vector<std::string>&) override { ++calls; }
    void OnEndingCallback(const std::vector<std::string>& words) override { ending = words; }
    int calls = 0;
    std::vector<std::string> ending;
};

TEST(ActionPrototypesTest, RegistrationBuildsEveryRowOnTheBody) {
    CharacterRig rig;
    rig.AddSet("veskoWalk04", 40.0f, {});
    rig.AddSet("veskoMilkRelease00", 12.0f, {});
    auto* milkRoot = new CTransform("milkRoot");
    milkRoot->AddChild(new CTransform("milkHandling"));
    milkRoot->AddChild(new CTransform("milkInit"));
    rig.Build();
    CItemRegistry items("vesko_items");
    items.Add(new CGoodsItem("milk", ItemContext{}, "milk", "tvMilk", "milkInit", CharacterRig::SCOPE, 1, 300));

    NoCharacter character;
    CActPlayer player("vesko");
    PrototypeContext context;
    context.owner = rig.body;
    context.scope = CharacterRig::SCOPE;
    context.items = &items;
    context.callbacks = &character;
    EXPECT_EQ(RegisterActionPrototypes(player, context), 184);
    EXPECT_EQ(player.GetActions().size(), 184u);

    std::map<std::string, int> classNames;
    for (const auto& entry : player.GetActions()) {
        ++classNames[entry.second->GetClassName()];
        EXPECT_EQ(entry.second->GetOwner(), rig.body) << entry.first;
    }
    EXPECT_EQ(classNames["CActMotion"], 142 + 26);
    EXPECT_EQ(classNames["CActMotionMove"], 8);
    EXPECT_EQ(classNames["CActWait"], 1);
    EXPECT_EQ(classNames["CActFadeColor"], 1);
    EXPECT_EQ(classNames["CActCallback"], 6);

    auto* walk = dynamic_cast<CActMotionMove*>(player.FindAction("walk"));
    ASSERT_NE(walk, nullptr);
    EXPECT_FLOAT_EQ(walk->GetSpeed(), 0.936292f);
    EXPECT_EQ(walk->GetFrameCount(), 40);
    EXPECT_NE(walk->GetAnimation(), nullptr);

    auto* release = dynamic_cast<CActMotionLinked*>(player.FindAction("milkRelease00"));
    ASSERT_NE(release, nullptr);
    ASSERT_NE(release->GetParentNode(), nullptr);
    EXPECT_EQ(release->GetParentNode()->GetName(), "milkInit::the");
    ASSERT_NE(release->GetMovedNode(), nullptr);
    EXPECT_EQ(release->GetMovedNode()->GetName(), "milkHandling::the");
    EXPECT_FALSE(release->GetAttachAtEnd());
    auto* k8 = dynamic_cast<CActMotionLinked*>(player.FindAction("kotatsu08"));
    ASSERT_NE(k8->GetParentNode(), nullptr);
    EXPECT_EQ(k8->GetParentNode(), rig.BodyRoot());

    // The ending callback reaches the character with its words; a row of a
    // second registration is refused, not doubled.
    EXPECT_TRUE(player.Request(CActRequest("ending", "now")));
    player.Update(16.0f);
    EXPECT_EQ(character.ending, std::vector<std::string>{"now"});
    EXPECT_EQ(character.calls, 0);
    EXPECT_EQ(RegisterActionPrototypes(player, context), 0);
    EXPECT_EQ(player.GetActions().size(), 184u);
}

} // namespace
